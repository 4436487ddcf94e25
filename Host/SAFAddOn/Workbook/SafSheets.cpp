#include "SafSheets.hpp"

#include "Geometry.hpp"
#include "NumberText.hpp"
#include "Units.hpp"

#include <string>
#include <utility>

namespace SafWorkbook {
namespace {

struct Column {
    const char* title;
    Quantity quantity = Quantity::None;
};

Row HeaderRow(std::initializer_list<Column> columns, UnitSystem system) {
    Row header;
    for (const Column& column : columns) {
        header.emplace_back(ColumnTitle(column.title, column.quantity, system));
    }
    return header;
}

Cell Text(const std::string& text) {
    return text.empty() ? Cell{} : Cell{text};
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        joined += joined.empty() ? name : ";" + name;
    }
    return joined;
}

std::string Repeated(const char* word, std::size_t count) {
    std::string joined;
    for (std::size_t index = 0; index < count; ++index) {
        joined += index == 0 ? std::string(word) : std::string(";") + word;
    }
    return joined;
}

class SheetBuilder {
public:
    SheetBuilder(const Building::Model& exported, const ExportOptions& options)
        : model(exported), system(options.unitSystem), sourceApplication(options.sourceApplication),
          geometry(exported) {}

    Sheet ModelSheet() const {
        const std::pair<const char*, std::string> properties[] = {
            {"Name", model.name},
            {"Description", model.description},
            {"Discipline", "Static"},
            {"Level of detail", ""},
            {"Status", ""},
            {"Owner", ""},
            {"Revision number", ""},
            {"Created", ""},
            {"Last update", ""},
            {"Source type", ""},
            {"Source application", sourceApplication},
            {"SAF Version", SafVersion},
            {"Source company", ""},
            {"Global coordinate system", "Z vertical"},
            {"LCS of cross-section", "ZYX"},
            {"System of units", UnitSystemName(system)},
            {"National code", model.nationalCode},
            {"Ignored objects", ""},
            {"Ignored groups", ""},
            {"Id", ""},
        };
        Sheet sheet{"Model", {}, false};
        for (const auto& [property, value] : properties) {
            sheet.rows.push_back({Cell{std::string(property)}, Text(value)});
        }
        return sheet;
    }

    Sheet MaterialSheet() const {
        Sheet sheet{"StructuralMaterial",
                    {HeaderRow({{"Name"},
                                {"Type"},
                                {"Subtype"},
                                {"Quality"},
                                {"Unit mass", Quantity::Density},
                                {"E modulus", Quantity::Stress},
                                {"G modulus", Quantity::Stress},
                                {"Poisson coefficient"},
                                {"Thermal expansion", Quantity::Expansion},
                                {"Design properties"},
                                {"Id"}},
                               system)}};
        for (const Building::Material& material : model.materials) {
            sheet.rows.push_back({Text(material.name),
                                  Text(material.type),
                                  {},
                                  Text(material.quality),
                                  Value(material.unitMass, Quantity::Density),
                                  Value(material.eModulus, Quantity::Stress),
                                  Value(material.gModulus, Quantity::Stress),
                                  material.poisson,
                                  material.thermalExpansion,
                                  {},
                                  Text(material.id)});
        }
        return sheet;
    }

    Sheet CrossSectionSheet() const {
        Sheet sheet{"StructuralCrossSection",
                    {HeaderRow({{"Name"},
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
                                {"Id"}},
                               system)}};
        for (const Building::CrossSection& section : model.crossSections) {
            Row row{Text(section.name),
                    Text(section.material),
                    Text(section.kind),
                    Text(section.shape),
                    Text(ParameterList(section.parameters)),
                    Text(section.profile)};
            row.push_back(section.formCode > 0 ? Cell{static_cast<double>(section.formCode)} : Cell{});
            row.resize(15);
            row.push_back(Text(section.id));
            sheet.rows.push_back(std::move(row));
        }
        return sheet;
    }

    Sheet NodeSheet() const {
        Sheet sheet{"StructuralPointConnection",
                    {HeaderRow({{"Name"},
                                {"Coordinate X", Quantity::Length},
                                {"Coordinate Y", Quantity::Length},
                                {"Coordinate Z", Quantity::Length},
                                {"Id"}},
                               system)}};
        for (const Building::Node& node : model.nodes) {
            sheet.rows.push_back({Text(node.name), Value(node.x, Quantity::Length),
                                  Value(node.y, Quantity::Length), Value(node.z, Quantity::Length),
                                  Text(node.id)});
        }
        return sheet;
    }

    Sheet CurveMemberSheet() const {
        Sheet sheet{"StructuralCurveMember",
                    {HeaderRow({{"Name"},
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
                                {"Id"}},
                               system)}};
        for (const Building::CurveMember& member : model.curveMembers) {
            const std::size_t segments = member.nodes.size() - 1;
            // The LCS vector is a direction, not a length: it is written as the model holds it.
            Row row{Text(member.name),
                    Text(member.type),
                    Text(member.crossSection),
                    {},
                    Text(JoinNames(member.nodes)),
                    Text(Repeated("Line", segments)),
                    {},
                    Value(geometry.PolylineLength(member.nodes), Quantity::Length),
                    Text(segments == 1 ? "Line" : "Polyline"),
                    Text(member.lcs),
                    member.lcsRotation,
                    member.lcsVector[0],
                    member.lcsVector[1],
                    member.lcsVector[2],
                    Text(member.systemLine),
                    {},
                    {},
                    {},
                    {},
                    0.0,
                    0.0,
                    0.0,
                    0.0,
                    Text(member.layer),
                    Text(member.behaviour),
                    {},
                    {},
                    Text(member.id)};
            sheet.rows.push_back(std::move(row));
        }
        return sheet;
    }

    Sheet SurfaceMemberSheet() const {
        Sheet sheet{"StructuralSurfaceMember",
                    {HeaderRow({{"Name"},
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
                                {"Id"}},
                               system)}};
        for (const Building::SurfaceMember& surface : model.surfaceMembers) {
            Row row{Text(surface.name),
                    Text(surface.type),
                    Text(surface.material),
                    Text("Constant"),
                    Value(surface.thickness, Quantity::SmallLength),
                    Text(surface.systemPlane),
                    Text(JoinNames(surface.nodes)),
                    {},
                    Text(Repeated("Line", surface.nodes.size())),
                    Value(geometry.PolygonArea(surface.nodes), Quantity::Area),
                    Text(surface.layer),
                    {},
                    {},
                    {},
                    {},
                    {},
                    {},
                    0.0,
                    Text("Flat"),
                    Text(surface.behaviour),
                    {},
                    {},
                    Text(surface.id)};
            sheet.rows.push_back(std::move(row));
        }
        return sheet;
    }

    Sheet StoreySheet() const {
        Sheet sheet{"StructuralStorey",
                    {HeaderRow({{"Name"}, {"Height level", Quantity::Length}, {"Id"}}, system)}};
        for (const Building::Storey& storey : model.storeys) {
            sheet.rows.push_back(
                {Text(storey.name), Value(storey.heightLevel, Quantity::Length), Text(storey.id)});
        }
        return sheet;
    }

    Sheet SupportSheet() const {
        Sheet sheet{"StructuralPointSupport",
                    {HeaderRow({{"Name"},
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
                                {"Id"}},
                               system)}};
        for (const Building::PointSupport& support : model.supports) {
            Row row{Text(support.name),
                    Text(support.type),
                    Text("In node"),
                    Text(support.node),
                    {},
                    Text("Global"),
                    {},
                    {},
                    {}};
            for (const bool rigid : support.restraints) {
                row.emplace_back(std::string(rigid ? "Rigid" : "Free"));
            }
            row.push_back(Text(support.id));
            sheet.rows.push_back(std::move(row));
        }
        return sheet;
    }

private:
    Cell Value(double metricValue, Quantity quantity) const { return InUnits(metricValue, quantity, system); }

    std::string ParameterList(const std::vector<double>& parameters) const;

    const Building::Model& model;
    UnitSystem system;
    std::string sourceApplication;
    ModelGeometry geometry;
};

std::string SheetBuilder::ParameterList(const std::vector<double>& parameters) const {
    std::string joined;
    for (const double parameter : parameters) {
        if (!joined.empty()) {
            joined += ';';
        }
        joined += FormatNumber(InUnits(parameter, Quantity::SmallLength, system));
    }
    return joined;
}

} // namespace

std::vector<Sheet> BuildSafSheets(const Building::Model& model, const ExportOptions& options) {
    const SheetBuilder builder(model, options);
    return {builder.ModelSheet(),  builder.MaterialSheet(),    builder.CrossSectionSheet(),
            builder.NodeSheet(),   builder.CurveMemberSheet(), builder.SurfaceMemberSheet(),
            builder.StoreySheet(), builder.SupportSheet()};
}

} // namespace SafWorkbook
