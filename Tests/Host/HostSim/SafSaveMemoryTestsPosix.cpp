#include "Services/SafSave.hpp"

#include "FrameBuilding.hpp"
#include "ModelJson.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
// host goes on. A child process gets a tight address space limit (12 MB above what it holds) and
// saves a model whose reading alone needs several times more (the workbook itself is streamed and
// small).
TEST(SafSaveMemory, RunningOutOfMemoryFailsTheSaveWithItsOwnCodeInsteadOfEndingTheHost) {
    if (!AddressLimitUsable) {
        GTEST_SKIP() << "an address space limit cannot be used under the address sanitizer";
    }
    const std::filesystem::path target =
        std::filesystem::temp_directory_path() / ("hostsim-oom-" + std::to_string(::getpid()) + ".xlsx");
    const nlohmann::ordered_json model = Building::ModelToJson(Building::GenerateBuildingWithMembers(20000));
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{AddressSpaceBytes() + (12u << 20), AddressSpaceBytes() + (12u << 20)};
        ::setrlimit(RLIMIT_AS, &limit);
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
