#include "OpenInAnalysisApplication.hpp"

#include "AddOnMain.hpp"
#include "ModelHandOff/AnalysisApplicationLocator.hpp"
#include "ModelHandOff/WorkbookExport.hpp"
#include "TranslatorSettings/ExportSettingsCommand.hpp"
#include "TranslatorSettings/SafTranslatorBridge.hpp"
#include "TranslatorSettings/TranslatorStore.hpp"
#include "UtilityFunctions.hpp"

#include "ApplicationLauncher.hpp"
#include "Array.hpp"
#include "DGAlert.hpp"
#include "DontShowAgainDialogUtils.hpp"

#include <optional>

namespace {

// The command's own failures: every one ends in an alert of ours.
constexpr GSErrCode CommandFailed = -7003;
constexpr Int16 InformationDialogId = 7000;

// Indexes into the alert string list.
namespace Text {
constexpr Int16 NotInstalled = 2;
constexpr Int16 InstallAdvice = 3;
constexpr Int16 SaveFailed = 4;
constexpr Int16 SaveAdvice = 5;
constexpr Int16 LaunchFailed = 6;
constexpr Int16 LaunchAdvice = 7;
constexpr Int16 NoTranslator = 9;
constexpr Int16 WhereToFix = 10;
constexpr Int16 OpenSettings = 11;
constexpr Int16 Cancel = 12;
} // namespace Text

// The user has to choose a translator first; the first button takes them to the settings. The open
// command does not resume afterwards: the user starts it again.
void ShowTranslatorWarning() {
    const DG::AlertResponse response = DG::WarningAlert(
        GetResourceString(Text::NoTranslator), GetResourceString(Text::WhereToFix),
        GetResourceString(Text::OpenSettings), GetResourceString(Text::Cancel), GS::UniString());
    if (response == DG::FirstButton) {
        static_cast<void>(RunExportSettingsDialog());
    }
}

bool IsTranslatorSelected() {
    const std::optional<GS::UniString> translatorName = ReadTranslatorName();
    return translatorName.has_value() && SelectTranslator(*translatorName);
}

// The one guarded call: whatever the launcher throws becomes the command's own failure.
GSErrCode Launch(const IO::Location& application, const GS::Array<GS::UniString>& arguments) {
    try {
        return IO::Process::ApplicationLauncher::Instance().Launch(application, arguments,
                                                                   IO::Process::LaunchMode::SeparateProcess,
                                                                   IO::Process::LaunchOption::DoNotWait);
    } catch (...) {
        return CommandFailed;
    }
}

} // namespace

GSErrCode OpenInAnalysisApplication() {
    const std::optional<IO::Location> application = GetAnalysisApplicationLocation();
    if (!application.has_value()) {
        ShowErrorAlert(Text::NotInstalled, Text::InstallAdvice);
        return CommandFailed;
    }

    if (!IsTranslatorSelected()) {
        ShowTranslatorWarning();
        return CommandFailed;
    }

    GS::Array<GS::UniString> arguments;
    const IO::Location workbook = GetWorkbookLocation();
    if (!IsWorkbookLocationUsable(workbook)) {
        ShowErrorAlert(Text::SaveFailed, Text::SaveAdvice);
        return CommandFailed;
    }
    const GSErrCode saved = ExportModelToSAF(workbook);
    if (saved != NoError) {
        ShowErrorAlert(Text::SaveFailed, Text::SaveAdvice);
        return saved;
    }

    GS::UniString workbookPath;
    static_cast<void>(workbook.ToPath(&workbookPath));
    arguments.Push(workbookPath);

    const GSErrCode launched = Launch(*application, arguments);
    if (launched != NoError) {
        ShowErrorAlert(Text::LaunchFailed, Text::LaunchAdvice);
        return launched;
    }

    UD::DontShowAgainDialogUtils::InvokeDontShowAgainDialog(GetDialogResourceModule(), InformationDialogId,
                                                            GS::UniString(InfoDialogKey),
                                                            GetDialogResourceModule());
    return NoError;
}
