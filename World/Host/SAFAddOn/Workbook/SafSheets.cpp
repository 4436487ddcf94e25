#include "SafSheets.hpp"

#include "ExportStamp.hpp"
#include "NumberText.hpp"
#include "SafColumns.hpp"
#include "Units.hpp"
#include "WorksheetWriter.hpp"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace SafWorkbook {
namespace {

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

enum class SheetKind {
    Model,
    Project,
    Material,
    CrossSection,
    Node,
    CurveMember,
    SurfaceMember,
    Storey,
    Support
};

constexpr std::pair<SheetKind, const char*> Sheets[] = {
    {SheetKind::Model, "Model"},
    {SheetKind::Project, "Project"},
    {SheetKind::Material, "StructuralMaterial"},
    {SheetKind::CrossSection, "StructuralCrossSection"},
    {SheetKind::Node, "StructuralPointConnection"},
    {SheetKind::CurveMember, "StructuralCurveMember"},
    {SheetKind::SurfaceMember, "StructuralSurfaceMember"},
    {SheetKind::Storey, "StructuralStorey"},
    {SheetKind::Support, "StructuralPointSupport"},
};

// The SAF value of "Discipline" for a model of load-bearing members.
constexpr const char* Discipline = "Load-bearing structure";

} // namespace

// The rows of one sheet, written through one WorksheetWriter.
class SafSheetWriter::Rows {
public:
    Rows(const SafSheetWriter& owner, WorksheetWriter& out) : sheets(owner), writer(out) {}

    template <std::size_t Count>
    void Header(const Column (&columns)[Count]) {
        writer.BeginRow();
        for (const Column& column : columns) {
            writer.Word(ColumnTitle(column.title, column.quantity, sheets.system), CellStyle::Header);
        }
        writer.EndRow();
    }

    void Text(std::string_view text) { writer.Text(text); }
    void Word(std::string_view text) { writer.Word(text); }
    void Number(double value, CellStyle style = CellStyle::General) { writer.Number(value, style); }
    void Value(double metricValue, Quantity quantity) {
        writer.Number(InUnits(metricValue, quantity, sheets.system), StyleOf(quantity));
    }
    void Skip(std::size_t columns = 1) { writer.Skip(columns); }
    void Begin() { writer.BeginRow(); }
    void End() { writer.EndRow(); }

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
            AppendNumber(joined, InUnits(parameter, Quantity::SmallLength, sheets.system));
        }
        Text(joined);
    }

private:
    const SafSheetWriter& sheets;
    WorksheetWriter& writer;
};

SafSheetWriter::SafSheetWriter(const Building::Model& source, const ExportedModel& selection,
                               const ModelGeometry& modelGeometry, const ExportOptions& options,
                               std::chrono::sys_seconds time)
    : model(source), exported(selection), geometry(modelGeometry), system(options.unitSystem),
      sourceApplication(options.sourceApplication), exportedAt(time) {}

const std::vector<std::string>& SafSheetWriter::SheetNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const auto& [kind, name] : Sheets) {
            list.emplace_back(name);
        }
        return list;
    }();
    return names;
}

namespace {

template <std::size_t Count>
std::vector<double> WidthsOf(const Column (&columns)[Count], UnitSystem system) {
    std::vector<double> widths;
    for (const Column& column : columns) {
        widths.push_back(WidthOf(ColumnTitle(column.title, column.quantity, system)));
    }
    return widths;
}

std::vector<double> KeyValueWidths() {
    return {26.0, 40.0};
}

} // namespace

std::optional<std::size_t> SafSheetWriter::Write(std::size_t index, ZipStreamWriter& zip,
                                                 SharedStrings& shared) const {
    const SheetKind kind = Sheets[index].first;
    const double serial = SpreadsheetSerial(exportedAt);
    std::vector<double> widths;
    switch (kind) {
    case SheetKind::Model:
    case SheetKind::Project:
        widths = KeyValueWidths();
        break;
    case SheetKind::Material:
        widths = WidthsOf(MaterialColumns, system);
        break;
    case SheetKind::CrossSection:
        widths = WidthsOf(CrossSectionColumns, system);
        break;
    case SheetKind::Node:
        widths = WidthsOf(NodeColumns, system);
        break;
    case SheetKind::CurveMember:
        widths = WidthsOf(CurveMemberColumns, system);
        break;
    case SheetKind::SurfaceMember:
        widths = WidthsOf(SurfaceMemberColumns, system);
        break;
    case SheetKind::Storey:
        widths = WidthsOf(StoreyColumns, system);
        break;
    case SheetKind::Support:
        widths = WidthsOf(SupportColumns, system);
        break;
    }
    const bool keyValue = kind == SheetKind::Model || kind == SheetKind::Project;
    WorksheetWriter writer(zip, shared, widths, !keyValue);
    Rows rows(*this, writer);
    switch (kind) {
    case SheetKind::Model:
        rows.Property("Name", model.name);
        rows.Property("Description", model.description);
        rows.Property("Discipline", Discipline);
        rows.Property("Level of detail", "");
        rows.Property("Status", "");
        rows.Property("Owner", "");
        rows.Property("Revision number", "");
        // Dates only: the Model's dates carry no time of day.
        rows.DateProperty("Created", static_cast<double>(static_cast<long long>(serial)), CellStyle::Date);
        rows.DateProperty("Last update", static_cast<double>(static_cast<long long>(serial)),
                          CellStyle::Date);
        rows.Property("Source type", "");
        rows.Property("Source application", sourceApplication);
        rows.Property("SAF Version", SafVersion, CellStyle::Text);
        rows.Property("Source company", "");
        rows.Property("Global coordinate system", "Z vertical");
        rows.Property("LCS of cross-section", "ZYX");
        rows.Property("System of units", UnitSystemName(system));
        rows.Property("National code", model.nationalCode);
        rows.Property("Ignored objects", "");
        rows.Property("Ignored groups", "");
        rows.Property("Id", StableGuid("model\n" + model.name + "\n" + model.description));
        break;
    case SheetKind::Project: {
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
        break;
    }
    case SheetKind::Material:
        rows.Header(MaterialColumns);
        for (const Building::Material* material : exported.materials) {
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
        break;
    case SheetKind::CrossSection:
        rows.Header(CrossSectionColumns);
        for (const Building::CrossSection* section : exported.crossSections) {
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
        break;
    case SheetKind::Node:
        rows.Header(NodeColumns);
        for (const Building::Node* node : exported.nodes) {
            rows.Begin();
            rows.Text(node->name);
            rows.Value(node->x, Quantity::Length);
            rows.Value(node->y, Quantity::Length);
            rows.Value(node->z, Quantity::Length);
            rows.Text(node->id);
            rows.End();
        }
        break;
    case SheetKind::CurveMember:
        rows.Header(CurveMemberColumns);
        for (const Building::CurveMember* member : exported.curveMembers) {
            const std::size_t segments = member->nodes.size() - 1;
            rows.Begin();
            rows.Text(member->name);
            rows.Word(member->type);
            rows.Word(member->crossSection);
            rows.Skip();
            rows.Text(JoinNames(member->nodes));
            rows.Word(segments == 1 ? std::string("Line") : Repeated("Line", segments));
            rows.Skip();
            rows.Value(geometry.PolylineLength(member->nodes), Quantity::Length);
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
        break;
    case SheetKind::SurfaceMember:
        rows.Header(SurfaceMemberColumns);
        for (const Building::SurfaceMember* surface : exported.surfaceMembers) {
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
            rows.Value(geometry.PolygonArea(surface->nodes), Quantity::Area);
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
        break;
    case SheetKind::Storey:
        rows.Header(StoreyColumns);
        for (const Building::Storey* storey : exported.storeys) {
            rows.Begin();
            rows.Text(storey->name);
            rows.Value(storey->heightLevel, Quantity::Length);
            rows.Text(storey->id);
            rows.End();
        }
        break;
    case SheetKind::Support:
        rows.Header(SupportColumns);
        for (const Building::PointSupport* support : exported.supports) {
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
        break;
    }
    if (!writer.Finish()) {
        return std::nullopt;
    }
    return keyValue ? writer.Rows() : writer.Rows() - 1;
}

} // namespace SafWorkbook
