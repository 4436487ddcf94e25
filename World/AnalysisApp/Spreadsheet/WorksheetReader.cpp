#include "Spreadsheet/SpreadsheetPackage.hpp"

#include "Spreadsheet/RichText.hpp"
#include "Xml/XmlReader.hpp"

#include <algorithm>
#include <charconv>

namespace AnalysisApp {
namespace {

std::optional<std::size_t> ParseNumber(std::string_view text) {
    std::size_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Why a row with this reference cannot follow row `last`; its number in `number` when it can. A row
// without a reference follows the row before it.
std::optional<Misplacement> PlaceRow(std::string_view reference, std::size_t last, std::size_t& number) {
    if (reference.empty()) {
        number = last + 1;
        return number > LastRow ? std::optional(Misplacement::RowBeyondLast) : std::nullopt;
    }
    if (!AllDigits(reference)) {
        return Misplacement::RowNotANumber;
    }
    const std::optional<std::size_t> parsed = ParseNumber(reference);
    if (!parsed || *parsed > LastRow) {
        return Misplacement::RowBeyondLast; // digits too many for any number are beyond it too
    }
    if (*parsed == 0) {
        return Misplacement::RowNotANumber;
    }
    if (*parsed <= last) {
        return *parsed == last ? Misplacement::RowRepeated : Misplacement::RowBackwards;
    }
    number = *parsed;
    return std::nullopt;
}

// Why a cell with this reference cannot stand in `row` after the cells before it (the last in column
// `nextColumn` - 1); its column in `column` when it can. A cell without a reference follows the one
// before it.
std::optional<Misplacement> PlaceCell(std::string_view reference, std::size_t row, std::size_t nextColumn,
                                      std::size_t& column) {
    if (reference.empty()) {
        column = nextColumn;
        return column > LastColumn ? std::optional(Misplacement::CellBeyondLast) : std::nullopt;
    }
    // One pass over the reference: its letters, then its digits, then nothing.
    std::size_t digits = 0;
    while (digits < reference.size() && ((reference[digits] >= 'A' && reference[digits] <= 'Z') ||
                                         (reference[digits] >= 'a' && reference[digits] <= 'z'))) {
        ++digits;
    }
    std::size_t end = digits;
    while (end < reference.size() && reference[end] >= '0' && reference[end] <= '9') {
        ++end;
    }
    if (digits == 0 || end == digits || end != reference.size()) {
        return Misplacement::CellNotAReference;
    }
    const std::optional<std::size_t> found = ColumnOfReference(reference);
    if (!found) {
        return Misplacement::CellBeyondLast;
    }
    if (ParseNumber(reference.substr(digits)) != row) {
        return Misplacement::CellOfAnotherRow;
    }
    if (*found < nextColumn) {
        return Misplacement::CellLeftOfPrevious;
    }
    column = *found;
    return std::nullopt;
}

// The elements of a worksheet the walker acts on, told apart without comparing whole strings.
enum class Tag { Row, Cell, Value, InlineString, Other };

Tag TagOf(std::string_view name) {
    switch (name.size()) {
    case 1:
        return name[0] == 'c' ? Tag::Cell : name[0] == 'v' ? Tag::Value : Tag::Other;
    case 2:
        return name == "is" ? Tag::InlineString : Tag::Other;
    case 3:
        return name == "row" ? Tag::Row : Tag::Other;
    default:
        return Tag::Other;
    }
}

// How a cell stores its value (its t attribute).
enum class CellType { Number, SharedString, InlineString, FormulaString, Other };

CellType CellTypeOf(std::string_view type) {
    if (type.empty() || type == "n") {
        return CellType::Number;
    }
    if (type == "s") {
        return CellType::SharedString;
    }
    if (type == "inlineStr") {
        return CellType::InlineString;
    }
    return type == "str" ? CellType::FormulaString : CellType::Other;
}

} // namespace

// Walks one worksheet part and hands out its rows with a non-empty cell, pausing the XML reader at the
// end of each. A cell without a reference follows the one before it; a row without a number follows
// the row before it.
class SheetRowReader::Walker final : public XmlHandler {
public:
    Walker(XmlInput& input, const SharedStringTable& strings, const SkippedPlaceListener& skipped)
        : reader(input, *this), sharedStrings(strings), onSkipped(skipped) {}

    // True with a row; false at the end or on an error (then `failure` says what).
    bool Next(SheetRow& out, std::string& failure) {
        const XmlReader::Status status = reader.Read();
        if (!problem.empty()) {
            failure = problem;
            return false;
        }
        if (status != XmlReader::Status::Paused) {
            failure = reader.Error();
            return false;
        }
        // The caller's row gives its cells' room to the next row.
        std::swap(out, row);
        row.number = out.number;
        row.cells.clear();
        return true;
    }

    void StartElement(std::string_view name, const XmlAttributes& attributes) override {
        if (skipDepth > 0) {
            ++skipDepth;
            return;
        }
        const Tag tag = TagOf(name);
        if (tag == Tag::Row) {
            // A row that cannot be placed is skipped with its cells; the next row without a number
            // follows the last row read.
            const std::string_view reference = attributes.Value("r");
            std::size_t number = 0;
            if (const std::optional<Misplacement> problemOfRow = PlaceRow(reference, row.number, number)) {
                Skip({*problemOfRow, reference, row.number, 0});
                return;
            }
            row.number = number;
            row.cells.clear();
            nextColumn = 0;
        } else if (tag == Tag::Cell) {
            // A cell is placed by its reference or after the one before it, left to right, within XFD.
            const std::string_view reference = attributes.Value("r");
            if (const std::optional<Misplacement> problemOfCell =
                    PlaceCell(reference, row.number, nextColumn, cellColumn)) {
                Skip({*problemOfCell, reference, row.number, nextColumn});
                return;
            }
            cellType = CellTypeOf(attributes.Value("t"));
            valueText.clear();
            inlineText.Take();
        } else if (tag == Tag::Value) {
            ++valueDepth;
        } else if (tag == Tag::InlineString) {
            ++inlineDepth;
        } else if (inlineDepth > 0) {
            inlineText.Start(name);
        }
    }

    void EndElement(std::string_view name) override {
        if (skipDepth > 0) {
            --skipDepth;
            return;
        }
        const Tag tag = TagOf(name);
        if (tag == Tag::Value && valueDepth > 0) {
            --valueDepth;
        } else if (tag == Tag::InlineString && inlineDepth > 0) {
            --inlineDepth;
        } else if (inlineDepth > 0) {
            inlineText.End(name);
        } else if (tag == Tag::Cell) {
            EndCell();
        } else if (tag == Tag::Row && !row.cells.empty()) {
            reader.Pause(); // a row with cells is complete: Next hands it out
        }
    }

    void Text(std::string_view text) override {
        if (skipDepth > 0) {
            return;
        }
        if (valueDepth > 0) {
            valueText += text;
        } else if (inlineDepth > 0) {
            inlineText.Text(text);
        }
    }

private:
    void EndCell() {
        SheetCell cell{
            cellColumn, {}, cellType != CellType::Number && cellType != CellType::Other, false, {}};
        if (cellType == CellType::SharedString) {
            const std::optional<std::size_t> index = ParseNumber(valueText);
            if (!index || *index >= sharedStrings.size()) {
                problem = "row " + std::to_string(row.number) + ": shared string \"" + valueText +
                          "\" does not exist";
                reader.Pause();
                return;
            }
            cell.isShared = true;
            cell.shared = sharedStrings[*index];
        } else if (cellType == CellType::InlineString) {
            cell.ownValue = inlineText.Take();
        } else {
            cell.ownValue = valueText;
        }
        if (!cell.Value().empty()) {
            row.cells.push_back(std::move(cell));
        }
        nextColumn = cellColumn + 1;
    }

    // Everything up to the end of the element just begun is left unread.
    void Skip(const SkippedPlace& place) {
        skipDepth = 1;
        if (onSkipped) {
            onSkipped(place);
        }
    }

    XmlReader reader;
    const SharedStringTable& sharedStrings;
    const SkippedPlaceListener& onSkipped;
    std::string problem;       // what ends the sheet that is not the XML's fault
    std::size_t skipDepth = 0; // elements open in a skipped row or cell, itself included
    SheetRow row;
    std::size_t nextColumn = 0;
    std::size_t cellColumn = 0;
    CellType cellType = CellType::Number;
    std::string valueText;
    int valueDepth = 0;
    int inlineDepth = 0;
    RichTextCollector inlineText;
};

SheetRowReader::SheetRowReader(const SpreadsheetPackage& package, std::string_view sheetName,
                               SkippedPlaceListener skipped)
    : sheet(sheetName), part(package.SheetPart(sheetName)), onSkipped(std::move(skipped)),
      input(package.OpenSheet(sheetName, error)) {
    if (input) {
        walker = std::make_unique<Walker>(*input, package.SharedStrings(), onSkipped);
    }
}

SheetRowReader::~SheetRowReader() = default;

bool SheetRowReader::Next(SheetRow& row) {
    if (!walker || !error.empty()) {
        return false;
    }
    std::string failure;
    if (walker->Next(row, failure)) {
        return true;
    }
    if (!failure.empty()) {
        error = "sheet " + sheet + " (" + part + "): " + failure;
        walker.reset();
    }
    return false;
}

std::unique_ptr<XmlInput> SpreadsheetPackage::OpenSheet(std::string_view name, std::string& error) const {
    const auto found = sheetIndex.find(std::string(name));
    if (found == sheetIndex.end()) {
        error = "the workbook has no sheet " + std::string(name);
        return nullptr;
    }
    const std::string& part = sheetParts[found->second];
    if (part.empty()) {
        error = "sheet " + std::string(name) + " has no part in the workbook's relationships";
        return nullptr;
    }
    return OpenPart(part, error);
}

std::optional<SheetTable> SpreadsheetPackage::ReadSheet(std::string_view name, std::string& error) const {
    SheetRowReader reader(*this, name);
    SheetTable table{std::string(name), {}};
    SheetRow row;
    while (reader.Next(row)) {
        // A table may outlive the package: its cells keep their own copies of shared strings.
        for (SheetCell& cell : row.cells) {
            if (cell.isShared) {
                cell.ownValue.assign(cell.shared);
                cell.isShared = false;
            }
        }
        table.rows.push_back(std::move(row));
    }
    if (!reader.Error().empty()) {
        error = reader.Error();
        return std::nullopt;
    }
    return table;
}

} // namespace AnalysisApp
