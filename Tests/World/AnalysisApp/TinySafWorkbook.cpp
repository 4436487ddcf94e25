#include "TinySafWorkbook.hpp"

#include "InMemoryZip.hpp"
#include "XmlText.hpp"

#include <algorithm>
#include <stdexcept>

namespace TinySafWorkbook {
namespace {

Cell N(const char* digits) {
    return Cell::Number(digits);
}

std::string Letters(std::size_t column) {
    std::string letters;
    for (std::size_t rest = column + 1; rest > 0; rest = (rest - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (rest - 1) % 26));
    }
    return letters;
}

std::string SheetXml(const Sheet& sheet) {
    std::string xml(WorksheetStart);
    for (std::size_t row = 0; row < sheet.rows.size(); ++row) {
        AppendRowXml(row + 1, sheet.rows[row], xml);
    }
    return xml + std::string(WorksheetEnd);
}

} // namespace

void AppendRowXml(std::size_t number, const std::vector<Cell>& cells, std::string& xml) {
    const std::string row = std::to_string(number);
    xml += "<row r=\"" + row + "\">";
    for (std::size_t column = 0; column < cells.size(); ++column) {
        const Cell& cell = cells[column];
        if (cell.value.empty()) {
            continue;
        }
        const std::string reference = Letters(column) + row;
        xml += cell.number ? "<c r=\"" + reference + "\"><v>" + cell.value + "</v></c>"
                           : "<c r=\"" + reference + "\" t=\"inlineStr\"><is><t>" +
                                 SafWorkbook::EscapeXml(cell.value) + "</t></is></c>";
    }
    xml += "</row>";
}

std::string WorkbookXml(const std::vector<std::string>& sheetNames) {
    std::string workbook = "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                           "xmlns:r=\"" +
                           std::string(Relationships) + "\"><sheets>";
    for (std::size_t index = 0; index < sheetNames.size(); ++index) {
        const std::string number = std::to_string(index + 1);
        workbook += "<sheet name=\"" + SafWorkbook::EscapeXml(sheetNames[index]) + "\" sheetId=\"" + number +
                    "\" r:id=\"r" + number + "\"/>";
    }
    return workbook + "</sheets></workbook>";
}

std::string WorkbookRelationshipsXml(std::size_t sheetCount) {
    std::string links =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (std::size_t index = 0; index < sheetCount; ++index) {
        const std::string number = std::to_string(index + 1);
        links += "<Relationship Id=\"r" + number + "\" Type=\"" + std::string(Relationships) +
                 "/worksheet\" Target=\"worksheets/s" + number + ".xml\"/>";
    }
    return links + "</Relationships>";
}

std::string SheetPartName(std::size_t index) {
    return "xl/worksheets/s" + std::to_string(index + 1) + ".xml";
}

Workbook Workbook::PortalFrame() {
    Workbook book;
    book.sheets = {
        {"Model",
         {{"Name", "Portal"},
          {"SAF Version", "2.2.0"},
          {"Global coordinate system", "Z vertical"},
          {"LCS of cross-section", "ZYX"},
          {"System of units", "Metric"},
          {"National code", "EC-Standard-EN"},
          {"Created", N("46000")},
          {"Id", "0c3e3c56-1111-4a4b-8c8d-000000000001"}}},
        {"StructuralMaterial",
         {{"Name", "Type", "Quality", "Unit mass [kg/m3]", "E modulus [MPa]", "Id"},
          {"S235", "Steel", "S235", N("7850"), N("210000"), "0c3e3c56-1111-4a4b-8c8d-000000000002"}}},
        {"StructuralCrossSection",
         {{"Name", "Material", "Cross-section Type", "Shape", "Parameters [mm]", "Profile", "Form code"},
          {"CS1", "S235", "Manufactured", "", "", "HEA200", N("1")},
          {"CS2", "S235", "Parametric", "Rectangle", "400;300", "", ""}}},
        {"StructuralPointConnection",
         {{"Name", "Coordinate X [m]", "Coordinate Y [m]", "Coordinate Z [m]"},
          {"N1", N("0"), N("0"), N("0")},
          {"N2", N("0"), N("0"), N("4")},
          {"N3", N("6"), N("0"), N("4")},
          {"N4", N("6"), N("0"), N("0")}}},
        {"StructuralCurveMember",
         {{"Name", "Cross section", "Nodes", "Segments", "LCS", "LCS Rotation [deg]", "Coordinate X [m]",
           "Coordinate Y [m]", "Coordinate Z [m]", "System line", "Analysis Y Eccentricity of Beg Node [mm]",
           "Analysis Y Eccentricity of End Node [mm]", "Analysis Z Eccentricity of Beg Node [mm]",
           "Analysis Z Eccentricity of End Node [mm]", "Behaviour in analysis", "Color"},
          {"B1", "CS1", "N1;N2", "Line", "Y by vector", N("0"), N("0"), N("1"), N("0"), "Centre", N("0"),
           N("0"), N("0"), N("0"), "Standard", "#FF0000FF"},
          {"B2", "CS2", "N2; N3", "Line", "z by vector", N("0"), N("0"), N("0"), N("1"), "Centre", N("0"),
           N("0"), N("0"), N("0"), "Standard", ""}}},
        {"StructuralSurfaceMember",
         {{"Name", "Material", "Thickness type", "Thickness [mm]", "System plane at", "Nodes", "Edges",
           "LCS Type", "Coordinate X [m]", "Coordinate Y [m]", "Coordinate Z [m]", "LCS Rotation [deg]",
           "Analysis Z Eccentricity [mm]", "Behavior in analysis"},
          {"W1", "S235", "Constant", N("200"), "Centre", "N1;N2;N3;N4", "Line;Line;Line;Line", "X by vector",
           N("1"), N("0"), N("0"), N("0"), N("0"), "Isotropic"}}},
        {"StructuralPointSupport",
         {{"Name", "Type", "Boundary condition", "Node", "Member", "Coordinate system", "Origin",
           "Coordinate definition", "Position x [m]", "ux", "uy", "uz", "fix", "fiy", "fiz",
           "Stiffness Z [MN/m]"},
          {"Sn1", "Fixed", "In node", "N1", "", "", "", "", "", "Rigid", "Rigid", "Rigid", "Rigid", "Rigid",
           "Rigid", ""},
          {"Sn2", "Custom", "On beam", "", "B2", "Local", "From start", "Relative", N("0.5"), "Rigid",
           "Rigid", "Flexible", "Free", "Free", "Free", N("12.5")}}},
        {"StructuralStorey", {{"Name", "Height level [m]"}, {"Ground floor", N("0")}, {"Roof", N("4")}}},
    };
    return book;
}

Sheet& Workbook::Find(const std::string& name) {
    const auto found =
        std::find_if(sheets.begin(), sheets.end(), [&](const Sheet& sheet) { return sheet.name == name; });
    if (found == sheets.end()) {
        throw std::invalid_argument("no sheet " + name);
    }
    return *found;
}

Workbook& Workbook::Set(const std::string& sheet, const std::string& reference, Cell value) {
    std::size_t column = 0;
    std::size_t at = 0;
    while (at < reference.size() && reference[at] >= 'A' && reference[at] <= 'Z') {
        column = column * 26 + static_cast<std::size_t>(reference[at++] - 'A' + 1);
    }
    const std::size_t row = std::stoul(reference.substr(at));
    Sheet& target = Find(sheet);
    if (target.rows.size() < row) {
        target.rows.resize(row);
    }
    std::vector<Cell>& cells = target.rows[row - 1];
    if (cells.size() < column) {
        cells.resize(column);
    }
    cells[column - 1] = std::move(value);
    return *this;
}

Workbook& Workbook::RemoveColumn(const std::string& sheet, const std::string& header) {
    Sheet& target = Find(sheet);
    const auto& titles = target.rows.front();
    const auto found =
        std::find_if(titles.begin(), titles.end(), [&](const Cell& cell) { return cell.value == header; });
    if (found == titles.end()) {
        throw std::invalid_argument("no column " + header);
    }
    const auto column = static_cast<std::size_t>(found - titles.begin());
    for (std::vector<Cell>& row : target.rows) {
        if (column < row.size()) {
            row.erase(row.begin() + static_cast<std::ptrdiff_t>(column));
        }
    }
    return *this;
}

Workbook& Workbook::RemoveSheet(const std::string& sheet) {
    sheets.erase(
        std::find_if(sheets.begin(), sheets.end(), [&](const Sheet& each) { return each.name == sheet; }));
    return *this;
}

Workbook& Workbook::AddSheet(Sheet sheet) {
    sheets.push_back(std::move(sheet));
    return *this;
}

Workbook& Workbook::MoveToEnd(const std::string& sheet) {
    Sheet moved = Find(sheet);
    RemoveSheet(sheet);
    return AddSheet(std::move(moved));
}

std::string Workbook::Bytes(bool deflate) const {
    std::vector<SafWorkbook::ZipEntry> entries;
    std::vector<std::string> names;
    for (std::size_t index = 0; index < sheets.size(); ++index) {
        names.push_back(sheets[index].name);
        entries.push_back({SheetPartName(index), SheetXml(sheets[index]), deflate});
    }
    entries.push_back({std::string(WorkbookPart), WorkbookXml(names), deflate});
    entries.push_back(
        {std::string(WorkbookRelationshipsPart), WorkbookRelationshipsXml(sheets.size()), deflate});
    return SafWorkbook::BuildZip(entries).bytes;
}

} // namespace TinySafWorkbook
