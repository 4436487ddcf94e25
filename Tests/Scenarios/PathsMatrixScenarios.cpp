#include "ExportSettingsScenario.hpp"
#include "PathsMatrix.hpp"

#include <fstream>
#include <set>

// "Open in VELD Engineer..." with the export folder, the installation folder, or both, named with
// what command lines, shells and encodings get wrong, one item at a time: the workbook lands where
// the host's folder says, and VELD Engineer receives exactly one argument, the workbook's path, or
// the add-on shows the alert the host's path rules call for.
namespace Scenarios {
namespace {

class AlertingScenario : public OpenCommandScenario {
protected:
    // One error alert of the open command, nothing else on screen, and no information dialog.
    static void ExpectOneAlert(const HostSimRun& run, const std::vector<std::string>& texts) {
        ExpectCleanRun(run);
        const std::vector<Json> alerts = run.EventsNamed("alert");
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0]["call"], "DGAlert");
        EXPECT_EQ(TextsOf(alerts[0]), texts);
        EXPECT_TRUE(run.EventsNamed("dont-show-again").empty());
    }
};

class PathsMatrix : public AlertingScenario, public ::testing::WithParamInterface<MatrixCase> {
protected:
    void SetUp() override {
        AlertingScenario::SetUp();
        // A relative folder ("-x") is found from where hostsim runs: the scenario's own folder.
        hostSimWorkingFolder = root;
    }

    // Places the copy of VeldEngineer.exe in `install` and registers the folder as given.
    void Install(const PlacedFolder& install) {
        std::filesystem::create_directories(install.onDisk);
        if (!std::filesystem::exists(install.onDisk / "VeldEngineer.exe")) {
            std::filesystem::copy_file(VELDENGINEER_PATH, install.onDisk / "VeldEngineer.exe");
        }
        installFolder = install.onDisk;
        const ProcessResult registered =
            RunRegistry({"set-string", "HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\23.1",
                         "InstallDir", install.given});
        ASSERT_EQ(registered.exitCode, 0) << registered.errors;
    }

    void ExpectExported(const HostSimRun& run, const std::string& workbook, const std::string& executable) {
        ExpectCleanRun(run);
        EXPECT_TRUE(run.EventsNamed("alert").empty()) << run.EventsNamed("alert").front().dump();
        const std::vector<Json> saves = run.HostCalls("HostAutomate");
        ASSERT_EQ(saves.size(), 1u);
        EXPECT_EQ(saves[0]["arguments"]["location"], workbook);
        EXPECT_EQ(run.EventsWhere("save", "result", 0).size(), 1u);
        EXPECT_TRUE(std::filesystem::is_regular_file(exportFolder / WorkbookName)) << "the workbook on disk";

        const std::vector<Json> launches = run.EventsNamed("launch");
        ASSERT_EQ(launches.size(), 1u);
        EXPECT_EQ(launches[0]["executable"], executable);
        EXPECT_EQ(launches[0]["arguments"], Json::array({workbook}));
        EXPECT_EQ(launches[0]["result"], "started");

        // What the started program itself found on its command line, and that the path opened.
        const std::vector<Json> records = LaunchRecords(installFolder, 1);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0]["argv"], Json::array({workbook}));
        EXPECT_EQ(records[0]["exitCode"], 0) << records[0].dump();
        EXPECT_EQ(run.EventsWhere("dont-show-again", "shown", true).size(), 1u);
    }
};

TEST_P(PathsMatrix, WorkbookPathIsTheOneArgumentOrTheRulesAlert) {
    const MatrixCase& matrixCase = GetParam();
    PlacedFolder exportPlace{exportFolder, PathText(exportFolder), PathText(exportFolder)};
    PlacedFolder installPlace{installFolder, PathText(installFolder), PathText(installFolder)};
    if (matrixCase.placement != Placement::InstallFolder) {
        exportPlace = matrixCase.item.place(root, Role::ExportFolder);
        std::filesystem::create_directories(exportPlace.onDisk);
    }
    if (matrixCase.placement != Placement::ExportFolder) {
        installPlace = matrixCase.item.place(root, Role::InstallFolder);
    }
    Install(installPlace);
    exportFolder = exportPlace.onDisk;

    const std::string workbook = ChildText(exportPlace.expected, WorkbookName);
    const std::string executable = ChildText(installPlace.expected, "VeldEngineer.exe");
    const HostSimRun run =
        RunHostSim(ChooseTranslator(1) + "menu 32500 1\n" + ClosingLine(matrixCase.Expected()) + "quit\n",
                   {"--special-folder", "7=" + exportPlace.given, "--model", DEMO_BUILDING_PATH});

    switch (matrixCase.Expected()) {
    case Outcome::Exported:
        ExpectExported(run, workbook, executable);
        break;
    case Outcome::SaveFailed:
        ExpectOneAlert(run, SaveFailedTexts);
        EXPECT_EQ(run.HostCalls("HostEnvironment").size(), 1u);
        EXPECT_TRUE(run.HostCalls("HostAutomate").empty()) << "the host is not asked to save";
        EXPECT_FALSE(std::filesystem::exists(exportFolder / WorkbookName));
        EXPECT_TRUE(run.EventsNamed("launch").empty());
        break;
    case Outcome::ApplicationNotFound:
        ExpectOneAlert(run, ApplicationNotFoundTexts);
        EXPECT_TRUE(run.HostCalls("HostEnvironment").empty()) << "nothing read after the locator";
        EXPECT_TRUE(run.EventsNamed("launch").empty());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(ItemByItem, PathsMatrix, ::testing::ValuesIn(MatrixCases()), MatrixCaseName);

// Translator names that differ only in case, accents or how an accent is encoded: each choice is
// the one selected, saved with and shown again, never a near twin. One hostsim run exports with
// each in turn.
class LookAlikeTranslatorNames : public OpenCommandScenario {
protected:
    struct Translator {
        std::string name;
        std::vector<std::string> elementKinds;
    };

    void WriteStore(const std::vector<Translator>& translators) {
        Json list = Json::array();
        for (const Translator& translator : translators) {
            list.push_back(
                {{"name", translator.name}, {"elementKinds", translator.elementKinds}, {"unitSystem", "SI"}});
        }
        const std::filesystem::path store = home / "SAF" / "Translators.json";
        std::filesystem::create_directories(store.parent_path());
        WriteFile(store, Json({{"version", 1}, {"translators", list}}).dump());
    }
};

TEST_F(LookAlikeTranslatorNames, EachChoiceIsSelectedSavedWithAndReselectedExactly) {
    // Every name also carries the command line's awkward characters, like the folders above.
    const std::string tail = " \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E 100% & ^ ! -x";
    const std::vector<Translator> translators{
        {"Zo\xC3\xAB" + tail, {"column"}},  // composed e with diaeresis
        {"zo\xC3\xAB" + tail, {"beam"}},    // lower-case first letter
        {"ZO\xC3\x8B" + tail, {"slab"}},    // all upper case
        {"Zoe" + tail, {"wall"}},           // no accent
        {"Zoe\xCC\x88" + tail, {"support"}} // decomposed: e and a combining diaeresis
    };
    WriteStore(translators);
    RegisterInstallation();
    // Chosen in an order where a match that ignores case or accents would find an earlier twin.
    const std::vector<std::size_t> order{1, 4, 2, 0, 3};
    std::string script;
    for (std::size_t turn = 0; turn < order.size(); ++turn) {
        // While nothing is stored the placeholder is entry 1 of the pop-up.
        const std::size_t entry = order[turn] + (turn == 0 ? 2 : 1);
        script += "menu 32500 2\nselect 4 " + std::to_string(entry) + "\nclick 1\nmenu 32500 1\nclick 1\n";
    }
    script += "menu 32500 2\nclick 2\nquit\n";
    const HostSimRun run = Open(script);
    ExpectCleanRun(run);
    EXPECT_TRUE(run.EventsNamed("alert").empty());

    const std::vector<Json> selections = run.EventsWhere("command-call", "command", "SSTD");
    const std::vector<Json> saveCalls = run.HostCalls("HostAutomate");
    const std::vector<Json> saves = run.EventsNamed("save");
    const std::vector<Json> opened = run.EventsWhere("dialog-open", "dialog", 7001);
    ASSERT_EQ(selections.size(), order.size());
    ASSERT_EQ(saveCalls.size(), order.size());
    ASSERT_EQ(saves.size(), order.size());
    ASSERT_EQ(opened.size(), order.size() + 1);
    std::set<std::string> distinctWorkbooks;
    for (std::size_t turn = 0; turn < order.size(); ++turn) {
        const std::string& chosen = translators[order[turn]].name;
        EXPECT_EQ(selections[turn]["name"], chosen) << "turn " << turn;
        EXPECT_EQ(selections[turn]["result"], 0) << "turn " << turn;
        EXPECT_EQ(saveCalls[turn]["arguments"]["translatorName"], chosen) << "turn " << turn;
        EXPECT_EQ(saves[turn]["translator"], chosen) << "turn " << turn;
        distinctWorkbooks.insert(saves[turn]["sheets"].dump());
        // The dialog opened after this export shows the stored name as its choice.
        const Json& reopened = opened[turn + 1];
        EXPECT_EQ(SelectedText(reopened), chosen) << "turn " << turn;
        EXPECT_EQ(SelectedEntry(reopened), static_cast<int>(order[turn] + 1)) << "turn " << turn;
    }
    EXPECT_EQ(distinctWorkbooks.size(), order.size()) << "each export written by its own translator";
    const std::vector<Json> records = LaunchRecords(installFolder, order.size());
    ASSERT_EQ(records.size(), order.size());
    for (const Json& record : records) {
        EXPECT_EQ(record["argv"], Json::array({Workbook().string()}));
    }
}

#ifdef _WIN32
// The executable's name is fixed, but an installation may still hold a batch script under it. It is
// no program: the start is refused, and no command interpreter runs the script.
class BatchScriptInstalled : public AlertingScenario {};

TEST_F(BatchScriptInstalled, ABatchScriptInstalledAsVeldEngineerIsNotRunThroughTheCommandInterpreter) {
    RegisterInstallation();
    const std::filesystem::path marker = root / "the script ran";
    std::ofstream(installFolder / "VeldEngineer.exe", std::ios::binary | std::ios::trunc)
        << "@echo off\r\necho ran > \"" << PathText(marker) << "\"\r\n";
    const HostSimRun run = Open(ChooseTranslator(1) + "menu 32500 1\nbutton 1\nquit\n");
    ExpectOneAlert(run, LaunchFailedTexts);
    ASSERT_EQ(run.EventsNamed("launch").size(), 1u);
    EXPECT_EQ(run.EventsNamed("launch")[0]["result"], "failed");
    EXPECT_FALSE(std::filesystem::exists(marker));
}
#endif

} // namespace
} // namespace Scenarios
