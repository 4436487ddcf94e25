#pragma once

#include "ScenarioHarness.hpp"

#include <ostream>
#include <string>

namespace Sweep {

// What the user saw of one command, and what it left behind.
enum class Outcome {
    Exported,                   // workbook saved, VELD Engineer started, information dialog shown
    ExportedWithoutInformation, // the same without the information dialog
    ApplicationNotFound,        // the application-not-found alert, nothing else
    TranslatorWarning,          // the translator warning, nothing saved
    SaveFailed,                 // the save-failed alert, nothing started
    LaunchFailed,               // the launch-failed alert after the save
    Stored,                     // the settings dialog stored the chosen translator, silently
    NothingStored,              // the settings command ended without storing anything, silently
    StoreRefused,               // the project refused the chosen translator: the store-refused alert
    NoMenu,                     // the module's menu was never there to pick
    Unrecognised                // anything else: never allowed
};

std::string NameOf(Outcome outcome);
void PrintTo(Outcome outcome, std::ostream* stream);

// The open command's outcome in `run`, from its alerts, its save, its launch and its dialogs.
Outcome OpenCommandOutcome(const Scenarios::HostSimRun& run);
// The export settings command's outcome: `stored` says whether the project holds the chosen name.
Outcome SettingsOutcome(const Scenarios::HostSimRun& run, bool stored);

} // namespace Sweep
