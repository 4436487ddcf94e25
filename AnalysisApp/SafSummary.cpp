#include "SafSummary.hpp"

#include "SpreadsheetPackage.hpp"

namespace AnalysisApp {
namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The value of the key/value row whose key (column A) is `key`.
std::string KeyValue(const SheetTable& sheet, std::string_view key) {
    for (const SheetRow& row : sheet.rows) {
        if (Trimmed(row.ValueAt(0)) == key) {
            return std::string(Trimmed(row.ValueAt(1)));
        }
    }
    return {};
}

// Objects of an object sheet: rows below the header whose Name cell holds something. The header is
// the first row that has any cell, as the sheet may start with empty rows.
std::optional<std::size_t> CountNamedRows(const SheetTable& sheet, std::string& error) {
    if (sheet.rows.empty()) {
        return 0;
    }
    const SheetRow& header = sheet.rows.front();
    std::optional<std::size_t> nameColumn;
    for (const SheetCell& cell : header.cells) {
        if (Trimmed(cell.value) == "Name") {
            nameColumn = cell.column;
            break;
        }
    }
    if (!nameColumn) {
        error = "sheet " + sheet.name + " has no Name column";
        return std::nullopt;
    }
    std::size_t count = 0;
    for (std::size_t index = 1; index < sheet.rows.size(); ++index) {
        if (!Trimmed(sheet.rows[index].ValueAt(*nameColumn)).empty()) {
            ++count;
        }
    }
    return count;
}

} // namespace

SafReading ReadSafWorkbook(std::string_view bytes) {
    SpreadsheetPackage package;
    std::string error = package.Open(bytes);
    if (!error.empty()) {
        return {std::nullopt, error};
    }
    if (!package.HasSheet("Model")) {
        return {std::nullopt, "not a SAF workbook: it has no Model sheet"};
    }
    const std::optional<SheetTable> model = package.ReadSheet("Model", error);
    if (!model) {
        return {std::nullopt, error};
    }
    SafSummary summary;
    summary.safVersion = KeyValue(*model, "SAF Version");
    if (summary.safVersion.empty()) {
        return {std::nullopt, "not a SAF workbook: its Model sheet has no \"SAF Version\""};
    }
    summary.unitSystem = KeyValue(*model, "System of units");

    const std::pair<const char*, std::size_t SafSummary::*> objectSheets[] = {
        {"StructuralMaterial", &SafSummary::materials},
        {"StructuralCrossSection", &SafSummary::crossSections},
        {"StructuralPointConnection", &SafSummary::nodes},
        {"StructuralCurveMember", &SafSummary::members},
        {"StructuralSurfaceMember", &SafSummary::surfaces},
        {"StructuralStorey", &SafSummary::storeys},
        {"StructuralPointSupport", &SafSummary::supports},
    };
    for (const auto& [sheetName, count] : objectSheets) {
        if (!package.HasSheet(sheetName)) {
            continue;
        }
        const std::optional<SheetTable> sheet = package.ReadSheet(sheetName, error);
        if (!sheet) {
            return {std::nullopt, error};
        }
        const std::optional<std::size_t> objects = CountNamedRows(*sheet, error);
        if (!objects) {
            return {std::nullopt, error};
        }
        summary.*count = *objects;
    }
    return {summary, {}};
}

std::string DescribeSummary(const SafSummary& summary) {
    return "SAF " + summary.safVersion + ": " + std::to_string(summary.materials) + " materials, " +
           std::to_string(summary.crossSections) + " cross-sections, " + std::to_string(summary.nodes) +
           " nodes, " + std::to_string(summary.members) + " members, " + std::to_string(summary.surfaces) +
           " surfaces, " + std::to_string(summary.storeys) + " storeys, " + std::to_string(summary.supports) +
           " supports";
}

} // namespace AnalysisApp
