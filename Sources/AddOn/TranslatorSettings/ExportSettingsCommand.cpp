#include "ExportSettingsCommand.hpp"

#include "TranslatorSettings/ExportSettingsDialog.hpp"

namespace {
// The dialog was closed without OK.
constexpr GSErrCode NotAccepted = -7004;
} // namespace

GSErrCode RunExportSettingsDialog() {
    VELDIO::ExportSettingsDialog dialog;
    return dialog.Invoke() ? NoError : NotAccepted;
}
