#include "OpenCommandScenario.hpp"

#include <cstdint>
#include <fstream>

using namespace Scenarios;

namespace {

constexpr std::int32_t IOErrorCode = static_cast<std::int32_t>(0x81060005u);

// Nothing of the export happened: no special folder asked for, no 'SAVE', no process started.
void ExpectNoExport(const HostSimRun& run) {
    EXPECT_TRUE(run.HostCalls("HostEnvironment").empty());
    EXPECT_TRUE(run.HostCalls("HostAutomate").empty());
    EXPECT_TRUE(run.EventsNamed("launch").empty());
}

class OpenCommandFailures : public OpenCommandScenario {};

TEST_F(OpenCommandFailures, AnInstallationGoneAfterRegistrationGivesTheNotFoundAlertAndReadsNothingElse) {
    RegisterInstallation();
    // The menu is registered on the first look at the installation; at the second, at the pick, the
    // registry key (one run) or the executable (the other) is gone, as after an uninstall.
    for (const std::string gone : {"GSPref::OpenRootKey=0x81060003@2", "FileExists=1@2"}) {
        SCOPED_TRACE(gone);
        HostSimRun run = Open("menu 32500 1\nbutton 1\nquit\n", {"--fail", gone});
        ExpectCleanRun(run);
        ASSERT_EQ(run.HostCalls("HostMenuRegister").size(), 1u);
        const std::vector<Json> alerts = run.EventsNamed("alert");
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0]["call"], "DGAlert");
        EXPECT_EQ(alerts[0]["alertType"], -1);
        EXPECT_EQ(TextsOf(alerts[0]), ApplicationNotFoundTexts);
        EXPECT_TRUE(run.EventsNamed("object").empty()) << "no translator is read";
        EXPECT_TRUE(run.EventsNamed("command-call").empty());
        ExpectNoExport(run);
        EXPECT_FALSE(std::filesystem::exists(Workbook()));
    }
}

TEST_F(OpenCommandFailures, WithoutATranslatorTheWarningsFirstButtonOpensTheSettingsAndNoExportFollows) {
    RegisterInstallation();
    HostSimRun run = Open("menu 32500 1\nbutton 1\nselect 4 2\nclick 1\nquit\n");
    ExpectCleanRun(run);
    const std::vector<Json> alerts = run.EventsNamed("alert");
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]["call"], "WarningAlert");
    EXPECT_EQ(TextsOf(alerts[0]), TranslatorWarningTexts);
    EXPECT_EQ(alerts[0]["response"], 1);
    const std::vector<Json> dialogs = run.EventsNamed("dialog-close");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0]["dialog"], 7001);
    EXPECT_EQ(dialogs[0]["response"], 1);
    EXPECT_EQ(run.EventsWhere("object", "op", "create").size(), 1u) << "the choice is stored";
    ExpectNoExport(run);
    EXPECT_TRUE(run.EventsNamed("dont-show-again").empty());
}

TEST_F(OpenCommandFailures, WithoutATranslatorTheWarningsCancelEndsTheRunAtOnce) {
    RegisterInstallation();
    HostSimRun run = Open("menu 32500 1\nbutton 2\nquit\n");
    ExpectCleanRun(run);
    const std::vector<Json> alerts = run.EventsNamed("alert");
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(TextsOf(alerts[0]), TranslatorWarningTexts);
    EXPECT_TRUE(run.EventsNamed("dialog-open").empty());
    EXPECT_TRUE(run.EventsNamed("command-call").empty()) << "no translator was there to select";
    ExpectNoExport(run);
}

TEST_F(OpenCommandFailures, ATranslatorTheSafAddOnNoLongerHasGivesTheSameWarning) {
    RegisterInstallation();
    const std::string project = (root / "project.json").string();
    HostSimRun choose = Open(ChooseTranslator(3) + "save\nquit\n", {"--project", project});
    ExpectCleanRun(choose);

    // The user deletes the translator in the SAF add-on; the project still names it.
    const std::filesystem::path store = home / "SAF" / "Translators.json";
    Json translators = Json::parse(ReadFile(store));
    ASSERT_EQ(translators["translators"].size(), 3u);
    ASSERT_EQ(translators["translators"][2]["name"], "Load-Bearing Elements Only");
    translators["translators"].erase(2);
    WriteFile(store, translators.dump(2));

    HostSimRun run = Open("menu 32500 1\nbutton 2\nquit\n", {"--project", project});
    ExpectCleanRun(run);
    const std::vector<Json> selections = run.EventsWhere("command-call", "command", "SSTD");
    ASSERT_EQ(selections.size(), 1u);
    EXPECT_EQ(selections[0]["name"], "Load-Bearing Elements Only");
    EXPECT_NE(selections[0]["result"], 0);
    const std::vector<Json> alerts = run.EventsNamed("alert");
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(TextsOf(alerts[0]), TranslatorWarningTexts);
    ExpectNoExport(run);
}

class UnusableLocation : public OpenCommandFailures {
protected:
    // The save-failed alert, and the host never asked to save.
    void ExpectSaveFailedWithoutSave(const HostSimRun& run) {
        ExpectCleanRun(run);
        const std::vector<Json> alerts = run.EventsNamed("alert");
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0]["call"], "DGAlert");
        EXPECT_EQ(TextsOf(alerts[0]), SaveFailedTexts);
        ASSERT_EQ(run.HostCalls("HostEnvironment").size(), 1u);
        EXPECT_TRUE(run.HostCalls("HostAutomate").empty());
        EXPECT_TRUE(run.EventsNamed("save").empty());
        EXPECT_TRUE(run.EventsNamed("launch").empty());
    }
};

TEST_F(UnusableLocation, AReadOnlyWorkbookIsNotSavedOverAndKeepsItsBytes) {
    RegisterInstallation();
    WriteFile(Workbook(), "an earlier workbook");
    std::filesystem::permissions(Workbook(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    HostSimRun run = Open(ChooseTranslator(1) + "menu 32500 1\nbutton 1\nquit\n");
    ExpectSaveFailedWithoutSave(run);
    EXPECT_EQ(ReadFile(Workbook()), "an earlier workbook");
}

TEST_F(UnusableLocation, AMissingExportFolderIsNotCreated) {
    RegisterInstallation();
    const std::filesystem::path missing = root / "missing";
    HostSimRun run = Open(ChooseTranslator(1) + "menu 32500 1\nbutton 1\nquit\n",
                          {"--special-folder", "7=" + missing.string()});
    ExpectSaveFailedWithoutSave(run);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(UnusableLocation, ANameLongerThanTheFileSystemAllowsIsIllegal) {
    RegisterInstallation();
    const std::string illegal = (root / std::string(300, 'n')).string();
    HostSimRun run =
        Open(ChooseTranslator(1) + "menu 32500 1\nbutton 1\nquit\n", {"--special-folder", "7=" + illegal});
    ExpectSaveFailedWithoutSave(run);
    const std::vector<Json> legality =
        run.EventsWhere("library-call", "op", "IO::Location::IsLegalInNativeFileSystem");
    ASSERT_EQ(legality.size(), 1u);
    EXPECT_EQ(legality[0]["result"], "false");
    EXPECT_TRUE(run.EventsWhere("library-call", "op", "CanCreateOrWriteFile").empty());
}

TEST_F(OpenCommandFailures, AFailedSaveShowsTheSaveFailedAlertAndStartsNothing) {
    RegisterInstallation();
    HostSimRun run =
        Open(ChooseTranslator(1) + "menu 32500 1\nbutton 1\nquit\n", {"--fail", "Automate=0x1234"});
    ExpectCleanRun(run);
    const std::vector<Json> saves = run.HostCalls("HostAutomate");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0]["result"], 0x1234);
    EXPECT_EQ(saves[0]["arguments"]["code"], "SAVE");
    const std::vector<Json> alerts = run.EventsNamed("alert");
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(TextsOf(alerts[0]), SaveFailedTexts);
    // The add-on's own code (the host's 0x1234) goes no further than the handler, which answers 0.
    EXPECT_EQ(run.EventsNamed("menu").back()["result"], 0);
    EXPECT_TRUE(run.EventsNamed("save").empty());
    EXPECT_TRUE(run.EventsNamed("launch").empty());
    EXPECT_FALSE(std::filesystem::exists(Workbook()));
    EXPECT_FALSE(std::filesystem::exists(installFolder / "VeldEngineer.launches.jsonl"));
}

class FailedStart : public OpenCommandFailures {
protected:
    // The launch-failed alert after a written workbook, and no information dialog.
    Json ExpectLaunchFailed(const HostSimRun& run) {
        ExpectCleanRun(run);
        EXPECT_EQ(run.EventsWhere("save", "result", 0).size(), 1u);
        EXPECT_TRUE(std::filesystem::exists(Workbook())) << "the workbook stays";
        const std::vector<Json> alerts = run.EventsNamed("alert");
        EXPECT_EQ(alerts.size(), 1u);
        if (!alerts.empty()) {
            EXPECT_EQ(TextsOf(alerts[0]), LaunchFailedTexts);
        }
        EXPECT_TRUE(run.EventsNamed("dont-show-again").empty());
        const std::vector<Json> launches = run.EventsNamed("launch");
        EXPECT_EQ(launches.size(), 1u);
        return launches.empty() ? Json::object() : launches[0];
    }
};

#ifdef _WIN32
TEST_F(FailedStart, AnExecutableThatIsNoProgramIsRefusedWithTheLaunchersCode) {
    RegisterInstallation();
    // A DOS header's signature and nothing behind it: Windows refuses to start it as a program.
    std::ofstream(installFolder / "VeldEngineer.exe", std::ios::binary | std::ios::trunc)
        << "MZ not a program";
    const Json launch = ExpectLaunchFailed(Open(ChooseTranslator(1) + "menu 32500 1\nbutton 1\nquit\n"));
    EXPECT_EQ(launch["result"], "failed");
    EXPECT_EQ(launch["code"], IOErrorCode);
    EXPECT_FALSE(std::filesystem::exists(installFolder / "VeldEngineer.launches.jsonl"));
}
#else
TEST_F(FailedStart, AnExecutableWithoutItsExecuteMarksIsRefusedWithTheLaunchersCode) {
    RegisterInstallation();
    std::filesystem::permissions(installFolder / "VeldEngineer.exe",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const Json launch = ExpectLaunchFailed(Open(ChooseTranslator(1) + "menu 32500 1\nbutton 1\nquit\n"));
    EXPECT_EQ(launch["result"], "failed");
    EXPECT_EQ(launch["code"], IOErrorCode);
    EXPECT_FALSE(std::filesystem::exists(installFolder / "VeldEngineer.launches.jsonl"));
}
#endif

TEST_F(FailedStart, ALauncherCodeAskedForOnTheCommandLineReachesTheAlert) {
    RegisterInstallation();
    const Json launch = ExpectLaunchFailed(
        Open(ChooseTranslator(1) + "menu 32500 1\nbutton 1\nquit\n", {"--fail", "launcher=77"}));
    EXPECT_EQ(launch["result"], "failed");
    EXPECT_EQ(launch["code"], 77);
    EXPECT_EQ(launch["injected"], 77);
}

TEST_F(FailedStart, AThrowingLauncherGivesTheLaunchFailedAlertAndLeavesTheWorkbook) {
    RegisterInstallation();
    const Json launch = ExpectLaunchFailed(
        Open(ChooseTranslator(1) + "menu 32500 1\nbutton 1\nquit\n", {"--fail", "launcher=throw"}));
    EXPECT_EQ(launch["result"], "threw");
    EXPECT_FALSE(launch.value("exception", "").empty());
    EXPECT_EQ(launch["arguments"], Json::array({Workbook().string()}));
}

} // namespace

// A model text that XML 1.0 cannot carry fails the host's save with its own code, so the add-on
// shows its save-failed alert instead of handing over a workbook no reader can open.
TEST_F(OpenCommandFailures, AModelTextXmlCannotCarryFailsTheSaveWithItsOwnCode) {
    RegisterInstallation();
    const struct {
        std::string text;
        std::string character;
    } cases[] = {{"a \xEF\xBF\xBE here", "U+FFFE"}, {"\xEF\xBF\xBF", "U+FFFF"}, {"bell \x07", "U+0007"}};
    int index = 0;
    for (const auto& [text, character] : cases) {
        Json model = Json::parse(ReadFile(DEMO_BUILDING_PATH));
        model["description"] = text;
        const std::filesystem::path file = root / ("model" + std::to_string(index++) + ".json");
        WriteFile(file, model.dump());
        HostSimRun run =
            Open(ChooseTranslator(1) + "menu 32500 1\nbutton 1\nquit\n", {"--model", file.string()});
        ExpectCleanRun(run);
        const std::vector<Json> saves = run.EventsNamed("save");
        ASSERT_EQ(saves.size(), 1u);
        EXPECT_EQ(saves[0]["resultHex"], "0x81060206");
        EXPECT_NE(saves[0]["reason"].get<std::string>().find("member description holds " + character),
                  std::string::npos)
            << saves[0].dump();
        const std::vector<Json> alerts = run.EventsNamed("alert");
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(TextsOf(alerts[0]), SaveFailedTexts);
        EXPECT_TRUE(run.EventsNamed("launch").empty());
        EXPECT_FALSE(std::filesystem::exists(Workbook()));
    }
}
