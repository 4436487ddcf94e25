#include "SafRules/WorkbookChecker.hpp"

namespace AnalysisApp {
namespace {

// A row number as written, without the leading zeros that do not change it ("007" is row 7).
std::string_view WithoutLeadingZeros(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? digits.substr(digits.size() - 1) : digits.substr(first);
}

} // namespace

std::string DescribeSkippedPlace(const SkippedPlace& place) {
    const std::string rowNumber = std::to_string(place.row); // the row it stands in or follows
    const std::string lastRow = std::to_string(LastRow);
    const std::string lastColumn = "XFD";
    const std::string rowSkipped = "; its cells were not read";
    switch (place.what) {
    case Misplacement::RowNotANumber:
        return "row " + Quoted(place.reference) + " is not a row number (rows are numbered 1 to " + lastRow +
               ")" + rowSkipped;
    case Misplacement::RowBeyondLast:
        if (place.reference.empty()) {
            return "the row after row " + rowNumber + " lies beyond the last row" + rowSkipped;
        }
        return "row " + Quoted(place.reference) + " lies beyond row " + lastRow + ", the last row" +
               rowSkipped;
    case Misplacement::RowBackwards:
        return "row " + std::string(WithoutLeadingZeros(place.reference)) + " comes after row " + rowNumber +
               ": rows go in increasing order" + rowSkipped;
    case Misplacement::RowRepeated:
        return "row " + rowNumber + " appears twice: the first one is read, the second one's cells were not";
    case Misplacement::CellNotAReference:
        return "cell " + Quoted(place.reference) + " in row " + rowNumber +
               " is no cell reference (column letters, then the row, as \"B2\"); not read";
    case Misplacement::CellBeyondLast:
        if (place.reference.empty()) {
            return "the cell after " + CellName(LastColumn, place.row) + " lies beyond column " + lastColumn +
                   ", the last column; not read";
        }
        return "cell " + Quoted(place.reference) + " lies beyond column " + lastColumn +
               ", the last column; not read";
    case Misplacement::CellOfAnotherRow:
        if (place.row == 0) {
            return "cell " + Quoted(place.reference) + " stands outside any row; not read";
        }
        return "cell " + Quoted(place.reference) + " stands in row " + rowNumber +
               ", which is not its row; not read";
    case Misplacement::CellLeftOfPrevious:
        return "cell " + Quoted(place.reference) + " comes after " +
               CellName(place.nextColumn - 1, place.row) +
               ": a row's cells go from left to right, each once; not read";
    }
    return "a place that could not be read";
}

SkippedPlaceListener WorkbookChecker::SkippedPlaceFindings() {
    return [this](const SkippedPlace& place) {
        const std::string& sheet = package.SheetNames()[static_cast<std::size_t>(currentSheet)];
        AddInRow(place.row, {sheet, {}, Severity::Error, DescribeSkippedPlace(place)});
    };
}

} // namespace AnalysisApp
