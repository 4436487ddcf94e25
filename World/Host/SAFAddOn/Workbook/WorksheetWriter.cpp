#include "WorksheetWriter.hpp"

#include "NumberText.hpp"
#include "XmlText.hpp"

#include <algorithm>
#include <charconv>

namespace SafWorkbook {
namespace {

constexpr std::size_t FlushSize = 128 * 1024;

void AppendWidth(std::string& out, double width) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, width);
    out.append(text, result.ptr);
}

bool NeedsPreservedSpace(std::string_view text) {
    const auto isSpace = [](char character) {
        return character == ' ' || character == '\t' || character == '\n';
    };
    return !text.empty() && (isSpace(text.front()) || isSpace(text.back()));
}

} // namespace

std::string ColumnLetters(std::size_t column) {
    std::string letters;
    std::size_t rest = column + 1;
    while (rest > 0) {
        const std::size_t digit = (rest - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + digit));
        rest = (rest - 1) / 26;
    }
    return letters;
}

WorksheetWriter::WorksheetWriter(ZipStreamWriter& target, SharedStrings& shared,
                                 const std::vector<double>& widths, bool freezeHeaderRow)
    : zip(target), sharedStrings(shared) {
    buffer.reserve(FlushSize + 4096);
    buffer = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
             "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    if (freezeHeaderRow) {
        buffer += "<sheetViews><sheetView workbookViewId=\"0\"><pane ySplit=\"1\" topLeftCell=\"A2\" "
                  "activePane=\"bottomLeft\" state=\"frozen\"/></sheetView></sheetViews>";
    }
    if (!widths.empty()) {
        buffer += "<cols>";
        for (std::size_t index = 0; index < widths.size(); ++index) {
            const std::string number = std::to_string(index + 1);
            buffer += "<col min=\"" + number + "\" max=\"" + number + "\" width=\"";
            AppendWidth(buffer, widths[index]);
            buffer += "\" customWidth=\"1\"/>";
        }
        buffer += "</cols>";
    }
    buffer += "<sheetData>";
    for (std::size_t index = 0; index < std::max<std::size_t>(widths.size(), 2); ++index) {
        columnLetters.push_back(ColumnLetters(index));
    }
}

void WorksheetWriter::BeginRow() {
    ++rowNumber;
    rowText = std::to_string(rowNumber);
    column = 0;
    nextUnreferenced = 0;
    buffer += "<row r=\"";
    buffer += rowText;
    buffer += "\">";
}

void WorksheetWriter::OpenCell(CellStyle style, const char* type) {
    while (columnLetters.size() <= column) {
        columnLetters.push_back(ColumnLetters(columnLetters.size()));
    }
    buffer += "<c";
    if (column != nextUnreferenced) {
        buffer += " r=\"";
        buffer += columnLetters[column];
        buffer += rowText;
        buffer += '"';
    }
    nextUnreferenced = column + 1;
    if (style != CellStyle::General) {
        buffer += " s=\"";
        buffer += std::to_string(static_cast<int>(style));
        buffer += '"';
    }
    buffer += type;
    buffer += '>';
    ++column;
}

void WorksheetWriter::Text(std::string_view text, CellStyle style) {
    if (text.empty()) {
        Skip();
        return;
    }
    OpenCell(style, " t=\"inlineStr\"");
    buffer += NeedsPreservedSpace(text) ? "<is><t xml:space=\"preserve\">" : "<is><t>";
    AppendEscapedXml(buffer, text);
    buffer += "</t></is></c>";
}

void WorksheetWriter::Word(std::string_view text, CellStyle style) {
    if (text.empty()) {
        Skip();
        return;
    }
    const std::optional<std::uint32_t> index = sharedStrings.IndexOf(text);
    if (!index) {
        Text(text, style);
        return;
    }
    OpenCell(style, " t=\"s\"");
    buffer += "<v>";
    buffer += std::to_string(*index);
    buffer += "</v></c>";
}

void WorksheetWriter::Number(double value, CellStyle style) {
    OpenCell(style, "");
    buffer += "<v>";
    AppendNumber(buffer, value);
    buffer += "</v></c>";
}

void WorksheetWriter::Skip(std::size_t columns) {
    column += columns;
}

void WorksheetWriter::EndRow() {
    buffer += "</row>";
    FlushWhenFull();
}

void WorksheetWriter::FlushWhenFull() {
    if (buffer.size() >= FlushSize) {
        good = zip.Write(buffer) && good;
        buffer.clear();
    }
}

bool WorksheetWriter::Finish() {
    buffer += "</sheetData></worksheet>";
    good = zip.Write(buffer) && good;
    buffer.clear();
    return good;
}

} // namespace SafWorkbook
