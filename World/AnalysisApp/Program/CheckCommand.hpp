#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace AnalysisApp {

// VeldEngineer.exe --check [--json] WORKBOOK...: every workbook checked against SAF, each finding as
// "FILE: SHEET!CELL: severity: message" in the order of the workbook, closed by "FILE: checked S sheets,
// O objects: N errors, M warnings"; or with --json one JSON array with an object per workbook. 0 when no
// workbook has an error, 1 when one has, 2 when a file is not a readable workbook. `files` is not empty. With
// `showProgress`, each workbook's reading is followed on `progressOut` by a progress line.
int RunCheckCommand(const std::vector<std::string>& files, bool json, std::ostream& out, bool showProgress,
                    std::ostream& progressOut);

} // namespace AnalysisApp
