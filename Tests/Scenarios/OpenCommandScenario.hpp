#pragma once

#include "ScenarioHarness.hpp"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace Scenarios {

// "Open in VELD Engineer..." runs of the real add-on on the demo building: an installation of VELD
// Engineer registered, special folder 7 at an export folder of the test's own, and the translator
// chosen in the add-on's own export settings dialog when a scenario needs one.
class OpenCommandScenario : public ScenarioTest {
protected:
    void SetUp() override;

    // hostsim on `script` with the export folder, the demo building and `options`.
    HostSimRun Open(const std::string& script, const std::vector<std::string>& options = {});

    // Script lines that choose translator `entry` (1: "Structural Analysis (SI)", 2: "... (Imperial)",
    // 3: "Load-Bearing Elements Only") in the export settings dialog of a project without one.
    static std::string ChooseTranslator(int entry);

    std::filesystem::path Workbook() const { return exportFolder / "ACToVELDEngineer.xlsx"; }

    // The lines VeldEngineer.exe in `folder` has recorded, once there are `count` of them (it runs on
    // its own, so they come after hostsim has ended). Fails the test when they never come.
    static std::vector<Json> LaunchRecords(const std::filesystem::path& folder, std::size_t count);

    // Object rows per sheet as an independent reader (openpyxl) sees the workbook: rows with any
    // value below the header; the Model sheet's property rows as they are.
    static std::map<std::string, int> SheetRowsSeenByOpenpyxl(const std::filesystem::path& workbook,
                                                              const std::filesystem::path& scratch);

    // What every run must leave: exit code 0, the handler answering 0 to every pick, no live block
    // of the add-on after any command, every 'LADA' closed, no lifecycle fault.
    static void ExpectCleanRun(const HostSimRun& run);

    std::filesystem::path exportFolder;
};

std::vector<std::string> TextsOf(const Json& alert);

extern const std::vector<std::string> ApplicationNotFoundTexts;
extern const std::vector<std::string> SaveFailedTexts;
// The export settings dialog's alert when the project refuses to store the chosen translator.
extern const std::vector<std::string> StoreRefusedTexts;
extern const std::vector<std::string> LaunchFailedTexts;
extern const std::vector<std::string> TranslatorWarningTexts;

} // namespace Scenarios
