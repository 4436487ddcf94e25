#pragma once

#include "GSTypes.hpp"
#include "Location.hpp"

// The SAF workbook that the analysis application opens: always "ACToVELDEngineer.xlsx" in the host's
// export folder (special folder 7), written by the host's own SAF export.

// The workbook's location. Composed whether or not the folder or the file exists; creates nothing.
IO::Location GetWorkbookLocation();

// True when a workbook can be written at `location`: a path legal in the native file system, and a
// file that exists and is writable, or can be created.
bool IsWorkbookLocationUsable(const IO::Location& location);

// Has the host save the open project as a SAF workbook at `location`, converted by the translator
// stored in the project. Returns the host's code: 0 when the workbook was written.
GSErrCode ExportModelToSAF(const IO::Location& location);
