#include "ExportSettingsCommand.hpp"

GSErrCode RunExportSettingsDialog() {
    // The command's body arrives with the translator settings work.
    return NoError;
}
