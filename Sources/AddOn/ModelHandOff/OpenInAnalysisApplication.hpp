#pragma once

#include "GSTypes.hpp"

// Menu item 1: hands the open project to the analysis application. Returns 0, -7003 when it ends in
// an alert of its own, or the host's code; the menu handler drops the result.
GSErrCode OpenInAnalysisApplication();
