#include "OpenCommandScenario.hpp"

#include <algorithm>

using namespace Scenarios;

namespace {

class OpenCommandSuccess : public OpenCommandScenario {
protected:
    // The one 'SAVE' host call of `run`, checked against what the add-on must put in its records.
    static void ExpectSaveRecords(const HostSimRun& run, const std::string& translator,
                                  const std::string& path) {
        const std::vector<Json> saves = run.HostCalls("HostAutomate");
        ASSERT_EQ(saves.size(), 1u);
        const Json& arguments = saves[0]["arguments"];
        EXPECT_EQ(arguments["code"], "SAVE");
        EXPECT_EQ(arguments["fileType"], 69);
        EXPECT_EQ(arguments["location"], path);
        EXPECT_EQ(arguments["parameterKind"], 2);
        EXPECT_EQ(arguments["translatorName"], translator);
        EXPECT_EQ(saves[0]["result"], 0);
    }
};

TEST_F(OpenCommandSuccess, TheWorkbookIsWrittenVeldEngineerGetsItsPathAloneAndTheInformationDialogFollows) {
    RegisterInstallation();
    HostSimRun run = Open(ChooseTranslator(1) + "menu 32500 1\nclick 1\nquit\n");
    ExpectCleanRun(run);
    EXPECT_TRUE(run.EventsNamed("alert").empty());
    ExpectSaveRecords(run, "Structural Analysis (SI)", Workbook().string());

    const std::vector<Json> saves = run.EventsNamed("save");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0]["result"], 0);
    EXPECT_EQ(saves[0]["translator"], "Structural Analysis (SI)");

    const std::vector<Json> launches = run.EventsNamed("launch");
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0]["executable"], (installFolder / "VeldEngineer.exe").string());
    EXPECT_EQ(launches[0]["arguments"], Json::array({Workbook().string()}));
    EXPECT_EQ(launches[0]["mode"], 1);
    EXPECT_EQ(launches[0]["option"], 1);
    EXPECT_EQ(launches[0]["result"], "started");

    const std::vector<Json> information = run.EventsNamed("dont-show-again");
    ASSERT_EQ(information.size(), 1u);
    EXPECT_EQ(information[0]["dialog"], 7000);
    EXPECT_EQ(information[0]["shown"], true);
    EXPECT_EQ(information[0]["suppressed"], false);

    // What was written is what VELD Engineer and an independent reader find in the workbook.
    std::map<std::string, int> written;
    for (const Json& sheet : saves[0]["sheets"]) {
        written[sheet["sheet"]] = sheet["rows"];
    }
    EXPECT_EQ(written.at("StructuralCurveMember"), 58);
    EXPECT_EQ(SheetRowsSeenByOpenpyxl(Workbook(), root), written);
    const std::vector<Json> records = LaunchRecords(installFolder, 1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["argv"], Json::array({Workbook().string()}));
    EXPECT_EQ(records[0]["exitCode"], 0);
    const Json& summary = records[0]["summary"];
    EXPECT_EQ(summary["unitSystem"], "Metric");
    EXPECT_EQ(summary["members"], written.at("StructuralCurveMember"));
    EXPECT_EQ(summary["nodes"], written.at("StructuralPointConnection"));
    EXPECT_EQ(summary["supports"], written.at("StructuralPointSupport"));
}

TEST_F(OpenCommandSuccess, ASecondExportWithAnotherTranslatorOverwritesTheFirstAndATickedDialogStaysAway) {
    RegisterInstallation();
    // Imperial is entry 2 once a translator is stored: the placeholder is gone.
    HostSimRun run = Open(ChooseTranslator(3) + "menu 32500 1\ncheck 5 1\nclick 1\n" +
                          "menu 32500 2\nselect 4 2\nclick 1\nmenu 32500 1\nquit\n");
    ExpectCleanRun(run);
    EXPECT_TRUE(run.EventsNamed("alert").empty());
    const std::vector<Json> saves = run.EventsNamed("save");
    ASSERT_EQ(saves.size(), 2u);
    EXPECT_EQ(saves[0]["translator"], "Load-Bearing Elements Only");
    EXPECT_EQ(saves[1]["translator"], "Structural Analysis (Imperial)");
    const std::vector<Json> automate = run.HostCalls("HostAutomate");
    ASSERT_EQ(automate.size(), 2u);
    EXPECT_EQ(automate[1]["arguments"]["translatorName"], "Structural Analysis (Imperial)")
        << "the name read at the time of the export";

    const std::vector<Json> information = run.EventsNamed("dont-show-again");
    ASSERT_EQ(information.size(), 2u);
    EXPECT_EQ(information[0]["shown"], true);
    EXPECT_EQ(information[0]["suppressed"], true);
    EXPECT_EQ(information[1]["shown"], false);
    EXPECT_EQ(run.EventsWhere("dialog-open", "dialog", 7000).size(), 1u);

    const std::vector<Json> records = LaunchRecords(installFolder, 2);
    ASSERT_EQ(records.size(), 2u);
    std::vector<std::string> units;
    for (const Json& record : records) {
        units.push_back(record["summary"]["unitSystem"]);
    }
    // Records come in the order the programs end, and the first one may read the workbook after the
    // second export and end last; the program started after the second export must see it.
    EXPECT_NE(std::find(units.begin(), units.end(), "Imperial"), units.end()) << records[0].dump();
    EXPECT_EQ(SheetRowsSeenByOpenpyxl(Workbook(), root).size(), saves[1]["sheets"].size());
}

TEST_F(OpenCommandSuccess, AProjectWithoutAModelStillGivesVeldEngineerAWorkbookItCanRead) {
    RegisterInstallation();
    HostSimRun run = RunHostSim(ChooseTranslator(1) + "menu 32500 1\nclick 1\nquit\n",
                                {"--special-folder", "7=" + exportFolder.string()});
    ExpectCleanRun(run);
    const std::vector<Json> saves = run.EventsWhere("save", "result", 0);
    ASSERT_EQ(saves.size(), 1u);
    for (const Json& sheet : saves[0]["sheets"]) {
        if (sheet["sheet"] != "Model" && sheet["sheet"] != "Project") { // key/value sheets
            EXPECT_EQ(sheet["rows"], 0) << sheet.dump();
        }
    }
    const std::vector<Json> records = LaunchRecords(installFolder, 1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["exitCode"], 0) << records[0].dump();
    EXPECT_EQ(records[0]["summary"]["members"], 0);
}

// Folders whose names carry what quoting and encoding get wrong; each path is over 200 characters.
class AwkwardPaths : public OpenCommandSuccess {
protected:
    static std::filesystem::path Utf8Path(const std::string& utf8) {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    }

    static std::filesystem::path Awkward(const std::filesystem::path& base, const std::string& tag) {
#ifdef _WIN32
        // Windows allows neither quotes, backslashes nor bars in a name; what it allows still has
        // to come through: the command line's own quoting and escaping characters among them. The
        // host passes paths in MAX_PATH buffers, so the long name is shorter than on POSIX.
        constexpr std::size_t longName = 40;
        const std::string awkward = " 100% ^caret^ 'single' \xC3\xA9t\xC3\xA9 \xE5\xBB\xBA\xE7\xAF\x89 "
                                    "$HOME %PATH% `x` ;&! (x) [y]";
#else
        const std::string awkward = " \"quoted\" 100% back\\slash 'single' \xC3\xA9t\xC3\xA9 "
                                    "\xE5\xBB\xBA\xE7\xAF\x89 $HOME `x` ;&|";
        constexpr std::size_t longName = 120;
#endif
        std::filesystem::path folder = base / Utf8Path(tag + awkward);
        folder /= Utf8Path(std::string(longName, 'l') + " \xC3\xBC");
        return folder;
    }
};

TEST_F(AwkwardPaths, VeldEngineerReceivesExactlyTheWorkbookPathAsItsOneArgument) {
    exportFolder = Awkward(root, "Export");
    std::filesystem::create_directories(exportFolder);
    installFolder = Awkward(root, "VELD Engineer");
    std::filesystem::create_directories(installFolder);
    std::filesystem::copy_file(VELDENGINEER_PATH, installFolder / "VeldEngineer.exe");
    ASSERT_GT(PathText(Workbook()).size(), 200u);
    ASSERT_GT(PathText(installFolder).size(), 200u);
    RegisterInstallation();

    HostSimRun run = Open(ChooseTranslator(1) + "menu 32500 1\nclick 1\nquit\n");
    ExpectCleanRun(run);
    ExpectSaveRecords(run, "Structural Analysis (SI)", PathText(Workbook()));
    const std::vector<Json> launches = run.EventsNamed("launch");
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0]["executable"], PathText(installFolder / "VeldEngineer.exe"));
    EXPECT_EQ(launches[0]["arguments"], Json::array({PathText(Workbook())}));

    const std::vector<Json> records = LaunchRecords(installFolder, 1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["argv"], Json::array({PathText(Workbook())}));
    EXPECT_EQ(records[0]["exitCode"], 0) << records[0].dump();
    EXPECT_FALSE(SheetRowsSeenByOpenpyxl(Workbook(), root).empty());
}

} // namespace
