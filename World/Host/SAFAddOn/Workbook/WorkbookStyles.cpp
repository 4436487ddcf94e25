#include "WorkbookStyles.hpp"

namespace SafWorkbook {
namespace {

// One cell format per CellStyle, in its order: the number format id, and whether the font is bold.
// Ids below 164 are the spreadsheet's built-in formats; 164 on are declared in numFmts.
struct StyleFormat {
    int numberFormat;
    bool bold;
};

constexpr StyleFormat StyleFormats[] = {
    {0, false},   // General
    {0, true},    // Header
    {164, false}, // Length
    {165, false}, // SmallLength
    {3, false},   // Modulus: #,##0
    {11, false},  // Scientific: 0.00E+00
    {2, false},   // Ratio: 0.00
    {166, false}, // Date
    {167, false}, // DateTime
    {49, false},  // Text: @
    {1, false},   // Integer: 0
};

} // namespace

std::string StylesXml() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<numFmts count=\"4\">"
        "<numFmt numFmtId=\"164\" formatCode=\"0.000\"/>"
        "<numFmt numFmtId=\"165\" formatCode=\"0.0\"/>"
        "<numFmt numFmtId=\"166\" formatCode=\"yyyy\\-mm\\-dd\"/>"
        "<numFmt numFmtId=\"167\" formatCode=\"yyyy\\-mm\\-dd\\ hh:mm\"/>"
        "</numFmts>"
        "<fonts count=\"2\">"
        "<font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
        "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
        "</fonts>"
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
        "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
        "</cellStyleXfs>";
    xml += "<cellXfs count=\"" + std::to_string(std::size(StyleFormats)) + "\">";
    for (const StyleFormat& format : StyleFormats) {
        xml += "<xf numFmtId=\"" + std::to_string(format.numberFormat) + "\" fontId=\"" +
               (format.bold ? "1" : "0") + "\" fillId=\"0\" borderId=\"0\" xfId=\"0\"" +
               (format.numberFormat != 0 ? " applyNumberFormat=\"1\"" : "") +
               (format.bold ? " applyFont=\"1\"" : "") + "/>";
    }
    xml += "</cellXfs>"
           "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
           "</styleSheet>";
    return xml;
}

} // namespace SafWorkbook
