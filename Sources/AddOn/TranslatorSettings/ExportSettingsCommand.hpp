#pragma once

#include "GSTypes.hpp"

// Menu item 2, and the first button of the open command's translator warning: the export settings
// dialog. Returns 0 when the dialog was closed through OK, -7004 otherwise; both callers drop it.
GSErrCode RunExportSettingsDialog();
