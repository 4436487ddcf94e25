#include "FailSweep.hpp"
#include "LifecycleRules.hpp"

#include "ExportSettingsScenario.hpp"

#include <optional>

// "VELD Engineer Export Settings..." on a new project, a translator chosen with OK and the project
// saved, swept call by call.
namespace Sweep {
namespace {

// The translator name in the project's one add-on object ([name, content]): a 16-bit version, a
// 32-bit little-endian count of UTF-16 code units, then the code units (hex in the project file).
std::optional<std::string> StoredTranslatorName(const Scenarios::Json& objects) {
    if (objects.size() != 1 || objects[0][0] != "VELDExportTranslatorName") {
        return std::nullopt;
    }
    const std::string hex = objects[0][1];
    std::string bytes;
    for (std::size_t index = 0; index + 1 < hex.size(); index += 2) {
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(index, 2), nullptr, 16)));
    }
    if (bytes.size() < 6) {
        return std::nullopt;
    }
    std::size_t count = 0;
    for (std::size_t index = 0; index < 4; ++index) {
        count |= static_cast<std::size_t>(static_cast<unsigned char>(bytes[2 + index])) << (8 * index);
    }
    if (bytes.size() != 6 + 2 * count) {
        return std::nullopt;
    }
    std::string name;
    for (std::size_t unit = 0; unit < count; ++unit) {
        if (bytes[6 + 2 * unit + 1] != 0) {
            return std::nullopt; // the names offered here are ASCII
        }
        name.push_back(bytes[6 + 2 * unit]);
    }
    return name;
}

std::set<Outcome> AllowedAfterFailing(const SweptCall& call) {
    if (std::optional<std::set<Outcome>> startUp = StartUpRules(call, Outcome::Stored)) {
        return *startUp;
    }
    const std::string& operation = call.operation;
    const bool safCall = call.kind == SweptCall::Kind::SafAnswer || operation == "HostCommandCall";
    const std::string command = call.kind == SweptCall::Kind::SafAnswer ? operation : call.detail;
    if (safCall && command == "FADA") {
        return {Outcome::Stored}; // the list was filled before the bracket closed
    }
    if (safCall) {
        // No translators to offer: the pop-up holds only the disabled placeholder, OK stays off.
        return {Outcome::NothingStored};
    }
    if ((operation == "HostObjectFind" && call.ordinal == 1) ||
        operation == "DGRetrieveUserDataFromRegistry" || operation == "RSGetIndString_ParamAdapter") {
        // The stored name (there is none yet), the dialog's remembered size, the placeholder's text:
        // the choice is still made.
        return {Outcome::Stored};
    }
    if (operation == "RSInitModuleImageCache") {
        return {Outcome::NothingStored}; // without its resources the dialog cannot be built
    }
    if (operation == "DG::ModalDialog::Invoke") {
        return {Outcome::NothingStored}; // no dialog
    }
    if (operation == "HostObjectFind" || operation == "HostObjectCreate") {
        // The name that cannot be written: the user is told, and the dialog stays open on the choice.
        return {Outcome::StoreRefused};
    }
    if (operation.starts_with("DG::")) {
        // A dialog library that fails under the dialog: whatever the dialog then lets the user do,
        // the command stays silent and stores either the choice or nothing.
        return {Outcome::Stored, Outcome::NothingStored};
    }
    return {};
}

class ExportSettingsSweep : public FailSweep {
protected:
    void SetUp() override {
        FailSweep::SetUp();
        RegisterInstallation();
        // One run without a project, so that the SAF add-on's store exists in the template.
        Scenarios::HostSimRun first = RunHostSim("quit\n");
        ASSERT_EQ(first.exitCode, 0) << first.errors;
        KeepTemplate({});
    }
};

TEST_F(ExportSettingsSweep,
       EveryFailedCallStoresTheChoiceOrNothingAndARefusedStoreIsToldWithoutLeaksOrOpenBrackets) {
    std::vector<std::string> storedNames;
    const Classifier classify = [&](const Step& step) {
        const Scenarios::Json objects = ProjectObjects(step.project, step.folder.string());
        if (objects.is_null() || objects.empty()) {
            storedNames.push_back({});
            return SettingsOutcome(step.run, false);
        }
        // What is stored must be what the dialog showed selected when OK closed it (a failure may
        // change the list, and the script picks by position).
        const std::vector<Scenarios::Json> views = Scenarios::SettingsViews(step.run);
        const std::optional<std::string> name = StoredTranslatorName(objects);
        storedNames.push_back(name.value_or("<unreadable>"));
        if (objects.size() != 1 || !name || views.empty() || *name != Scenarios::SelectedText(views.back())) {
            return Outcome::Unrecognised;
        }
        return SettingsOutcome(step.run, true);
    };
    const std::size_t swept =
        SweepCalls("menu 32500 2\nselect 4 2\nclick 1\nsave\nquit\n", {"--project", "{project}"},
                   Outcome::Stored, classify, AllowedAfterFailing);
    ASSERT_FALSE(storedNames.empty());
    EXPECT_EQ(storedNames.front(), "Structural Analysis (SI)") << "the clean run stores its choice";
    EXPECT_GE(swept, 15u);
}

} // namespace
} // namespace Sweep
