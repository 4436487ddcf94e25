#pragma once

#include "Program/SafSummary.hpp"
#include "SafRules/CheckFinding.hpp"
#include "Spreadsheet/SpreadsheetPackage.hpp"

#include <filesystem>
#include <string_view>

// The SAF checker: a workbook held against the tables of its SAF version (SafRules.hpp) as a careful
// reader would: every sheet the table defines, and in it the required columns and cells (with their
// conditions), enumeration values, numbers where numbers belong, units that agree with the Model's
// system of units, names that resolve, edge indices, and names and Ids that are unique; then the
// faults of the model no column shows (SafModelFaults.cpp). A sheet the table does not define is a
// warning, and the report counts the sheets and objects read. It accepts what SAF allows readers to
// be lenient about: header case and punctuation, units left out, lists with "; ", numbers stored as
// text where a column takes text as well. Sheets are read row by row, twice: first the sheets that
// others refer to, for their names, then every sheet for the findings, so that a reference to a sheet
// further on resolves too.
namespace AnalysisApp {

CheckReport CheckSafWorkbook(const SpreadsheetPackage& package);

// The summary ReadSafWorkbook gives and the check, from the check's two passes over the sheets
// instead of three: what VeldEngineer.exe does with the workbook it is started on.
struct SummaryAndCheck {
    SafReading reading;
    CheckReport check;
};
SummaryAndCheck SummariseAndCheck(const SpreadsheetPackage& package);
CheckReport CheckSafWorkbookFile(const std::filesystem::path& path, ReadProgress progress = {});
CheckReport CheckSafWorkbookBytes(std::string_view bytes);

} // namespace AnalysisApp
