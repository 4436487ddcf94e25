#include "ForeignWorkbooks.hpp"

#include "InMemoryZip.hpp"

#include <vector>

namespace ForeignWorkbooks {

std::string Package(const Parts& parts) {
    std::vector<SafWorkbook::ZipEntry> entries;
    for (const auto& [name, data] : parts) {
        entries.push_back({name, data, true});
    }
    return SafWorkbook::BuildZip(entries).bytes;
}

Parts SpreadsheetProgramParts() {
    const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string relationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const std::string packageRelationships = "http://schemas.openxmlformats.org/package/2006/relationships";
    Parts parts;
    parts["_rels/.rels"] = "<Relationships xmlns=\"" + packageRelationships +
                           "\"><Relationship Id=\"rId1\" Type=\"" + relationships +
                           "/officeDocument\" Target=\"book/workbook.xml\"/></Relationships>";
    parts["book/workbook.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><x:workbook xmlns:x=\"" + main + "\" xmlns:r=\"" +
        relationships +
        "\"><x:sheets><x:sheet name=\"Notes\" sheetId=\"9\" r:id=\"rId9\"/>"
        "<x:sheet name=\"Model\" sheetId=\"1\" r:id=\"rId4\"/>"
        "<x:sheet name=\"StructuralPointConnection\" sheetId=\"2\" r:id=\"rId2\"/>"
        "<x:sheet name=\"StructuralMaterial\" sheetId=\"3\" r:id=\"rId3\"/></x:sheets></x:workbook>";
    parts["book/_rels/workbook.xml.rels"] =
        "<Relationships xmlns=\"" + packageRelationships + "\">" + "<Relationship Id=\"rId2\" Type=\"" +
        relationships + "/worksheet\" Target=\"sheets/a.xml\"/>" + "<Relationship Id=\"rId3\" Type=\"" +
        relationships + "/worksheet\" Target=\"/book/sheets/b.xml\"/>" + "<Relationship Id=\"rId4\" Type=\"" +
        relationships + "/worksheet\" Target=\"./sheets/../sheets/c.xml\"/>" +
        "<Relationship Id=\"rId9\" Type=\"" + relationships + "/worksheet\" Target=\"sheets/notes.xml\"/>" +
        "<Relationship Id=\"rId5\" Type=\"" + relationships + "/sharedStrings\" Target=\"strings.xml\"/>" +
        "<Relationship Id=\"rId6\" Type=\"" + relationships +
        "/hyperlink\" Target=\"http://example.invalid/\" TargetMode=\"External\"/></Relationships>";
    // 0 Name, 1 SAF Version, 2 2.2.0, 3 N1 (rich text), 4 Coordinate X [m], 5 Remark, 6 S235, 7 Steel,
    // 8 Type, 9 Module version
    parts["book/strings.xml"] =
        "<sst xmlns=\"" + main +
        "\" count=\"10\" uniqueCount=\"10\"><si><t>Name</t></si><si><t>SAF "
        "Version</t></si><si><t>2.2.0</t></si>"
        "<si><r><rPr><b/></rPr><t>N</t></r><r><t xml:space=\"preserve\">1</t></r><rPh><t>en</t></rPh></si>"
        "<si><t>Coordinate X [m]</t></si><si><t>Remark</t></si><si><t>S235</t></si><si><t>Steel</t></si>"
        "<si><t>Type</t></si><si><t>Module version</t></si></sst>";
    parts["book/sheets/c.xml"] =
        "<worksheet xmlns=\"" + main +
        "\"><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>9</v></c>"
        "<c r=\"B1\" t=\"str\"><f>\"1.0\"</f><v>1.0</v></c></row>"
        "<row r=\"3\"><c r=\"A3\" t=\"s\"><v>1</v></c><c r=\"B3\" t=\"s\"><v>2</v></c></row>"
        "</sheetData></worksheet>";
    parts["book/sheets/a.xml"] =
        "<worksheet xmlns=\"" + main +
        "\"><sheetData><row r=\"2\" spans=\"1:3\"><c r=\"A2\" t=\"s\"><v>0</v></c><c r=\"B2\" "
        "t=\"s\"><v>4</v></c>"
        "<c r=\"C2\" t=\"s\"><v>5</v></c></row><row r=\"3\"><c r=\"A3\" s=\"4\"/><c r=\"B3\" s=\"4\"/></row>"
        "<row r=\"4\"><c r=\"A4\" t=\"s\"><v>3</v></c><c r=\"B4\"><v>0</v></c></row>"
        "<row r=\"5\"><c r=\"A5\"><v>17</v></c><c r=\"B5\"><v>6.5</v></c></row>"
        "<row r=\"6\"><c r=\"B6\"><v>12</v></c><c r=\"C6\" t=\"inlineStr\"><is><t>no name</t></is></c></row>"
        "<row r=\"7\"><c r=\"A7\" t=\"inlineStr\"><is><t xml:space=\"preserve\">  </t></is></c></row>"
        "</sheetData></worksheet>";
    parts["book/sheets/b.xml"] =
        "<worksheet xmlns=\"" + main +
        "\"><sheetData><row><c t=\"s\"><v>0</v></c><c t=\"s\"><v>8</v></c></row>"
        "<row><c t=\"s\"><v>6</v></c><c t=\"s\"><v>7</v></c></row></sheetData></worksheet>";
    parts["book/sheets/notes.xml"] = "<worksheet xmlns=\"" + main + "\"><sheetData/></worksheet>";
    return parts;
}

} // namespace ForeignWorkbooks
