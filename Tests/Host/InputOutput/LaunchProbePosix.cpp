// A program for the launcher tests to start. It writes its process id and its arguments (argv[1]
// onwards, each followed by a NUL byte) to the file named by LAUNCH_PROBE_RECORD, renaming it into
// place so that a reader never sees half a record. When LAUNCH_PROBE_HOLD names a file, it then
// stays alive until that file exists, so a test decides when it ends.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    const char* record = std::getenv("LAUNCH_PROBE_RECORD");
    if (record == nullptr) {
        return 2;
    }
    const std::string partial = std::string(record) + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << ::getpid() << '\n';
        for (int i = 1; i < argc; ++i) {
            out << argv[i] << '\0';
        }
    }
    std::filesystem::rename(partial, record);

    if (const char* hold = std::getenv("LAUNCH_PROBE_HOLD")) {
        // Bounded, so that a failed test cannot leave it running for long.
        for (int i = 0; i < 12000 && !std::filesystem::exists(hold); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return 0;
}
