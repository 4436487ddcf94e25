#include "SpreadsheetPackage.hpp"

#include "RichText.hpp"
#include "XmlPullParser.hpp"

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

constexpr std::size_t LastRow = 1048576;
constexpr std::size_t LastColumn = 16383; // XFD

// "B12" is a cell of row 12: its digits after the letters.
bool RowOfReferenceIs(std::string_view reference, std::size_t row) {
    const std::size_t digits = reference.find_first_of("0123456789");
    return digits != std::string_view::npos && ParseNumber(reference.substr(digits)) == row;
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

// The two plain forms most writers give a cell's content, read with the cell's end in one step.
const XmlPlainRun PlainValue("<v>", "</v></c>");
const XmlPlainRun PlainInlineString("<is><t>", "</t></is></c>");

} // namespace

// Walks one worksheet part and hands out its rows with a non-empty cell. A cell without a reference
// follows the one before it; a row without a number follows the row before it.
class SheetRowReader::Walker {
public:
    Walker(XmlInput& input, const SharedStringTable& strings) : parser(input), sharedStrings(strings) {}

    // True with a row; false at the end or on an error (then `failure` says what).
    bool Next(SheetRow& out, std::string& failure) {
        for (const XmlEvent* next = &parser.NextEvent(); next->kind != XmlEventKind::Done;
             next = &parser.NextEvent()) {
            const XmlEvent& event = *next;
            switch (event.kind) {
            case XmlEventKind::Error:
                failure = event.text;
                return false;
            case XmlEventKind::Start:
                StartElement(event, failure);
                if (!failure.empty()) {
                    return false;
                }
                break;
            case XmlEventKind::End:
                if (EndElement(event.name, failure)) {
                    return HandOver(out, failure);
                }
                if (!failure.empty()) {
                    return false;
                }
                break;
            case XmlEventKind::Text:
                TextOf(event.text);
                break;
            case XmlEventKind::Done:
                break;
            }
        }
        return false;
    }

private:
    // A complete row (or an error) is ready: true with the row in `out`.
    bool HandOver(SheetRow& out, const std::string& failure) {
        if (!failure.empty()) {
            return false;
        }
        // The caller's row gives its cells' room to the next row.
        std::swap(out, row);
        row.number = out.number;
        row.cells.clear();
        return true;
    }

    // A start tag never completes a row; `failure` says when the cell it begins cannot be read.
    void StartElement(const XmlEvent& event, std::string& failure) {
        const Tag tag = TagOf(event.name);
        if (tag == Tag::Row) {
            const std::string_view reference = event.AttributeView("r");
            const std::optional<std::size_t> number = ParseNumber(reference);
            if (!reference.empty() && (!number || *number <= row.number || *number > LastRow)) {
                failure = "row \"" + std::string(reference) + "\" after row " + std::to_string(row.number) +
                          ": rows are numbered 1 to " + std::to_string(LastRow) + " in increasing order";
                return;
            }
            row.number = number.value_or(row.number + 1);
            if (row.number > LastRow) {
                failure = "more than " + std::to_string(LastRow) + " rows";
                return;
            }
            row.cells.clear();
            nextColumn = 0;
        } else if (tag == Tag::Cell) {
            const std::string_view reference = event.AttributeView("r");
            const std::optional<std::size_t> column = ColumnOfReference(reference);
            cellColumn = column.value_or(nextColumn);
            // A cell is placed by its reference or after the one before it, left to right, within XFD.
            if ((!reference.empty() && (!column || !RowOfReferenceIs(reference, row.number))) ||
                cellColumn < nextColumn || cellColumn > LastColumn) {
                failure = "row " + std::to_string(row.number) + ": cell \"" + std::string(reference) +
                          "\" is no cell of this row after column " + std::to_string(nextColumn) +
                          " within A to XFD";
                return;
            }
            cellType = CellTypeOf(event.AttributeView("t"));
            valueText.clear();
            inlineText.Take();
            // Most writers write a cell's content the plain way: read it and the cell's end in one step.
            if (parser.ReadPlainContent(PlainValue, valueText)) {
                EndElement("c", failure);
            } else if (parser.ReadPlainContent(PlainInlineString, valueText)) {
                inlineText.Start("t");
                inlineText.Text(valueText);
                inlineText.End("t");
                valueText.clear();
                EndElement("c", failure);
            }
        } else if (tag == Tag::Value) {
            ++valueDepth;
        } else if (tag == Tag::InlineString) {
            ++inlineDepth;
        } else if (inlineDepth > 0) {
            inlineText.Start(event.name);
        }
    }

    // True when a row with cells is complete.
    bool EndElement(std::string_view name, std::string& failure) {
        const Tag tag = TagOf(name);
        if (tag == Tag::Value && valueDepth > 0) {
            --valueDepth;
        } else if (tag == Tag::InlineString && inlineDepth > 0) {
            --inlineDepth;
        } else if (inlineDepth > 0) {
            inlineText.End(name);
        } else if (tag == Tag::Cell) {
            SheetCell cell{
                cellColumn, {}, cellType != CellType::Number && cellType != CellType::Other, false, {}};
            if (cellType == CellType::SharedString) {
                const std::optional<std::size_t> index = ParseNumber(valueText);
                if (!index || *index >= sharedStrings.size()) {
                    failure = "row " + std::to_string(row.number) + ": shared string \"" + valueText +
                              "\" does not exist";
                    return true;
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
        } else if (tag == Tag::Row) {
            if (!row.cells.empty()) {
                return true;
            }
        }
        return false;
    }

    void TextOf(const std::string& text) {
        if (valueDepth > 0) {
            valueText += text;
        } else if (inlineDepth > 0) {
            inlineText.Text(text);
        }
    }

    XmlPullParser parser;
    const SharedStringTable& sharedStrings;
    SheetRow row;
    std::size_t nextColumn = 0;
    std::size_t cellColumn = 0;
    CellType cellType = CellType::Number;
    std::string valueText;
    int valueDepth = 0;
    int inlineDepth = 0;
    RichTextCollector inlineText;
};

SheetRowReader::SheetRowReader(const SpreadsheetPackage& package, std::string_view sheetName)
    : sheet(sheetName), part(package.SheetPart(sheetName)), input(package.OpenSheet(sheetName, error)) {
    if (input) {
        walker = std::make_unique<Walker>(*input, package.SharedStrings());
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
