#include "FailSweep.hpp"
#include "LifecycleRules.hpp"

// "Open in VELD Engineer..." with a stored translator and VELD Engineer installed, swept call by call.
namespace Sweep {
namespace {

std::set<Outcome> AllowedAfterFailing(const SweptCall& call) {
    if (std::optional<std::set<Outcome>> startUp = StartUpRules(call, Outcome::Exported)) {
        return *startUp;
    }
    const std::string& operation = call.operation;
    if (operation == "RSInitModuleImageCache") {
        return {Outcome::ExportedWithoutInformation}; // the information dialog is one of its resources
    }
    const bool safCall = call.kind == SweptCall::Kind::SafAnswer || operation == "HostCommandCall";
    const std::string command = call.kind == SweptCall::Kind::SafAnswer ? operation : call.detail;
    if (IsLocatorCall(operation)) {
        return {Outcome::ApplicationNotFound};
    }
    if ((operation == "HostObjectFind" || operation == "HostObjectRead") && call.ordinal == 1) {
        return {Outcome::TranslatorWarning}; // the stored name cannot be read
    }
    if (safCall && (command == "LADA" || command == "SSTD")) {
        return {Outcome::TranslatorWarning}; // the SAF add-on did not select the translator
    }
    if (safCall && command == "FADA") {
        // The selection was made before the bracket closed; whether a failed close undoes it is
        // the add-on's choice, and both end the way the rules allow.
        return {Outcome::Exported, Outcome::TranslatorWarning};
    }
    if (operation == "IO::Folder::Folder" || operation == "IO::File::File") {
        // The folder and file objects only name the workbook; whether it can be written is asked next.
        return {Outcome::Exported, Outcome::SaveFailed};
    }
    if (operation == "HostEnvironment" || operation == "IO::Location::IsLegalInNativeFileSystem" ||
        operation == "CanCreateOrWriteFile" || operation == "HostAutomate" || operation == "HostObjectFind" ||
        operation == "HostObjectRead") {
        // The workbook location, the name read again for the save record, and the save itself.
        return {Outcome::SaveFailed};
    }
    if (operation == "IO::Process::ApplicationLauncher::Launch") {
        return {Outcome::LaunchFailed};
    }
    if (operation == "UD::DontShowAgainDialogUtils::InvokeDontShowAgainDialog") {
        return {Outcome::ExportedWithoutInformation};
    }
    return {};
}

class OpenCommandSweep : public FailSweep {
protected:
    void SetUp() override {
        FailSweep::SetUp();
        RegisterInstallation();
        const std::filesystem::path project = root / "stored.json";
        // The translator is chosen and the project saved once, before the sweep: the swept run
        // only opens.
        Scenarios::HostSimRun choose =
            RunHostSim("menu 32500 2\nselect 4 2\nclick 1\nsave\nquit\n", {"--project", project.string()});
        ASSERT_EQ(choose.exitCode, 0) << choose.errors;
        KeepTemplate(project);
    }
};

TEST_F(OpenCommandSweep, EveryFailedCallEndsInAnAllowedAlertWithoutLeaksOpenBracketsOrAChangedProject) {
    const std::string projectBefore = Scenarios::ReadFile(templateProject);
    const Classifier classify = [&](const Step& step) {
        EXPECT_EQ(Scenarios::ReadFile(step.project), projectBefore)
            << step.folder << ": the open command wrote the project";
        return OpenCommandOutcome(step.run);
    };
    const std::size_t swept =
        SweepCalls("menu 32500 1\nclick 1\nquit\n",
                   {"--project", "{project}", "--special-folder", "{export}", "--model", DEMO_BUILDING_PATH},
                   Outcome::Exported, classify, AllowedAfterFailing);
    // Start-up, the locator twice, the translator read and its bracket, the save and the launch.
    EXPECT_GE(swept, 25u);
}

} // namespace
} // namespace Sweep
