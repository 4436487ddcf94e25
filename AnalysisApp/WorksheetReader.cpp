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

// Walks one worksheet part and gathers its non-empty cells. A cell without a reference follows the
// one before it; a row without a number follows the row before it.
class WorksheetWalker {
public:
    explicit WorksheetWalker(const std::vector<std::string>& strings) : sharedStrings(strings) {}

    std::string Walk(std::string_view xml, SheetTable& table) {
        XmlPullParser parser(xml);
        for (XmlEvent event = parser.Next(); event.kind != XmlEventKind::Done; event = parser.Next()) {
            std::string error;
            switch (event.kind) {
            case XmlEventKind::Error:
                return event.text;
            case XmlEventKind::Start:
                StartElement(event);
                break;
            case XmlEventKind::End:
                error = EndElement(event.name, table);
                break;
            case XmlEventKind::Text:
                TextOf(event.text);
                break;
            case XmlEventKind::Done:
                break;
            }
            if (!error.empty()) {
                return error;
            }
        }
        return {};
    }

private:
    void StartElement(const XmlEvent& event) {
        if (event.name == "row") {
            const std::optional<std::size_t> number = ParseNumber(event.Attribute("r"));
            row = SheetRow{number.value_or(row.number + 1), {}};
            nextColumn = 0;
        } else if (event.name == "c") {
            const std::string reference = event.Attribute("r");
            const std::optional<std::size_t> column = ColumnOfReference(reference);
            cellColumn = column.value_or(nextColumn);
            cellType = event.Attribute("t");
            valueText.clear();
            inlineText.Take();
        } else if (event.name == "v") {
            ++valueDepth;
        } else if (event.name == "is") {
            ++inlineDepth;
        } else if (inlineDepth > 0) {
            inlineText.Start(event.name);
        }
    }

    std::string EndElement(const std::string& name, SheetTable& table) {
        if (name == "v" && valueDepth > 0) {
            --valueDepth;
        } else if (name == "is" && inlineDepth > 0) {
            --inlineDepth;
        } else if (inlineDepth > 0) {
            inlineText.End(name);
        } else if (name == "c") {
            std::string value;
            if (cellType == "s") {
                const std::optional<std::size_t> index = ParseNumber(valueText);
                if (!index || *index >= sharedStrings.size()) {
                    return "row " + std::to_string(row.number) + ": shared string \"" + valueText +
                           "\" does not exist";
                }
                value = sharedStrings[*index];
            } else if (cellType == "inlineStr") {
                value = inlineText.Take();
            } else {
                value = valueText;
            }
            if (!value.empty()) {
                row.cells.push_back({cellColumn, std::move(value)});
            }
            nextColumn = cellColumn + 1;
        } else if (name == "row") {
            if (!row.cells.empty()) {
                table.rows.push_back(row);
            }
            row.cells.clear();
        }
        return {};
    }

    void TextOf(const std::string& text) {
        if (valueDepth > 0) {
            valueText += text;
        } else if (inlineDepth > 0) {
            inlineText.Text(text);
        }
    }

    const std::vector<std::string>& sharedStrings;
    SheetRow row;
    std::size_t nextColumn = 0;
    std::size_t cellColumn = 0;
    std::string cellType;
    std::string valueText;
    int valueDepth = 0;
    int inlineDepth = 0;
    RichTextCollector inlineText;
};

} // namespace

std::optional<SheetTable> SpreadsheetPackage::ReadSheet(std::string_view name, std::string& error) const {
    const auto found = std::find(sheetNames.begin(), sheetNames.end(), name);
    if (found == sheetNames.end()) {
        error = "the workbook has no sheet " + std::string(name);
        return std::nullopt;
    }
    const std::string& part = sheetParts[static_cast<std::size_t>(found - sheetNames.begin())];
    if (part.empty()) {
        error = "sheet " + std::string(name) + " has no part in the workbook's relationships";
        return std::nullopt;
    }
    const std::optional<std::string> xml = ReadPart(part, error);
    if (!xml) {
        return std::nullopt;
    }
    SheetTable table{std::string(name), {}};
    WorksheetWalker walker(sharedStrings);
    error = walker.Walk(*xml, table);
    if (!error.empty()) {
        error = "sheet " + std::string(name) + ": " + error;
        return std::nullopt;
    }
    return table;
}

} // namespace AnalysisApp
