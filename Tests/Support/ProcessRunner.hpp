#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace Scenarios {

struct ProcessResult {
    int exitCode = -1; // -1 when the process could not start or did not exit normally
    std::string output;
    std::string errors;
};

// Runs `arguments` (the program first) with no shell in between, waits for it, and collects its
// standard output and error through files in `scratchFolder`. `workingFolder` empty: inherit ours.
ProcessResult RunProcess(const std::vector<std::string>& arguments,
                         const std::filesystem::path& scratchFolder,
                         const std::filesystem::path& workingFolder = {});

// `path` as a program of this machine's own kind reads it. Under Wine, programs that are not Windows
// programs (the openpyxl witness) see the Unix file system, so a Windows path is turned into the
// Unix path Wine maps it to; everywhere else it is the path itself.
std::string NativeProgramPath(const std::filesystem::path& path);

} // namespace Scenarios
