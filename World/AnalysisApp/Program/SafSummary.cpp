#include "Program/SafSummary.hpp"

#include "Spreadsheet/HeaderKey.hpp"

#include <algorithm>
#include <iterator>

namespace AnalysisApp {
namespace {

constexpr std::pair<const char*, std::size_t SafSummary::*> CoreSheets[] = {
    {"StructuralMaterial", &SafSummary::materials},
    {"StructuralCrossSection", &SafSummary::crossSections},
    {"StructuralPointConnection", &SafSummary::nodes},
    {"StructuralCurveMember", &SafSummary::members},
    {"StructuralSurfaceMember", &SafSummary::surfaces},
    {"StructuralStorey", &SafSummary::storeys},
    {"StructuralPointSupport", &SafSummary::supports},
};

// What an engineer calls the objects of the other sheets, in the summary.
constexpr std::pair<const char*, const char*> KindNames[] = {
    {"CompositeShapeDef", "composite shapes"},
    {"StructuralCurveEdge", "internal edges"},
    {"StructuralCurveMemberVarying", "varying members"},
    {"StructuralCurveMemberRib", "ribs"},
    {"StructuralSurfaceMemberOpening", "openings"},
    {"StructuralSurfaceMemberRegion", "regions"},
    {"StructuralProxyElement", "proxy elements"},
    {"StructuralSurfaceConnection", "surface supports"},
    {"StructuralCurveConnection", "line supports"},
    {"StructuralEdgeConnection", "edge supports"},
    {"RelConnectsStructuralMember", "hinges"},
    {"RelConnectsSurfaceEdge", "edge hinges"},
    {"RelConnectsRigidCross", "rigid crosses"},
    {"RelConnectsRigidLink", "rigid links"},
    {"RelConnectsRigidMember", "rigid members"},
    {"StructuralLoadGroup", "load groups"},
    {"StructuralLoadCase", "load cases"},
    {"StructuralLoadCombination", "load combinations"},
    {"StructuralPointAction", "point loads"},
    {"StructuralPointMoment", "point moments"},
    {"StructuralCurveAction", "line loads"},
    {"StructuralCurveMoment", "line moments"},
    {"StructuralSurfaceAction", "surface loads"},
    {"StructuralSurfaceActionThermal", "surface thermal loads"},
    {"StructuralCurveActionThermal", "line thermal loads"},
    {"StructuralPointActionFree", "free point loads"},
    {"StructuralCurveActionFree", "free line loads"},
    {"StructuralSurfaceActionFree", "free surface loads"},
    {"StructuralSurfaceActionDistri", "load distributions"},
    {"StructuralPointSupportDef", "support displacements"},
};

bool IsKeyValueSheet(std::string_view sheet) {
    return sheet == "Model" || sheet == "Project";
}

// Rows below the header whose Name cell holds something, or nothing for a sheet without a Name
// column. The header is the first row that has any cell, as a sheet may start with empty rows.
std::optional<std::size_t> CountNamedRows(const SpreadsheetPackage& package, const std::string& sheet,
                                          std::string& error) {
    SheetRowReader reader(package, sheet);
    SheetRow row;
    if (!reader.Next(row)) {
        error = reader.Error();
        return std::nullopt; // no header, so no Name column
    }
    const std::optional<std::size_t> nameColumn = NameColumnOf(row);
    std::size_t count = 0;
    while (reader.Next(row)) {
        if (nameColumn && !Trimmed(row.ValueAt(*nameColumn)).empty()) {
            ++count;
        }
    }
    error = reader.Error();
    if (!error.empty()) {
        return std::nullopt;
    }
    return nameColumn ? std::optional<std::size_t>(count) : std::nullopt;
}

} // namespace

std::string KeyValueOf(const SpreadsheetPackage& package, std::string_view sheet, std::string_view key,
                       std::string& error) {
    const std::string wanted = HeaderKey(key);
    SheetRowReader reader(package, sheet);
    SheetRow row;
    std::string value;
    bool found = false;
    while (reader.Next(row)) {
        if (!found && HeaderKey(row.ValueAt(0)) == wanted) {
            value = std::string(Trimmed(row.ValueAt(1)));
            found = true;
        }
    }
    error = reader.Error();
    return value;
}

SafReading ReadSafWorkbook(const SpreadsheetPackage& package) {
    if (!package.HasSheet("Model")) {
        return {std::nullopt, "it has no Model sheet"};
    }
    std::string error;
    SafSummary summary;
    summary.safVersion = KeyValueOf(package, "Model", "SAF Version", error);
    if (!error.empty()) {
        return {std::nullopt, error};
    }
    if (summary.safVersion.empty()) {
        return {std::nullopt, "its Model sheet has no \"SAF Version\""};
    }
    summary.unitSystem = KeyValueOf(package, "Model", "System of units", error);

    for (const std::string& sheet : package.SheetNames()) {
        if (IsKeyValueSheet(sheet)) {
            continue;
        }
        const std::optional<std::size_t> objects = CountNamedRows(package, sheet, error);
        if (!error.empty()) {
            return {std::nullopt, error};
        }
        if (!objects) {
            continue;
        }
        AddObjectCount(summary, sheet, *objects);
    }
    return {summary, {}};
}

std::optional<std::size_t> NameColumnOf(const SheetRow& header) {
    for (const SheetCell& cell : header.cells) {
        if (HeaderKey(cell.Value()) == "name") {
            return cell.column;
        }
    }
    return std::nullopt;
}

void AddObjectCount(SafSummary& summary, const std::string& sheet, std::size_t count) {
    summary.objects.emplace_back(sheet, count);
    for (const auto& [name, field] : CoreSheets) {
        if (sheet == name) {
            summary.*field = count;
        }
    }
}

SafReading ReadSafWorkbook(std::string_view bytes) {
    SpreadsheetPackage package;
    const std::string error = package.Open(bytes);
    if (!error.empty()) {
        return {std::nullopt, error};
    }
    return ReadSafWorkbook(package);
}

std::string DescribeSummary(const SafSummary& summary) {
    std::string text = "SAF " + summary.safVersion + ": " + std::to_string(summary.materials) +
                       " materials, " + std::to_string(summary.crossSections) + " cross-sections, " +
                       std::to_string(summary.nodes) + " nodes, " + std::to_string(summary.members) +
                       " members, " + std::to_string(summary.surfaces) + " surfaces, " +
                       std::to_string(summary.storeys) + " storeys, " + std::to_string(summary.supports) +
                       " supports";
    std::string others;
    for (const std::pair<std::string, std::size_t>& object : summary.objects) {
        const bool core = std::any_of(std::begin(CoreSheets), std::end(CoreSheets),
                                      [&](const auto& known) { return object.first == known.first; });
        if (core || object.second == 0) {
            continue;
        }
        const auto named = std::find_if(std::begin(KindNames), std::end(KindNames),
                                        [&](const auto& kind) { return object.first == kind.first; });
        others += (others.empty() ? "; " : ", ") + std::to_string(object.second) + " " +
                  (named != std::end(KindNames) ? std::string(named->second) : object.first);
    }
    return text + others;
}

} // namespace AnalysisApp
