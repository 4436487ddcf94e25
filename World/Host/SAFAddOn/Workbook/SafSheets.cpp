#include "SafSheets.hpp"

#include "ExportStamp.hpp"
#include "NumberText.hpp"
#include "Units.hpp"
#include "WorksheetWriter.hpp"

#include <algorithm>
#include <cassert>
#include <span>
#include <string_view>

// Each SAF sheet is its columns, exactly as SAF 2.2.0 names and orders them with the quantity that
// decides each one's unit, followed by the writer of its rows: a row's cells, skipped ones included,
// are read against the columns just above them.
namespace SafWorkbook {
namespace {

struct Column {
    const char* title;
    Quantity quantity = Quantity::None;
};

// Wide enough for the header and for the values a column usually holds, so that a person who opens
// the workbook reads every header without widening columns by hand.
double WidthOf(const std::string& header) {
    return std::clamp(static_cast<double>(header.size()) + 3.0, 11.0, 44.0);
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        if (!joined.empty()) {
            joined += ';';
        }
        joined += name;
    }
    return joined;
}

std::string Repeated(const char* word, std::size_t count) {
    std::string joined;
    for (std::size_t index = 0; index < count; ++index) {
        if (index != 0) {
            joined += ';';
        }
        joined += word;
    }
    return joined;
}

// The style each quantity's values show in.
CellStyle StyleOf(Quantity quantity) {
    switch (quantity) {
    case Quantity::Length:
        return CellStyle::Length;
    case Quantity::SmallLength:
        return CellStyle::SmallLength;
    case Quantity::Stress:
    case Quantity::Density:
        return CellStyle::Modulus;
    case Quantity::Area:
    case Quantity::Angle:
        return CellStyle::Ratio;
    case Quantity::Volume:
    case Quantity::SecondMoment:
    case Quantity::WarpingConstant:
    case Quantity::Expansion:
    case Quantity::LinearStiffness:
    case Quantity::RotationalStiffness:
        return CellStyle::Scientific;
    case Quantity::None:
        break;
    }
    return CellStyle::General;
}

// The rows of one sheet, written through one WorksheetWriter in the export's system of units.
class SheetRows {
public:
    SheetRows(UnitSystem units, WorksheetWriter& out, std::size_t columnCount)
        : system(units), writer(out), columns(columnCount) {}

    void Header(std::span<const Column> titles) {
        Begin();
        for (const Column& column : titles) {
            writer.Word(ColumnTitle(column.title, column.quantity, system), CellStyle::Header);
        }
        End();
    }

    void Text(std::string_view text) { writer.Text(text); }
    void Word(std::string_view text) { writer.Word(text); }
    void Number(double value, CellStyle style = CellStyle::General) { writer.Number(value, style); }
    void Value(double metricValue, Quantity quantity) {
        writer.Number(InUnits(metricValue, quantity, system), StyleOf(quantity));
    }
    void Skip(std::size_t count = 1) { writer.Skip(count); }
    void Begin() { writer.BeginRow(); }
    void End() {
        assert(writer.Column() == columns && "a row has a cell or a skip for every column of its sheet");
        writer.EndRow();
    }

    void Property(const char* key, std::string_view value, CellStyle style = CellStyle::General) {
        Begin();
        writer.Text(key, CellStyle::Header);
        writer.Text(value, style);
        End();
    }
    void DateProperty(const char* key, double serial, CellStyle style) {
        Begin();
        writer.Text(key, CellStyle::Header);
        writer.Number(serial, style);
        End();
    }

    // A list of parameters is text ("400;400"); a single one is a number, as SAF asks of every number.
    void Parameters(const std::vector<double>& parameters) {
        if (parameters.size() == 1) {
            Value(parameters.front(), Quantity::SmallLength);
            return;
        }
        std::string joined;
        for (const double parameter : parameters) {
            if (!joined.empty()) {
                joined += ';';
            }
            AppendNumber(joined, InUnits(parameter, Quantity::SmallLength, system));
        }
        Text(joined);
    }

private:
    UnitSystem system;
    WorksheetWriter& writer;
    [[maybe_unused]] std::size_t columns;
};

using Source = SafSheetWriter::Source;

// The SAF value of "Discipline" for a model of load-bearing members.
constexpr const char* Discipline = "Load-bearing structure";

void ModelRows(const Source& source, SheetRows& rows) {
    const double serial = SpreadsheetSerial(source.exportedAt);
    const Building::Model& model = source.model;
    rows.Property("Name", model.name);
    rows.Property("Description", model.description);
    rows.Property("Discipline", Discipline);
    rows.Property("Level of detail", "");
    rows.Property("Status", "");
    rows.Property("Owner", "");
    rows.Property("Revision number", "");
    // Dates only: the Model's dates carry no time of day.
    rows.DateProperty("Created", static_cast<double>(static_cast<long long>(serial)), CellStyle::Date);
    rows.DateProperty("Last update", static_cast<double>(static_cast<long long>(serial)), CellStyle::Date);
    rows.Property("Source type", "");
    rows.Property("Source application", source.sourceApplication);
    rows.Property("SAF Version", SafVersion, CellStyle::Text);
    rows.Property("Source company", "");
    rows.Property("Global coordinate system", "Z vertical");
    rows.Property("LCS of cross-section", "ZYX");
    rows.Property("System of units", UnitSystemName(source.system));
    rows.Property("National code", model.nationalCode);
    rows.Property("Ignored objects", "");
    rows.Property("Ignored groups", "");
    rows.Property("Id", StableGuid("model\n" + model.name + "\n" + model.description));
}

void ProjectRows(const Source& source, SheetRows& rows) {
    const double serial = SpreadsheetSerial(source.exportedAt);
    const Building::Model& model = source.model;
    // Whole minutes, as the Project's dates are written.
    const double minute = 1.0 / (24.0 * 60.0);
    const double toMinute = static_cast<double>(static_cast<long long>(serial / minute + 0.5)) * minute;
    rows.Property("Name", model.name);
    rows.Property("Description", model.description);
    rows.Property("Project nr", "");
    rows.DateProperty("Created", toMinute, CellStyle::DateTime);
    rows.DateProperty("Last update", toMinute, CellStyle::DateTime);
    rows.Property("Project type", "");
    rows.Property("Project kind", "");
    rows.Property("Building type", "");
    rows.Property("Status", "");
    rows.Property("Location", "");
    rows.Property("Id", StableGuid("project\n" + model.name));
}

constexpr Column MaterialColumns[] = {{"Name"},
                                      {"Type"},
                                      {"Subtype"},
                                      {"Quality"},
                                      {"Unit mass", Quantity::Density},
                                      {"E modulus", Quantity::Stress},
                                      {"G modulus", Quantity::Stress},
                                      {"Poisson coefficient"},
                                      {"Thermal expansion", Quantity::Expansion},
                                      {"Design properties"},
                                      {"Id"}};

void MaterialRows(const Source& source, SheetRows& rows) {
    for (const Building::Material* material : source.exported.materials) {
        rows.Begin();
        rows.Text(material->name);
        rows.Word(material->type);
        rows.Skip();
        rows.Text(material->quality);
        rows.Value(material->unitMass, Quantity::Density);
        rows.Value(material->eModulus, Quantity::Stress);
        rows.Value(material->gModulus, Quantity::Stress);
        rows.Number(material->poisson, CellStyle::Ratio);
        rows.Value(material->thermalExpansion, Quantity::Expansion);
        rows.Skip();
        rows.Text(material->id);
        rows.End();
    }
}

constexpr Column CrossSectionColumns[] = {{"Name"},
                                          {"Material"},
                                          {"Cross-section Type"},
                                          {"Shape"},
                                          {"Parameters", Quantity::SmallLength},
                                          {"Profile"},
                                          {"Form code"},
                                          {"Description ID of the profile"},
                                          {"A", Quantity::Area},
                                          {"Iy", Quantity::SecondMoment},
                                          {"Iz", Quantity::SecondMoment},
                                          {"It", Quantity::SecondMoment},
                                          {"Iw", Quantity::WarpingConstant},
                                          {"Wply", Quantity::Volume},
                                          {"Wplz", Quantity::Volume},
                                          {"Id"}};

void CrossSectionRows(const Source& source, SheetRows& rows) {
    for (const Building::CrossSection* section : source.exported.crossSections) {
        rows.Begin();
        rows.Text(section->name);
        rows.Word(section->material);
        rows.Word(section->kind);
        rows.Word(section->shape);
        rows.Parameters(section->parameters);
        rows.Word(section->profile);
        if (section->kind == "Manufactured") {
            rows.Number(section->formCode, CellStyle::Integer);
        } else {
            rows.Skip();
        }
        rows.Skip(8);
        rows.Text(section->id);
        rows.End();
    }
}

constexpr Column NodeColumns[] = {{"Name"},
                                  {"Coordinate X", Quantity::Length},
                                  {"Coordinate Y", Quantity::Length},
                                  {"Coordinate Z", Quantity::Length},
                                  {"Id"}};

void NodeRows(const Source& source, SheetRows& rows) {
    for (const Building::Node* node : source.exported.nodes) {
        rows.Begin();
        rows.Text(node->name);
        rows.Value(node->x, Quantity::Length);
        rows.Value(node->y, Quantity::Length);
        rows.Value(node->z, Quantity::Length);
        rows.Text(node->id);
        rows.End();
    }
}

constexpr Column CurveMemberColumns[] = {{"Name"},
                                         {"Type"},
                                         {"Cross section"},
                                         {"Arbitrary definition"},
                                         {"Nodes"},
                                         {"Segments"},
                                         {"Internal nodes"},
                                         {"Length", Quantity::Length},
                                         {"Geometrical shape"},
                                         {"LCS"},
                                         {"LCS Rotation", Quantity::Angle},
                                         {"Coordinate X", Quantity::Length},
                                         {"Coordinate Y", Quantity::Length},
                                         {"Coordinate Z", Quantity::Length},
                                         {"System line"},
                                         {"Structural Y Eccentricity of Beg Node", Quantity::SmallLength},
                                         {"Structural Y Eccentricity of End Node", Quantity::SmallLength},
                                         {"Structural Z Eccentricity of Beg Node", Quantity::SmallLength},
                                         {"Structural Z Eccentricity of End Node", Quantity::SmallLength},
                                         {"Analysis Y Eccentricity of Beg Node", Quantity::SmallLength},
                                         {"Analysis Y Eccentricity of End Node", Quantity::SmallLength},
                                         {"Analysis Z Eccentricity of Beg Node", Quantity::SmallLength},
                                         {"Analysis Z Eccentricity of End Node", Quantity::SmallLength},
                                         {"Layer"},
                                         {"Behaviour in analysis"},
                                         {"Color"},
                                         {"Parent ID"},
                                         {"Id"}};

void CurveMemberRows(const Source& source, SheetRows& rows) {
    for (const Building::CurveMember* member : source.exported.curveMembers) {
        const std::size_t segments = member->nodes.size() - 1;
        rows.Begin();
        rows.Text(member->name);
        rows.Word(member->type);
        rows.Word(member->crossSection);
        rows.Skip();
        rows.Text(JoinNames(member->nodes));
        rows.Word(segments == 1 ? std::string("Line") : Repeated("Line", segments));
        rows.Skip();
        rows.Value(source.geometry.PolylineLength(member->nodes), Quantity::Length);
        rows.Word(segments == 1 ? "Line" : "Polyline");
        rows.Word(member->lcs);
        rows.Number(member->lcsRotation, CellStyle::Ratio);
        // The LCS vector is a direction, not a length: it is written as the model holds it.
        for (const double component : member->lcsVector) {
            rows.Number(component, CellStyle::Length);
        }
        rows.Word(member->systemLine);
        rows.Skip(4); // the structural eccentricities are optional and the model has none
        for (int eccentricity = 0; eccentricity < 4; ++eccentricity) {
            rows.Value(0.0, Quantity::SmallLength);
        }
        rows.Word(member->layer);
        rows.Word(member->behaviour);
        rows.Skip(2);
        rows.Text(member->id);
        rows.End();
    }
}

constexpr Column SurfaceMemberColumns[] = {{"Name"},
                                           {"Type"},
                                           {"Material"},
                                           {"Thickness type"},
                                           {"Thickness", Quantity::SmallLength},
                                           {"System plane at"},
                                           {"Nodes"},
                                           {"Internal nodes"},
                                           {"Edges"},
                                           {"Area", Quantity::Area},
                                           {"Layer"},
                                           {"LCS Type"},
                                           {"Coordinate X", Quantity::Length},
                                           {"Coordinate Y", Quantity::Length},
                                           {"Coordinate Z", Quantity::Length},
                                           {"LCS Rotation", Quantity::Angle},
                                           {"Structural Z Eccentricity", Quantity::SmallLength},
                                           {"Analysis Z Eccentricity", Quantity::SmallLength},
                                           {"Shape"},
                                           {"Behavior in analysis"},
                                           {"Color"},
                                           {"Parent ID"},
                                           {"Id"}};

void SurfaceMemberRows(const Source& source, SheetRows& rows) {
    for (const Building::SurfaceMember* surface : source.exported.surfaceMembers) {
        rows.Begin();
        rows.Text(surface->name);
        rows.Word(surface->type);
        rows.Word(surface->material);
        rows.Word("Constant");
        rows.Value(surface->thickness, Quantity::SmallLength);
        rows.Word(surface->systemPlane);
        rows.Text(JoinNames(surface->nodes));
        rows.Skip();
        rows.Word(Repeated("Line", surface->nodes.size()));
        rows.Value(source.geometry.PolygonArea(surface->nodes), Quantity::Area);
        rows.Word(surface->layer);
        // The local x axis along global X, not turned: what other writers state for a slab or wall
        // whose model gives no axes of its own.
        rows.Word("X by vector");
        rows.Number(1.0, CellStyle::Length);
        rows.Number(0.0, CellStyle::Length);
        rows.Number(0.0, CellStyle::Length);
        rows.Number(0.0, CellStyle::Ratio);
        rows.Skip();
        rows.Value(0.0, Quantity::SmallLength);
        rows.Word("Flat");
        rows.Word(surface->behaviour);
        rows.Skip(2);
        rows.Text(surface->id);
        rows.End();
    }
}

constexpr Column StoreyColumns[] = {{"Name"}, {"Height level", Quantity::Length}, {"Id"}};

void StoreyRows(const Source& source, SheetRows& rows) {
    for (const Building::Storey* storey : source.exported.storeys) {
        rows.Begin();
        rows.Text(storey->name);
        rows.Value(storey->heightLevel, Quantity::Length);
        rows.Text(storey->id);
        rows.End();
    }
}

constexpr Column SupportColumns[] = {{"Name"},
                                     {"Type"},
                                     {"Boundary condition"},
                                     {"Node"},
                                     {"Member"},
                                     {"Coordinate system"},
                                     {"Origin"},
                                     {"Coordinate definition"},
                                     {"Position x", Quantity::Length},
                                     {"ux"},
                                     {"uy"},
                                     {"uz"},
                                     {"fix"},
                                     {"fiy"},
                                     {"fiz"},
                                     {"Stiffness X", Quantity::LinearStiffness},
                                     {"Stiffness Y", Quantity::LinearStiffness},
                                     {"Stiffness Z", Quantity::LinearStiffness},
                                     {"Stiffness Fix", Quantity::RotationalStiffness},
                                     {"Stiffness Fiy", Quantity::RotationalStiffness},
                                     {"Stiffness Fiz", Quantity::RotationalStiffness},
                                     {"Id"}};

void SupportRows(const Source& source, SheetRows& rows) {
    for (const Building::PointSupport* support : source.exported.supports) {
        rows.Begin();
        rows.Text(support->name);
        rows.Word(support->type);
        rows.Word("In node");
        rows.Text(support->node);
        rows.Skip();
        rows.Word("Global");
        rows.Skip(3);
        for (const bool rigid : support->restraints) {
            rows.Word(rigid ? "Rigid" : "Free");
        }
        rows.Skip(6); // stiffnesses belong to flexible restraints only, which the model has not
        rows.Text(support->id);
        rows.End();
    }
}

struct Sheet {
    const char* name;
    std::span<const Column> columns; // none: a key/value sheet of two columns and no header row
    void (*writeRows)(const Source& source, SheetRows& rows);
};

constexpr Sheet Sheets[] = {
    {"Model", {}, ModelRows},
    {"Project", {}, ProjectRows},
    {"StructuralMaterial", MaterialColumns, MaterialRows},
    {"StructuralCrossSection", CrossSectionColumns, CrossSectionRows},
    {"StructuralPointConnection", NodeColumns, NodeRows},
    {"StructuralCurveMember", CurveMemberColumns, CurveMemberRows},
    {"StructuralSurfaceMember", SurfaceMemberColumns, SurfaceMemberRows},
    {"StructuralStorey", StoreyColumns, StoreyRows},
    {"StructuralPointSupport", SupportColumns, SupportRows},
};

std::vector<double> WidthsOf(std::span<const Column> columns, UnitSystem system) {
    std::vector<double> widths;
    for (const Column& column : columns) {
        widths.push_back(WidthOf(ColumnTitle(column.title, column.quantity, system)));
    }
    return widths;
}

} // namespace

SafSheetWriter::SafSheetWriter(const Building::Model& model, const ExportedModel& exported,
                               const ModelGeometry& geometry, const ExportOptions& options,
                               std::chrono::sys_seconds exportedAt)
    : source{model, exported, geometry, options.unitSystem, options.sourceApplication, exportedAt} {}

const std::vector<std::string>& SafSheetWriter::SheetNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const Sheet& sheet : Sheets) {
            list.emplace_back(sheet.name);
        }
        return list;
    }();
    return names;
}

std::optional<std::size_t> SafSheetWriter::Write(std::size_t index, ZipStreamWriter& zip,
                                                 SharedStrings& shared) const {
    const Sheet& sheet = Sheets[index];
    const bool keyValue = sheet.columns.empty();
    WorksheetWriter writer(
        zip, shared, keyValue ? std::vector<double>{26.0, 40.0} : WidthsOf(sheet.columns, source.system),
        !keyValue);
    SheetRows rows(source.system, writer, keyValue ? 2 : sheet.columns.size());
    if (!keyValue) {
        rows.Header(sheet.columns);
    }
    sheet.writeRows(source, rows);
    if (!writer.Finish()) {
        return std::nullopt;
    }
    return keyValue ? writer.Rows() : writer.Rows() - 1;
}

} // namespace SafWorkbook
