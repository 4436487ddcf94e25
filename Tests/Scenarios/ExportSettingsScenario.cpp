#include "ExportSettingsScenario.hpp"

namespace Scenarios {

void ExportSettingsScenario::SetUp() {
    ScenarioTest::SetUp();
    RegisterInstallation();
}

HostSimRun ExportSettingsScenario::RunSettings(const std::string& dialogScript,
                                               std::vector<std::string> options) {
    return RunOnProject("menu 32500 2\n" + dialogScript + "quit\n", std::move(options));
}

HostSimRun ExportSettingsScenario::RunOnProject(const std::string& script, std::vector<std::string> options) {
    options.insert(options.begin(), {"--project", ProjectArgument()});
    return RunHostSim(script, options);
}

std::string ExportSettingsScenario::ProjectArgument() const {
    return PathText(ProjectPath());
}

void ExportSettingsScenario::WriteTranslators(const std::vector<std::string>& names) {
    Json translators = Json::array();
    for (const std::string& name : names) {
        translators.push_back({{"name", name}, {"elementKinds", {"beam", "column"}}, {"unitSystem", "SI"}});
    }
    const std::filesystem::path store = home / "SAF" / "Translators.json";
    std::filesystem::create_directories(store.parent_path());
    WriteFile(store, Json({{"version", 1}, {"translators", translators}}).dump());
}

Json ExportSettingsScenario::SavedObjects() const {
    return Json::parse(ReadFile(ProjectPath())).at("addOnObjects");
}

std::vector<Json> SettingsViews(const HostSimRun& run) {
    std::vector<Json> views;
    for (const Json& event : run.events) {
        const std::string name = event.value("event", "");
        if ((name == "dialog-open" || name == "dialog-state") && event.value("dialog", 0) == 7001) {
            views.push_back(event);
        }
    }
    return views;
}

const Json& ItemOf(const Json& view, int number) {
    return view.at("items").at(static_cast<std::size_t>(number - 1));
}

std::vector<std::string> EntryTexts(const Json& view) {
    std::vector<std::string> texts;
    for (const Json& entry : ItemOf(view, 4).at("entries")) {
        texts.push_back(entry.at("text"));
    }
    return texts;
}

std::vector<bool> EntryEnabled(const Json& view) {
    std::vector<bool> enabled;
    for (const Json& entry : ItemOf(view, 4).at("entries")) {
        enabled.push_back(entry.at("enabled"));
    }
    return enabled;
}

int SelectedEntry(const Json& view) {
    return ItemOf(view, 4).at("selected");
}

std::string SelectedText(const Json& view) {
    const int selected = SelectedEntry(view);
    const std::vector<std::string> texts = EntryTexts(view);
    return selected >= 1 && static_cast<std::size_t>(selected) <= texts.size()
               ? texts[static_cast<std::size_t>(selected - 1)]
               : std::string("<no selection>");
}

bool OkEnabled(const Json& view) {
    return ItemOf(view, 1).at("enabled");
}

namespace {
// The host-call record is used rather than the SAF add-on's own: a call that the host table itself
// failed never reaches the SAF add-on, yet the add-on made it.
std::vector<Json> SafCalls(const HostSimRun& run, const std::string& module) {
    std::vector<Json> calls;
    for (const Json& call : run.EventsWhere("host-call", "op", "HostCommandCall")) {
        if (call.value("module", "") == module) {
            calls.push_back(call);
        }
    }
    return calls;
}
} // namespace

std::vector<std::string> SafCommands(const HostSimRun& run, const std::string& module) {
    std::vector<std::string> commands;
    for (const Json& call : SafCalls(run, module)) {
        commands.push_back(call.at("arguments").at("command"));
    }
    return commands;
}

std::vector<std::string> BracketFaults(const HostSimRun& run, const std::string& module) {
    std::vector<std::string> faults;
    enum class Bracket { None, Open, FailedOpen } state = Bracket::None;
    std::size_t index = 0;
    for (const Json& call : SafCalls(run, module)) {
        const std::string command = call.at("arguments").at("command");
        const bool succeeded = call.at("result") == 0;
        const std::string where = "call " + std::to_string(++index) + " '" + command + "': ";
        if (command == "LADA") {
            if (state == Bracket::Open) {
                faults.push_back(where + "opened while the previous bracket was still open");
            }
            state = succeeded ? Bracket::Open : Bracket::FailedOpen;
        } else if (state == Bracket::FailedOpen) {
            faults.push_back(where + "made after a failed 'LADA'");
        } else if (state == Bracket::None) {
            faults.push_back(where + "made outside a bracket");
        } else if (command == "FADA") {
            state = Bracket::None;
        }
    }
    if (state == Bracket::Open) {
        faults.push_back("the last 'LADA' was never closed");
    }
    return faults;
}

void ExpectMenusAnsweredZeroWithoutLeaks(const HostSimRun& run) {
    const std::vector<Json> menus = run.EventsWhere("menu", "module", AddOnModuleName);
    const std::vector<Json> counts = run.EventsWhere("allocations", "after", "menu");
    EXPECT_FALSE(menus.empty());
    EXPECT_EQ(counts.size(), menus.size());
    for (const Json& menu : menus) {
        EXPECT_EQ(menu.at("result"), 0) << menu;
    }
    for (const Json& count : counts) {
        EXPECT_EQ(count.at("liveBlocks"), 0) << count;
        EXPECT_EQ(count.at("liveBytes"), 0) << count;
    }
}

} // namespace Scenarios
