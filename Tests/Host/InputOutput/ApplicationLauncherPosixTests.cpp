#include "ApplicationLauncher.hpp"
#include "HostTestSupport.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

using HostTestSupport::RecordingMonitor;
using HostTestSupport::TempFolder;
using IO::Process::ApplicationLauncher;
using IO::Process::LaunchException;
using IO::Process::LaunchMode;
using IO::Process::LaunchOption;

namespace {

IO::Location LocationOf(const std::filesystem::path& path) {
    return IO::Location(GS::UniString(path.string().c_str(), CC_UTF8));
}

GS::Array<GS::UniString> ArgumentsOf(const std::vector<std::string>& texts) {
    GS::Array<GS::UniString> arguments;
    for (const std::string& text : texts) {
        arguments.Push(GS::UniString(text.c_str(), CC_UTF8));
    }
    return arguments;
}

GSErrCode Launch(const std::filesystem::path& executable, const std::vector<std::string>& arguments) {
    return ApplicationLauncher::Instance().Launch(LocationOf(executable), ArgumentsOf(arguments),
                                                  LaunchMode::SeparateProcess, LaunchOption::DoNotWait);
}

// Waits, by polling, for something the started probe does; gives up after a generous bound so that a
// broken launcher fails the test instead of hanging it.
template <typename Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 3000; ++i) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// What the probe wrote: its process id and the arguments it received.
struct ProbeRecord {
    pid_t pid = 0;
    std::vector<std::string> arguments;
};

ProbeRecord ReadRecord(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ProbeRecord record;
    const std::size_t lineEnd = bytes.find('\n');
    record.pid = static_cast<pid_t>(std::stol(bytes.substr(0, lineEnd)));
    std::size_t start = lineEnd + 1;
    for (std::size_t end = bytes.find('\0', start); end != std::string::npos; end = bytes.find('\0', start)) {
        record.arguments.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return record;
}

// The one-letter state in /proc/PID/stat ('R', 'S', 'Z', ...), or 0 once the process is gone.
char ProcessState(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t nameEnd = stat.rfind(')');
    return nameEnd == std::string::npos || nameEnd + 2 >= stat.size() ? '\0' : stat[nameEnd + 2];
}

// Each test gets its own record and hold files, named to the started probe through the environment
// that it inherits.
class ApplicationLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("LAUNCH_PROBE_RECORD", RecordFile().c_str(), 1);
        ::unsetenv("LAUNCH_PROBE_HOLD");
    }
    void TearDown() override {
        std::ofstream(HoldFile()) << "released";
        ::unsetenv("LAUNCH_PROBE_RECORD");
        ::unsetenv("LAUNCH_PROBE_HOLD");
    }

    std::filesystem::path RecordFile() const { return temp.Path() / "record"; }
    std::filesystem::path HoldFile() const { return temp.Path() / "hold"; }

    ProbeRecord AwaitRecord() const {
        EXPECT_TRUE(Eventually([this] { return std::filesystem::exists(RecordFile()); }))
            << "the probe never ran";
        return std::filesystem::exists(RecordFile()) ? ReadRecord(RecordFile()) : ProbeRecord{};
    }

    TempFolder temp;
};

} // namespace

TEST_F(ApplicationLauncherTest, EachArgumentReachesTheProgramExactlyAsGiven) {
    const std::vector<std::string> arguments = {
        "/home/VELD User/Export Folder/ACToVELDEngineer.xlsx",
        "say \"hi\" and 'bye'",
        "100% %PATH% $HOME `date` $(id) ; | & > out *",
        "back\\slash\\\\ and trailing\\",
        "",
        "tab\tand\nnewline",
        "Übersicht Ærø ✓ 😀",
        std::string(240, 'x') + "/long",
    };
    ASSERT_EQ(Launch(LAUNCH_PROBE_PATH, arguments), NoError);
    EXPECT_EQ(AwaitRecord().arguments, arguments);
}

TEST_F(ApplicationLauncherTest, NoArgumentsMeansNone) {
    ASSERT_EQ(Launch(LAUNCH_PROBE_PATH, {}), NoError);
    EXPECT_TRUE(AwaitRecord().arguments.empty());
}

TEST_F(ApplicationLauncherTest, AProgramInAFolderWithAHardLongNameStarts) {
    const std::filesystem::path folder =
        temp.Path() / "VELD \"Engineer\" 100% back\\slash Ünï ✓" / std::string(200, 'n');
    std::filesystem::create_directories(folder);
    const std::filesystem::path program = folder / "Veld Engineer ✓.exe";
    std::filesystem::copy_file(LAUNCH_PROBE_PATH, program);
    ASSERT_GT(program.string().size(), 200u);

    ASSERT_EQ(Launch(program, {"C:\\VELD Export\\"}), NoError);
    EXPECT_EQ(AwaitRecord().arguments, std::vector<std::string>{"C:\\VELD Export\\"});
}

TEST_F(ApplicationLauncherTest, ReturnsWhileTheProgramRunsAndLeavesNoZombieWhenItEnds) {
    ::setenv("LAUNCH_PROBE_HOLD", HoldFile().c_str(), 1);
    ASSERT_EQ(Launch(LAUNCH_PROBE_PATH, {"book.xlsx"}), NoError);
    // The probe cannot end before the hold file exists, which only happens below.
    const ProbeRecord record = AwaitRecord();
    ASSERT_GT(record.pid, 0);
    const char running = ProcessState(record.pid);
    EXPECT_NE(running, '\0');
    EXPECT_NE(running, 'Z');

    std::ofstream(HoldFile()) << "released";
    EXPECT_TRUE(Eventually([&] { return ProcessState(record.pid) == '\0'; }))
        << "the finished program is still there in state " << ProcessState(record.pid);
}

TEST_F(ApplicationLauncherTest, AStartThatFailsAnswersACode) {
    EXPECT_EQ(Launch(temp.Path() / "VeldEngineer.exe", {"book.xlsx"}), GSErr::NotFound);

    temp.WriteFile("NotAProgram.exe", "plain text");
    std::filesystem::permissions(temp.Path() / "NotAProgram.exe",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(Launch(temp.Path() / "NotAProgram.exe", {}), GSErr::IOError);
    EXPECT_EQ(Launch(temp.Path(), {}), GSErr::IOError);
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
}

TEST_F(ApplicationLauncherTest, OnlyASeparateProcessThatIsNotWaitedForIsOffered) {
    ApplicationLauncher& launcher = ApplicationLauncher::Instance();
    EXPECT_EQ(launcher.Launch(LocationOf(LAUNCH_PROBE_PATH), {}, static_cast<LaunchMode>(2),
                              LaunchOption::DoNotWait),
              GSErr::BadParameter);
    EXPECT_EQ(launcher.Launch(LocationOf(LAUNCH_PROBE_PATH), {}, LaunchMode::SeparateProcess,
                              static_cast<LaunchOption>(0)),
              GSErr::BadParameter);
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
}

TEST_F(ApplicationLauncherTest, AnArgumentHoldingNulCannotBePassedAndNothingStarts) {
    GS::Array<GS::UniString> arguments;
    arguments.Push(GS::UniString(u"a\0b", 3));
    EXPECT_EQ(ApplicationLauncher::Instance().Launch(LocationOf(LAUNCH_PROBE_PATH), arguments,
                                                     LaunchMode::SeparateProcess, LaunchOption::DoNotWait),
              GSErr::BadParameter);
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
}

TEST_F(ApplicationLauncherTest, AnEmptyOrIllegalLocationThrows) {
    ApplicationLauncher& launcher = ApplicationLauncher::Instance();
    EXPECT_THROW(launcher.Launch(IO::Location(), ArgumentsOf({"book.xlsx"}), LaunchMode::SeparateProcess,
                                 LaunchOption::DoNotWait),
                 LaunchException);
    const IO::Location tooLong = LocationOf(temp.Path() / std::string(300, 'a'));
    EXPECT_THROW(launcher.Launch(tooLong, {}, LaunchMode::SeparateProcess, LaunchOption::DoNotWait),
                 std::exception);
}

TEST_F(ApplicationLauncherTest, IsReportedAndTheMonitorCanMakeItFailOrThrow) {
    RecordingMonitor monitor;
    constexpr const char* operation = "IO::Process::ApplicationLauncher::Launch";
    monitor.failures[operation] = GSErr::IOError;
    EXPECT_EQ(Launch(LAUNCH_PROBE_PATH, {"a b", "\"q\""}), GSErr::IOError);
    monitor.failures[operation] = IO::Process::ThrowRequested;
    EXPECT_THROW(Launch(LAUNCH_PROBE_PATH, {}), LaunchException);
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));

    ASSERT_EQ(monitor.calls.size(), 2u);
    EXPECT_EQ(monitor.calls[0].operation, operation);
    EXPECT_EQ(monitor.calls[0].details, std::string("executable=\"") + LAUNCH_PROBE_PATH +
                                            "\" arguments=[\"a b\",\"\\\"q\\\"\"] mode=1 option=1");
    ASSERT_EQ(monitor.results.size(), 2u);
    EXPECT_EQ(monitor.results[0].details, "code=" + std::to_string(GSErr::IOError));
    EXPECT_EQ(monitor.results[1].details.rfind("exception=", 0), 0u);
}
