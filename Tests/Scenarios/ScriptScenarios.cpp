#include "ScenarioHarness.hpp"

using namespace Scenarios;

TEST_F(ScenarioTest, AnUnusableScriptLineStopsTheScriptNamingFileAndLine) {
    HostSimRun run = RunHostSim("# first a command that works\n"
                                "menu 32500 3\n"
                                "menu 32500 three\n"
                                "menu 32500 4\n");
    EXPECT_EQ(run.exitCode, 2);
    std::vector<Json> errors = run.EventsNamed("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0]["file"], scriptPath.string());
    EXPECT_EQ(errors[0]["line"], 3);
    EXPECT_EQ(errors[0]["text"], "menu 32500 three");
    EXPECT_NE(run.errors.find(scriptPath.string() + ":3: "), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("menu 32500 three"), std::string::npos);
    EXPECT_EQ(run.EventsNamed("menu").size(), 1u) << "nothing after the bad line runs";
    // The host still shuts down as it does on exit.
    EXPECT_EQ(run.Entry("release")["result"], 0);
    EXPECT_EQ(run.EventsNamed("module-unload").size(), 1u);
}

TEST_F(ScenarioTest, CommandsForAlertsAndDialogsAreErrorsWhileNoneIsUp) {
    HostSimRun run = RunHostSim("button 1\n");
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.EventsNamed("error").size(), 1u);
    EXPECT_EQ(run.EventsNamed("error")[0]["message"],
              "\"button\" needs an alert or a dialog, and none is on screen");
}

TEST_F(ScenarioTest, AMissingScriptIsAnErrorAndTheHostStillShutsDown) {
    WriteFile(scriptPath, "");
    std::vector<std::string> command{HOSTSIM_PATH,
                                     "--home",
                                     home.string(),
                                     "--transcript",
                                     transcriptPath.string(),
                                     "--script",
                                     (root / "no such script.txt").string(),
                                     AddOnModulePath()};
    ProcessResult process = RunProcess(command, root);
    EXPECT_EQ(process.exitCode, 2);
    const std::string transcript = ReadFile(transcriptPath);
    EXPECT_NE(transcript.find("\"event\":\"error\""), std::string::npos);
    EXPECT_NE(transcript.find("cannot open the script"), std::string::npos);
    EXPECT_NE(transcript.find("\"event\":\"module-unload\""), std::string::npos);
}

TEST_F(ScenarioTest, AnEndedScriptActsAsQuit) {
    HostSimRun run = RunHostSim("menu 32500 3");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.EventsNamed("menu").size(), 1u);
    EXPECT_EQ(run.Entry("release")["result"], 0);
}

// A transcript or timings file that names a folder cannot hold the lines: refused in words, before
// anything runs, naming the option and the folder.
TEST_F(ScenarioTest, ATranscriptOrTimingsThatIsAFolderIsRefusedBeforeTheRun) {
    const std::filesystem::path folder = root / "a folder";
    std::filesystem::create_directories(folder);
    for (const char* option : {"--transcript", "--timings"}) {
        const HostSimRun run = RunHostSim("quit\n", {option, PathText(folder)});
        EXPECT_EQ(run.exitCode, 64) << option << ": " << run.errors;
        const std::string said =
            std::string("hostsim: ") + option + ": cannot write " + PathText(folder) + ": it is a folder";
        EXPECT_NE(run.errors.find(said), std::string::npos) << option << ": " << run.errors;
    }
}
