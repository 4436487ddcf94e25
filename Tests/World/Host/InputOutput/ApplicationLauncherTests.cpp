#include "CallDetails.hpp"
#include "LauncherTestFixture.hpp"

using HostTestSupport::RecordingMonitor;
using IO::Process::ApplicationLauncher;
using IO::Process::LaunchException;
using IO::Process::LaunchMode;
using IO::Process::LaunchOption;
using LauncherTest::ArgumentsOf;
using LauncherTest::Launch;
using LauncherTest::LocationOf;
using ApplicationLauncherTest = LauncherTest::Fixture;

TEST_F(ApplicationLauncherTest, EachArgumentReachesTheProgramExactlyAsGiven) {
    const std::vector<std::string> arguments = {
        "C:\\Users\\VELD User\\Export Folder\\ACToVELDEngineer.xlsx",
        "say \"hi\" and 'bye'",
        "100% %PATH% $HOME `date` $(id) ; | & ^ > out *",
        "back\\slash\\\\ and trailing\\",
        "quote after backslashes\\\\\"",
        "",
        "tab\tand\nnewline",
        "Übersicht Ærø ✓ 😀",
        std::string(240, 'x') + "/long",
    };
    ASSERT_EQ(Launch(Probe(), arguments), NoError);
    EXPECT_EQ(AwaitRecord().arguments, arguments);
}

TEST_F(ApplicationLauncherTest, NoArgumentsMeansNone) {
    ASSERT_EQ(Launch(Probe(), {}), NoError);
    EXPECT_TRUE(AwaitRecord().arguments.empty());
}

TEST_F(ApplicationLauncherTest, AProgramInAFolderWithASpacedNonAsciiLongNameStarts) {
    const std::filesystem::path named =
        temp.Path() / LauncherTest::PathFromUtf8("VELD Engineer (x86) 100% Ünï ✓ 'v2'");
    const std::filesystem::path programName = LauncherTest::PathFromUtf8("Veld Engineer ✓.exe");
    // Over 200 units, yet within the 259 that an unprefixed Windows path may have.
    const std::size_t used = named.u16string().size() + programName.u16string().size() + 2;
    ASSERT_LT(used, 220u) << "the temporary folder's path is too long for this test";
    const std::filesystem::path folder = named / std::string(230 - used, 'n');
    std::filesystem::create_directories(folder);
    const std::filesystem::path program = folder / programName;
    std::filesystem::copy_file(Probe(), program);
    ASSERT_GT(program.u16string().size(), 200u);

    ASSERT_EQ(Launch(program, {"C:\\VELD Export\\"}), NoError);
    EXPECT_EQ(AwaitRecord().arguments, std::vector<std::string>{"C:\\VELD Export\\"});
}

TEST_F(ApplicationLauncherTest, ReturnsWhileTheProgramRunsAndLeavesNothingBehindWhenItEnds) {
    ProbeProcess::SetEnvironment("LAUNCH_PROBE_HOLD", LauncherTest::Utf8Of(HoldFile()));
    ASSERT_EQ(Launch(Probe(), {"book.xlsx"}), NoError);
    // The probe cannot end before the hold file exists, and that is made only below.
    const LauncherTest::ProbeRecord record = AwaitRecord();
    ASSERT_NE(record.processId, 0u);
    EXPECT_EQ(ProbeProcess::StateOf(record.processId), ProbeProcess::State::Running);

    std::ofstream(HoldFile()) << "released";
    EXPECT_TRUE(LauncherTest::Eventually([&] {
        return ProbeProcess::StateOf(record.processId) == ProbeProcess::State::Gone;
    })) << "the finished program was never reaped";
}

TEST_F(ApplicationLauncherTest, AStartThatFailsAnswersACode) {
    EXPECT_EQ(Launch(temp.Path() / "VeldEngineer.exe", {"book.xlsx"}), GSErr::NotFound);
    EXPECT_EQ(Launch(temp.Path() / "missing folder" / "VeldEngineer.exe", {}), GSErr::NotFound);
    temp.WriteFile("NotAProgram.exe", "plain text, and no execute permission");
    EXPECT_EQ(Launch(temp.Path() / "NotAProgram.exe", {}), GSErr::IOError);
    EXPECT_EQ(Launch(temp.Path(), {}), GSErr::IOError);
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
}

TEST_F(ApplicationLauncherTest, OnlyASeparateProcessThatIsNotWaitedForIsOffered) {
    ApplicationLauncher& launcher = ApplicationLauncher::Instance();
    EXPECT_EQ(launcher.Launch(LocationOf(Probe()), {}, static_cast<LaunchMode>(2), LaunchOption::DoNotWait),
              GSErr::BadParameter);
    EXPECT_EQ(
        launcher.Launch(LocationOf(Probe()), {}, LaunchMode::SeparateProcess, static_cast<LaunchOption>(0)),
        GSErr::BadParameter);
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
}

TEST_F(ApplicationLauncherTest, AnArgumentHoldingNulCannotBePassedAndNothingStarts) {
    GS::Array<GS::UniString> arguments;
    arguments.Push(GS::UniString(u"a\0b", 3));
    EXPECT_EQ(ApplicationLauncher::Instance().Launch(LocationOf(Probe()), arguments,
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
    EXPECT_EQ(Launch(Probe(), {"a b", "\"q\""}), GSErr::IOError);
    monitor.failures[operation] = IO::Process::ThrowRequested;
    EXPECT_THROW(Launch(Probe(), {}), LaunchException);
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));

    ASSERT_EQ(monitor.calls.size(), 2u);
    EXPECT_EQ(monitor.calls[0].operation, operation);
    GS::UniString probePath;
    LocationOf(Probe()).ToPath(&probePath);
    EXPECT_EQ(monitor.calls[0].details, "executable=" + GS::CallDetails::Quote(probePath.ToUTF8().Get()) +
                                            " arguments=[\"a b\",\"\\\"q\\\"\"] mode=1 option=1");
    ASSERT_EQ(monitor.results.size(), 2u);
    EXPECT_EQ(monitor.results[0].details, "code=" + std::to_string(GSErr::IOError));
    EXPECT_EQ(monitor.results[1].details.rfind("exception=", 0), 0u);
}

// Each started program is reaped when it ends, whichever ends first, while the others still run.
TEST_F(ApplicationLauncherTest, ProgramsEndingInAnyOrderAreEachReapedWhenTheyEnd) {
    const auto startHeld = [&](const std::string& name) {
        ProbeProcess::SetEnvironment("LAUNCH_PROBE_RECORD",
                                     LauncherTest::Utf8Of(temp.Path() / (name + ".record")));
        ProbeProcess::SetEnvironment("LAUNCH_PROBE_HOLD",
                                     LauncherTest::Utf8Of(temp.Path() / (name + ".hold")));
        EXPECT_EQ(Launch(Probe(), {name}), NoError);
    };
    const auto processOf = [&](const std::string& name) {
        const std::filesystem::path record = temp.Path() / (name + ".record");
        EXPECT_TRUE(LauncherTest::Eventually([&] { return std::filesystem::exists(record); })) << name;
        return std::filesystem::exists(record) ? LauncherTest::ReadRecord(record).processId : 0ul;
    };
    const auto release = [&](const std::string& name) {
        std::ofstream(temp.Path() / (name + ".hold")) << "go";
    };
    const auto gone = [](unsigned long process) {
        return LauncherTest::Eventually(
            [&] { return ProbeProcess::StateOf(process) == ProbeProcess::State::Gone; });
    };

    startHeld("first");
    startHeld("second");
    startHeld("third");
    const unsigned long first = processOf("first");
    const unsigned long second = processOf("second");
    const unsigned long third = processOf("third");
    ASSERT_TRUE(first != 0 && second != 0 && third != 0);

    release("second");
    EXPECT_TRUE(gone(second)) << "the second program, ended first, was never reaped";
    EXPECT_EQ(ProbeProcess::StateOf(first), ProbeProcess::State::Running);
    EXPECT_EQ(ProbeProcess::StateOf(third), ProbeProcess::State::Running);

    startHeld("fourth");
    const unsigned long fourth = processOf("fourth");
    release("first");
    release("fourth");
    EXPECT_TRUE(gone(first));
    EXPECT_TRUE(gone(fourth)) << "a program started after another ended was never reaped";
    EXPECT_EQ(ProbeProcess::StateOf(third), ProbeProcess::State::Running);
    release("third");
    EXPECT_TRUE(gone(third));
}
