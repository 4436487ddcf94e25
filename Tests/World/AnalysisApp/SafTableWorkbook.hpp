#pragma once

#include "SafRules/SafRules.hpp"
#include "TinySafWorkbook.hpp"

#include <cstddef>
#include <string>

// A workbook made from a SAF table alone: every sheet the table has, `objects` objects in each (four
// nodes at least), and
// every column of every sheet filled with a value its rule allows (names that resolve, the first value
// of each enumeration, numbers, dates, vectors, curves of two nodes and areas of four), so that it
// checks clean and any one change to it shows as the finding of that change. The tests plant faults
// in it; the benchmark makes its large workbooks with it.
namespace SafTableWorkbook {

// The header a column has in the workbook: its unit in brackets, an indexed column at index 1.
std::string HeaderOf(const AnalysisApp::ColumnRule& column);

// The name of object `row` (0 for the first) of the sheet at `sheetIndex` in the table.
std::string ObjectName(std::size_t sheetIndex, std::size_t row);

TinySafWorkbook::Workbook Make(const AnalysisApp::SafTable& table, std::size_t objects = 4);

} // namespace SafTableWorkbook
