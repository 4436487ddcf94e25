#include "ApplicationLauncher.hpp"
#include "LauncherTestFixture.hpp"
#include "StartedProgramOutput.hpp"

#include <poll.h>
#include <unistd.h>

namespace {

namespace Output = IO::Process::StartedProgramOutput;

// Everything that arrives until every writer has closed the pipe; a bound keeps a broken capture from
// hanging the test (it then fails on the text).
std::string ReadToEnd(int descriptor) {
    std::string text;
    for (int waits = 0; waits < 100; ++waits) {
        pollfd wait{descriptor, POLLIN, 0};
        if (::poll(&wait, 1, 100) <= 0) {
            continue;
        }
        char bytes[256];
        const ssize_t count = ::read(descriptor, bytes, sizeof bytes);
        if (count == 0) {
            break;
        }
        if (count > 0) {
            text.append(bytes, static_cast<std::size_t>(count));
        }
    }
    return text;
}

struct CaptureCase {
    const char* name;
    std::vector<std::string> script; // the programs' shell commands, started in turn
    std::string expected;
};

} // namespace

// Standard output and error both come through the one pipe, several programs' text too, and the reader
// sees the end of it once the programs have ended, even when they write after the host stopped
// capturing.
TEST(StartedProgramOutputTest, ProgramsWriteIntoTheCapturePipeUntilTheyEnd) {
    const std::vector<CaptureCase> cases = {
        {"standard output and error", {"printf 'out\\n'; printf 'err' >&2"}, "out\nerr"},
        {"two programs", {"printf 'first\\n'", "exec 1>&-; exec 2>&-; : nothing"}, "first\n"},
        {"a line without its end", {"printf 'no line end'"}, "no line end"},
        {"nothing at all", {"true"}, ""},
    };
    for (const CaptureCase& test : cases) {
        const int reader = Output::Capture();
        ASSERT_GE(reader, 0) << test.name;
        EXPECT_EQ(Output::Capture(), -1) << test.name << ": a second capture took the pipe over";
        for (const std::string& command : test.script) {
            EXPECT_EQ(LauncherTest::Launch("/bin/sh", {"-c", command}), NoError) << test.name;
        }
        Output::Release();
        EXPECT_EQ(ReadToEnd(reader), test.expected) << test.name;
        ::close(reader);
    }
}

using StartedProgramOutputFixture = LauncherTest::Fixture;

// Released, the programs write where the host does again: a program started after the release, still
// running, does not hold the old pipe open, so its reader sees the end at once.
TEST_F(StartedProgramOutputFixture, AProgramStartedAfterTheReleaseDoesNotGetThePipe) {
    ProbeProcess::SetEnvironment("LAUNCH_PROBE_HOLD", LauncherTest::Utf8Of(HoldFile()));
    const int reader = Output::Capture();
    ASSERT_GE(reader, 0);
    Output::Release();
    ASSERT_EQ(LauncherTest::Launch(Probe(), {"held"}), NoError);
    const LauncherTest::ProbeRecord record = AwaitRecord();
    EXPECT_EQ(record.arguments, std::vector<std::string>{"held"});
    pollfd wait{reader, POLLIN, 0};
    EXPECT_EQ(::poll(&wait, 1, 0), 1);
    EXPECT_NE(wait.revents & POLLHUP, 0);
    ::close(reader);
    // Ended here, while its hold file is still there to be seen.
    std::ofstream(HoldFile()) << "released";
    EXPECT_TRUE(LauncherTest::Eventually(
        [&] { return ProbeProcess::StateOf(record.processId) == ProbeProcess::State::Gone; }));
}
