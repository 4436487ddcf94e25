#pragma once

#include "Program/SafSummary.hpp"
#include "SafRules/CheckFinding.hpp"

#include <optional>
#include <string>

namespace AnalysisApp {

enum class WorkbookVerdict { Summarised, NoWorkbook, NotSaf };

struct WorkbookCheck {
    WorkbookVerdict verdict = WorkbookVerdict::NoWorkbook;
    std::optional<SafSummary> summary;
    std::optional<CheckReport> check; // the SAF checker's findings, for a workbook that could be opened
    std::string message;              // one line for the user
};

// Opens the workbook at a UTF-8 path, reads it as SAF and checks it.
WorkbookCheck CheckWorkbook(const std::string& utf8Path);

// 0 summarised, 2 no workbook at the path, 3 a file that is not a SAF workbook.
int ExitCodeOf(WorkbookVerdict verdict);

} // namespace AnalysisApp
