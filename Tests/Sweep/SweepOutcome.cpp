#include "SweepOutcome.hpp"

#include "OpenCommandScenario.hpp"

namespace Sweep {

using Scenarios::Json;

namespace {

// hostsim hands a scripted pick to the list's handler even when the menu itself was never
// registered; a person could not have picked it.
bool MenuWasThere(const Scenarios::HostSimRun& run) {
    const std::vector<Json> registered = run.EventsWhere("menu-register", "menuList", 32500);
    const std::vector<Json> menus = run.EventsWhere("menu", "list", 32500);
    return !registered.empty() && !menus.empty() && menus.front().value("handled", false);
}

bool SavedAndStarted(const Scenarios::HostSimRun& run) {
    const std::vector<Json> saves = run.EventsNamed("save");
    const std::vector<Json> launches = run.EventsNamed("launch");
    return saves.size() == 1 && saves[0].value("result", -1) == 0 && launches.size() == 1 &&
           launches[0].value("result", "") == "started";
}

} // namespace

std::string NameOf(Outcome outcome) {
    switch (outcome) {
    case Outcome::Exported:
        return "exported";
    case Outcome::ExportedWithoutInformation:
        return "exported, no information dialog";
    case Outcome::ApplicationNotFound:
        return "application-not-found alert";
    case Outcome::TranslatorWarning:
        return "translator warning";
    case Outcome::SaveFailed:
        return "save-failed alert";
    case Outcome::LaunchFailed:
        return "launch-failed alert";
    case Outcome::Stored:
        return "translator stored";
    case Outcome::NothingStored:
        return "nothing stored, silent";
    case Outcome::StoreRefused:
        return "store-refused alert";
    case Outcome::NoMenu:
        return "no menu";
    case Outcome::Unrecognised:
        break;
    }
    return "UNRECOGNISED";
}

void PrintTo(Outcome outcome, std::ostream* stream) {
    *stream << NameOf(outcome);
}

Outcome OpenCommandOutcome(const Scenarios::HostSimRun& run) {
    if (!MenuWasThere(run)) {
        return Outcome::NoMenu;
    }
    const std::vector<Json> alerts = run.EventsNamed("alert");
    const bool saved = !run.EventsNamed("save").empty();
    const bool launched = !run.EventsNamed("launch").empty();
    if (alerts.empty()) {
        if (!SavedAndStarted(run)) {
            return Outcome::Unrecognised;
        }
        return run.EventsWhere("dialog-open", "dialog", 7000).size() == 1
                   ? Outcome::Exported
                   : Outcome::ExportedWithoutInformation;
    }
    if (alerts.size() != 1 || !run.EventsNamed("dialog-open").empty()) {
        return Outcome::Unrecognised;
    }
    const std::vector<std::string> texts = Scenarios::TextsOf(alerts[0]);
    const std::string call = alerts[0].value("call", "");
    if (call == "DGAlert" && texts == Scenarios::ApplicationNotFoundTexts && !saved && !launched) {
        return Outcome::ApplicationNotFound;
    }
    if (call == "WarningAlert" && texts == Scenarios::TranslatorWarningTexts && !saved && !launched) {
        return Outcome::TranslatorWarning;
    }
    if (call == "DGAlert" && texts == Scenarios::SaveFailedTexts && !launched) {
        return Outcome::SaveFailed;
    }
    const std::vector<Json> saves = run.EventsNamed("save");
    if (call == "DGAlert" && texts == Scenarios::LaunchFailedTexts && saves.size() == 1 &&
        saves[0].value("result", -1) == 0) {
        return Outcome::LaunchFailed;
    }
    return Outcome::Unrecognised;
}

Outcome SettingsOutcome(const Scenarios::HostSimRun& run, bool stored) {
    if (!MenuWasThere(run)) {
        return Outcome::NoMenu;
    }
    // The export settings command's one alert of its own says that the project refused the choice.
    const std::vector<Json> alerts = run.EventsNamed("alert");
    if (!alerts.empty()) {
        const bool refusal =
            alerts.size() == 1 && Scenarios::TextsOf(alerts[0]) == Scenarios::StoreRefusedTexts;
        return refusal && !stored ? Outcome::StoreRefused : Outcome::Unrecognised;
    }
    return stored ? Outcome::Stored : Outcome::NothingStored;
}

} // namespace Sweep
