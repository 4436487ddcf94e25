#pragma once

#include "ScenarioHarness.hpp"

#include <string>
#include <vector>

namespace Scenarios {

// A constant, not a std::string: other files' static objects copy it, and only a constant is sure to
// be there before them (the order in which files' static objects are made is not fixed).
inline constexpr const char* AddOnModuleName = "VELDEngineerConnection";

// The add-on's export settings command (menu 32500, item 2) run by hostsim on a project file of its
// own, with a registered installation and, when a test writes one, its own SAF translator store.
class ExportSettingsScenario : public ScenarioTest {
protected:
    static constexpr int SettingsDialog = 7001;
    static constexpr int SafDetailsDialog = 100;
    static inline const std::string Placeholder = "Select translator";

    void SetUp() override;

    // Opens the dialog, then runs `dialogScript` (which must close it) and the rest of the run.
    HostSimRun RunSettings(const std::string& dialogScript, std::vector<std::string> options = {});
    HostSimRun RunOnProject(const std::string& script, std::vector<std::string> options = {});

    // The SAF add-on's store, read when hostsim starts: one translator per name, in this order.
    void WriteTranslators(const std::vector<std::string>& names);

    std::filesystem::path ProjectPath() const { return root / u8"Tower \u00C9tage 3.json"; }
    // hostsim takes its arguments as UTF-8 on every platform.
    std::string ProjectArgument() const;
    Json SavedObjects() const;
};

// The export settings dialog as hostsim recorded it: `dialog-open`, then one `dialog-state` per action.
std::vector<Json> SettingsViews(const HostSimRun& run);
const Json& ItemOf(const Json& view, int number);
std::vector<std::string> EntryTexts(const Json& view);
std::vector<bool> EntryEnabled(const Json& view);
int SelectedEntry(const Json& view);
std::string SelectedText(const Json& view);
bool OkEnabled(const Json& view);

// The four-letter commands the add-on sent to the SAF add-on, failed ones included, in order.
std::vector<std::string> SafCommands(const HostSimRun& run, const std::string& module = AddOnModuleName);
// What breaks the bracket rule: a 'LADA' that succeeded and is not closed by exactly one 'FADA' before
// the next 'LADA', or any call after a 'LADA' that failed. Empty when the rule held.
std::vector<std::string> BracketFaults(const HostSimRun& run, const std::string& module = AddOnModuleName);
// Every menu command answered 0 and left none of the add-on's blocks alive.
void ExpectMenusAnsweredZeroWithoutLeaks(const HostSimRun& run);

} // namespace Scenarios
