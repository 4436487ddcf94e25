#include "Services/SafSave.hpp"

#include "FrameBuilding.hpp"
#include "ModelJson.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace HostSim;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressLimitUsable = false; // the sanitizer reserves terabytes of address space
#else
constexpr bool AddressLimitUsable = true;
#endif

// The address space this process uses now, from /proc/self/statm (pages).
std::uint64_t AddressSpaceBytes() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

// Memory running out while the workbook is made is the save's own failure: nothing written, the
// host goes on. A child process is left 4 MB of memory and saves a model whose reading alone needs
// several times more (the workbook itself goes straight to its file).
TEST(SafSaveMemory, RunningOutOfMemoryFailsTheSaveWithItsOwnCodeInsteadOfEndingTheHost) {
    if (!AddressLimitUsable) {
        GTEST_SKIP() << "an address space limit cannot be used under the address sanitizer";
    }
    const std::filesystem::path target =
        std::filesystem::temp_directory_path() / ("hostsim-oom-" + std::to_string(::getpid()) + ".xlsx");
    const nlohmann::ordered_json model = Building::ModelToJson(Building::GenerateBuildingWithMembers(20000));
    const pid_t child = ::fork();
    if (child == 0) {
        // Memory freed earlier stays inside the address space that the limit counts, and would be
        // used again first: ballast takes all of it up to the limit, then gives 4 MB back.
        std::vector<std::unique_ptr<char[]>> ballast;
        ballast.reserve(1u << 20);
        const rlimit limit{AddressSpaceBytes() + (4u << 20), AddressSpaceBytes() + (4u << 20)};
        ::setrlimit(RLIMIT_AS, &limit);
        try {
            while (ballast.size() < ballast.capacity()) {
                ballast.emplace_back(new char[1024]);
            }
        } catch (const std::bad_alloc&) {
        }
        ballast.resize(ballast.size() > 4096 ? ballast.size() - 4096 : 0);
        const SafSaveOutcome outcome = SaveSafWorkbook(model, SAF::DefaultTranslators(),
                                                       GS::UniString("Structural Analysis (SI)"), target);
        ::_exit(outcome.code == SaveOutOfMemory ? 0 : outcome.code == NoError ? 1 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the saving process ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the workbook fitted after all; 2: another failure";
    EXPECT_FALSE(std::filesystem::exists(target));
}

} // namespace
