#pragma once

// What the launch probe does once its platform's entry point has its arguments in UTF-8: it writes
// its process id and the arguments (argv[1] onwards, each followed by a NUL byte) to the file named
// by LAUNCH_PROBE_RECORD, renaming it into place so that a reader never sees half a record. When
// LAUNCH_PROBE_HOLD names a file, it then stays alive until that file exists, so that a test
// decides when it ends.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace LaunchProbe {

inline int RecordAndHold(unsigned long processId, const std::vector<std::string>& arguments) {
    const char* record = std::getenv("LAUNCH_PROBE_RECORD");
    if (record == nullptr) {
        return 2;
    }
    const std::filesystem::path target(record);
    std::filesystem::path partial = target;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << processId << '\n';
        for (const std::string& argument : arguments) {
            out << argument << '\0';
        }
    }
    std::filesystem::rename(partial, target);

    if (const char* hold = std::getenv("LAUNCH_PROBE_HOLD")) {
        // Bounded, so that a failed test cannot leave it running for long.
        for (int i = 0; i < 12000 && !std::filesystem::exists(hold); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return 0;
}

} // namespace LaunchProbe
