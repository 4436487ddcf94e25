#include "WorkbookParts.hpp"

#include "XmlText.hpp"

namespace SafWorkbook {
namespace {

constexpr const char* XmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* SpreadsheetNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* RelationshipNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

} // namespace

std::string ContentTypesXml(std::size_t sheetCount) {
    std::string xml = XmlDeclaration;
    xml += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Override PartName=\"/xl/workbook.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
           "<Override PartName=\"/xl/styles.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
           "<Override PartName=\"/xl/sharedStrings.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>";
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

std::string WorkbookXml(const std::vector<std::string>& sheetNames) {
    std::string xml = XmlDeclaration;
    xml += std::string("<workbook xmlns=\"") + SpreadsheetNamespace + "\" xmlns:r=\"" +
           RelationshipNamespace + "\"><sheets>";
    for (std::size_t index = 0; index < sheetNames.size(); ++index) {
        const std::string number = std::to_string(index + 1);
        xml += "<sheet name=\"" + EscapeXml(sheetNames[index]) + "\" sheetId=\"" + number + "\" r:id=\"rId" +
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
    xml += "<Relationship Id=\"rId" + std::to_string(sheetCount + 1) +
           "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
           "Target=\"styles.xml\"/>";
    xml += "<Relationship Id=\"rId" + std::to_string(sheetCount + 2) +
           "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
           "Target=\"sharedStrings.xml\"/>";
    return xml + "</Relationships>";
}

} // namespace SafWorkbook
