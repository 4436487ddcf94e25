#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace AnalysisApp {

// How the program was started: every argument after the program name, and the working folder.
struct Launch {
    std::vector<std::string> arguments;
    std::string workingFolder;
};

// One JSON line: {"argv":[...],"cwd":"..."}. Bytes that are not UTF-8 become U+FFFD rather than
// losing the line.
std::string FormatLaunch(const Launch& launch);

// Appends the line to VeldEngineer.launches.jsonl in `folder`. False when it cannot be written.
bool AppendLaunch(const std::filesystem::path& folder, const Launch& launch);

constexpr const char* LaunchLogName = "VeldEngineer.launches.jsonl";

} // namespace AnalysisApp
