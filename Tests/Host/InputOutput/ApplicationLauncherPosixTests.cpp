#include "LauncherTestFixture.hpp"

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

using LauncherTest::Launch;
using ApplicationLauncherPosixTest = LauncherTest::Fixture;

// Quotes and backslashes are ordinary name characters on POSIX; no shell ever sees the path.
TEST_F(ApplicationLauncherPosixTest, AProgramWhoseFolderHoldsQuotesAndBackslashesStarts) {
    const std::filesystem::path folder = temp.Path() / "VELD \"Engineer\" back\\slash $HOME `x`";
    std::filesystem::create_directories(folder);
    const std::filesystem::path program = folder / "it's \"Veld\".exe";
    std::filesystem::copy_file(Probe(), program);

    ASSERT_EQ(Launch(program, {"/tmp/ACToVELDEngineer.xlsx"}), NoError);
    EXPECT_EQ(AwaitRecord().arguments, std::vector<std::string>{"/tmp/ACToVELDEngineer.xlsx"});
}

TEST_F(ApplicationLauncherPosixTest, AFileWithoutTheExecuteBitIsNotStartedEvenForAnAdministrator) {
    std::filesystem::copy_file(Probe(), temp.Path() / "VeldEngineer.exe");
    std::filesystem::permissions(temp.Path() / "VeldEngineer.exe",
                                 std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec |
                                     std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::remove);
    EXPECT_EQ(Launch(temp.Path() / "VeldEngineer.exe", {}), GSErr::IOError);
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
}

// A host that forks after a launch: the copy has the launcher's state but not its reaping thread, and
// must still be able to exit normally, running the libraries' teardown, without waiting for that
// thread or touching the parent's children.
TEST_F(ApplicationLauncherPosixTest, AForkedCopyOfTheHostExitsNormallyAfterALaunch) {
    ProbeProcess::SetEnvironment("LAUNCH_PROBE_HOLD", LauncherTest::Utf8Of(HoldFile()));
    ASSERT_EQ(Launch(Probe(), {"book.xlsx"}), NoError);
    const LauncherTest::ProbeRecord record = AwaitRecord();
    ASSERT_NE(record.processId, 0u);

    const pid_t copy = ::fork();
    ASSERT_GE(copy, 0);
    if (copy == 0) {
        std::exit(7); // runs the static destructors of every library, as a normal exit does
    }
    int status = 0;
    const bool ended = LauncherTest::Eventually([&] { return ::waitpid(copy, &status, WNOHANG) == copy; });
    if (!ended) {
        ::kill(copy, SIGKILL);
        ::waitpid(copy, &status, 0);
    }
    EXPECT_TRUE(ended) << "the forked copy hung in its exit";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7) << "status " << status;

    // The parent's reaping goes on unharmed.
    EXPECT_EQ(ProbeProcess::StateOf(record.processId), ProbeProcess::State::Running);
    std::ofstream(HoldFile()) << "released";
    EXPECT_TRUE(LauncherTest::Eventually(
        [&] { return ProbeProcess::StateOf(record.processId) == ProbeProcess::State::Gone; }));
}
