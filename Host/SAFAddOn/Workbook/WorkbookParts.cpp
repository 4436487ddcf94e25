#include "WorkbookParts.hpp"

#include "NumberText.hpp"
#include "XmlText.hpp"

namespace SafWorkbook {
namespace {

constexpr const char* XmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* SpreadsheetNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* RelationshipNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

std::string CellXml(const Cell& cell, const std::string& reference) {
    if (const auto* text = std::get_if<std::string>(&cell)) {
        return "<c r=\"" + reference + "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">" +
               EscapeXml(*text) + "</t></is></c>";
    }
    if (const auto* number = std::get_if<double>(&cell)) {
        return "<c r=\"" + reference + "\"><v>" + FormatNumber(*number) + "</v></c>";
    }
    return {};
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

std::string ContentTypesXml(std::size_t sheetCount) {
    std::string xml = XmlDeclaration;
    xml += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Override PartName=\"/xl/workbook.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>";
    for (std::size_t number = 1; number <= sheetCount; ++number) {
        xml += "<Override PartName=\"/xl/worksheets/sheet" + std::to_string(number) +
               ".xml\" "
               "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
    }
    return xml + "</Types>";
}

std::string PackageRelationshipsXml() {
    return std::string(XmlDeclaration) +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" "
           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
           "Target=\"xl/workbook.xml\"/></Relationships>";
}

std::string WorkbookXml(const std::vector<Sheet>& sheets) {
    std::string xml = XmlDeclaration;
    xml += std::string("<workbook xmlns=\"") + SpreadsheetNamespace + "\" xmlns:r=\"" +
           RelationshipNamespace + "\"><sheets>";
    for (std::size_t index = 0; index < sheets.size(); ++index) {
        const std::string number = std::to_string(index + 1);
        xml += "<sheet name=\"" + EscapeXml(sheets[index].name) + "\" sheetId=\"" + number + "\" r:id=\"rId" +
               number + "\"/>";
    }
    return xml + "</sheets></workbook>";
}

std::string WorkbookRelationshipsXml(std::size_t sheetCount) {
    std::string xml = XmlDeclaration;
    xml += "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (std::size_t number = 1; number <= sheetCount; ++number) {
        const std::string text = std::to_string(number);
        xml += "<Relationship Id=\"rId" + text +
               "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
               "Target=\"worksheets/sheet" +
               text + ".xml\"/>";
    }
    return xml + "</Relationships>";
}

std::string WorksheetXml(const Sheet& sheet) {
    std::string xml = XmlDeclaration;
    xml += std::string("<worksheet xmlns=\"") + SpreadsheetNamespace + "\"><sheetData>";
    for (std::size_t rowIndex = 0; rowIndex < sheet.rows.size(); ++rowIndex) {
        const std::string rowNumber = std::to_string(rowIndex + 1);
        xml += "<row r=\"" + rowNumber + "\">";
        const Row& row = sheet.rows[rowIndex];
        for (std::size_t column = 0; column < row.size(); ++column) {
            xml += CellXml(row[column], ColumnLetters(column) + rowNumber);
        }
        xml += "</row>";
    }
    return xml + "</sheetData></worksheet>";
}

} // namespace SafWorkbook
