#pragma once

#include "SafRules/SafRules.hpp"
#include "TinySafWorkbook.hpp"

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

// A workbook made from a SAF table alone: the sheets asked for, with as many objects as asked, and
// every column of every sheet filled with a value its rule allows (names that resolve, the first value
// of each enumeration, numbers, dates, vectors, curves of two nodes and areas of four), so that it
// checks clean and any one change to it shows as the finding of that change. The tests plant faults
// in it; the benchmarks write large ones of it to a file (SafTableWorkbookFile.hpp).
namespace SafTableWorkbook {

// How many objects each object sheet holds; an object sheet not named is left out of the workbook
// (the table's key/value sheets, Project and Model, are always in it).
using ObjectCounts = std::map<std::string, std::size_t, std::less<>>;

// Every object sheet of the table with `objects` objects (four nodes at least: areas name four).
ObjectCounts EverySheet(const AnalysisApp::SafTable& table, std::size_t objects);

// `members` curve members in a chain of members + 1 nodes, each member loaded by a line load and
// hinged, on a few materials, cross-sections, load groups, load cases and combinations.
ObjectCounts LoadedAndHingedMembers(std::size_t members);

// The header a column has in the workbook: its unit in brackets, an indexed column at index 1.
std::string HeaderOf(const AnalysisApp::ColumnRule& column);

// The name of object `row` (0 for the first) of the sheet at `sheetIndex` in the table.
std::string ObjectName(std::size_t sheetIndex, std::size_t row);

// The rows of the workbook's sheets, one at a time: a row depends only on its sheet and number (and
// Ids on the rows made before), so that a writer can stream any number of them.
class RowMaker {
public:
    RowMaker(const AnalysisApp::SafTable& table, ObjectCounts counts);

    // The sheets the workbook holds, in the table's order.
    const std::vector<const AnalysisApp::SheetRule*>& Sheets() const { return sheets; }
    // The number of rows of a sheet below its header (for a key/value sheet: its rows).
    std::size_t ObjectsOf(const AnalysisApp::SheetRule& sheet) const;
    // The header row of an object sheet.
    std::vector<TinySafWorkbook::Cell> Header(const AnalysisApp::SheetRule& sheet) const;
    // Row `row` (0 for the first) below the header; a key/value sheet's row `row` as key and value.
    std::vector<TinySafWorkbook::Cell> Row(const AnalysisApp::SheetRule& sheet, std::size_t row);

private:
    TinySafWorkbook::Cell ValueOf(const AnalysisApp::SheetRule& sheet, const AnalysisApp::ColumnRule& column,
                                  std::size_t row);
    // The object a reference of object `row` names in `sheet`: spread over its objects.
    std::string NameIn(const std::string& sheet, std::size_t row) const;
    // The first of the column's targets the workbook holds objects of; none when it holds none.
    const std::string* TargetOf(const AnalysisApp::ColumnRule& column) const;

    const AnalysisApp::SafTable& table;
    ObjectCounts counts;
    std::vector<const AnalysisApp::SheetRule*> sheets;
    std::size_t ids = 0;
};

TinySafWorkbook::Workbook Make(const AnalysisApp::SafTable& table, std::size_t objects = 4);
TinySafWorkbook::Workbook Make(const AnalysisApp::SafTable& table, const ObjectCounts& counts);

} // namespace SafTableWorkbook
