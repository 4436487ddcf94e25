#include "OpenCommandScenario.hpp"

#include <sstream>
#include <thread>

namespace Scenarios {

const std::vector<std::string> ApplicationNotFoundTexts{
    "No supported VELD Engineer version available.",
    "Please make sure you have installed VELD Engineer (version xx or above).",
    "",
    "OK",
    "",
    ""};
const std::vector<std::string> SaveFailedTexts{
    "Could not save SAF file.",
    "Please make sure the SAF add-on is available, and/or that you have permission to save to the selected "
    "folder.",
    "",
    "OK",
    "",
    ""};
const std::vector<std::string> LaunchFailedTexts{
    "VELD Engineer was unable to open the SAF file.",
    "You might not have permission to use VELD Engineer. Please check with your administrator.",
    "",
    "OK",
    "",
    ""};
const std::vector<std::string> StoreRefusedTexts{
    "The chosen translator could not be stored in the project.",
    "The project keeps the choice it had, if any. Try OK again, or choose Cancel to leave it so.",
    "",
    "OK",
    "",
    ""};
const std::vector<std::string> TranslatorWarningTexts{
    "The model could not be opened in VELD Engineer. Please check the followings, then try again:",
    "- VELD Engineer Export Settings", "VELD Engineer Export Settings...", "Cancel", ""};

std::vector<std::string> TextsOf(const Json& alert) {
    return alert.value("texts", std::vector<std::string>());
}

void OpenCommandScenario::SetUp() {
    ScenarioTest::SetUp();
    exportFolder = root / "Export";
    std::filesystem::create_directories(exportFolder);
}

HostSimRun OpenCommandScenario::Open(const std::string& script, const std::vector<std::string>& options) {
    std::vector<std::string> all{"--special-folder", "7=" + PathText(exportFolder), "--model",
                                 DEMO_BUILDING_PATH};
    all.insert(all.end(), options.begin(), options.end());
    return RunHostSim(script, all);
}

std::string OpenCommandScenario::ChooseTranslator(int entry) {
    // Entry 1 of the pop-up is the disabled placeholder while nothing is stored.
    return "menu 32500 2\nselect 4 " + std::to_string(entry + 1) + "\nclick 1\n";
}

std::vector<Json> OpenCommandScenario::LaunchRecords(const std::filesystem::path& folder, std::size_t count) {
    std::vector<Json> records;
    // Generous: the bound only stops a test whose program never started from hanging.
    for (int attempt = 0; attempt < 1200; ++attempt) {
        records.clear();
        std::istringstream text(ReadFile(folder / "VeldEngineer.launches.jsonl"));
        for (std::string line; std::getline(text, line);) {
            records.push_back(Json::parse(line));
        }
        if (records.size() >= count) {
            return records;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ADD_FAILURE() << "VeldEngineer.exe recorded " << records.size() << " launches, expected " << count;
    return records;
}

std::map<std::string, int>
OpenCommandScenario::SheetRowsSeenByOpenpyxl(const std::filesystem::path& workbook,
                                             const std::filesystem::path& scratch) {
    // The answer goes to a file, complete or not at all: under Wine a Linux program started from a
    // Windows one runs detached, with neither its exit code nor its output coming back.
    const std::string program =
        "import json, os, sys, traceback\n"
        "try:\n"
        "    import openpyxl\n"
        "    book = openpyxl.load_workbook(sys.argv[1])\n"
        "    rows = {}\n"
        "    for sheet in book:\n"
        "        used = [r for r in sheet.iter_rows(values_only=True)\n"
        "                if any(c not in (None, '') for c in r)]\n"
        "        rows[sheet.title] = len(used) - (0 if sheet.title in ('Model', 'Project') else 1)\n"
        "    answer = {'rows': rows}\n"
        "except Exception:\n"
        "    answer = {'error': traceback.format_exc()}\n"
        "with open(sys.argv[2] + '.part', 'w') as out:\n"
        "    json.dump(answer, out)\n"
        "os.replace(sys.argv[2] + '.part', sys.argv[2])\n";
    // A folder of its own for the output files: a VeldEngineer.exe that a hostsim run started may
    // still write to the output that it inherited from hostsim.
    const std::filesystem::path own = scratch / "openpyxl witness";
    std::filesystem::create_directories(own);
    const std::filesystem::path answerFile = own / "answer.json";
    const ProcessResult witness = RunProcess(
        {WITNESS_PYTHON, "-c", program, NativeProgramPath(workbook), NativeProgramPath(answerFile)}, own);
    // Generous: the bound only stops a test whose witness never started from hanging.
    for (int attempt = 0; attempt < 1200 && !std::filesystem::exists(answerFile); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!std::filesystem::exists(answerFile)) {
        ADD_FAILURE() << "the openpyxl witness gave no answer: " << witness.errors;
        return {};
    }
    const Json answer = Json::parse(ReadFile(answerFile));
    if (answer.contains("error")) {
        ADD_FAILURE() << "openpyxl cannot read the workbook: " << answer["error"].get<std::string>();
        return {};
    }
    return answer["rows"].get<std::map<std::string, int>>();
}

void OpenCommandScenario::ExpectCleanRun(const HostSimRun& run) {
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    for (const Json& menu : run.EventsNamed("menu")) {
        EXPECT_EQ(menu.value("result", -1), 0) << menu.dump();
    }
    const std::vector<Json> counts = run.EventsWhere("allocations", "after", "menu");
    EXPECT_EQ(counts.size(), run.EventsNamed("menu").size());
    for (const Json& count : counts) {
        EXPECT_EQ(count["liveBlocks"], 0) << count.dump();
    }
    const std::vector<Json> open = run.EventsNamed("saf-open-handles");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]["count"], 0) << open[0].dump();
    EXPECT_TRUE(run.EventsNamed("lifecycle-violation").empty());
}

} // namespace Scenarios
