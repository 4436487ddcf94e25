#include "SafTableWorkbook.hpp"

#include <algorithm>

namespace SafTableWorkbook {
namespace {

using AnalysisApp::ColumnRule;
using AnalysisApp::SafTable;
using AnalysisApp::SheetRule;
using AnalysisApp::ValueKind;
using TinySafWorkbook::Cell;

constexpr const char* Nodes = "StructuralPointConnection";

bool IsCurve(const std::string& sheet) {
    return sheet == "StructuralCurveMember" || sheet == "StructuralCurveMemberRib" ||
           sheet == "StructuralCurveEdge";
}

std::size_t SheetIndex(const SafTable& table, const std::string& sheet) {
    for (std::size_t index = 0; index < table.sheets.size(); ++index) {
        if (table.sheets[index].name == sheet) {
            return index;
        }
    }
    return table.sheets.size(); // a sheet of no table: its names exist nowhere
}

std::string Guid(std::size_t serial) {
    const std::string digits = std::to_string(serial);
    return "0c3e3c56-2222-4a4b-8c8d-" + std::string(12 - std::min<std::size_t>(digits.size(), 12), '0') +
           digits;
}

} // namespace

ObjectCounts EverySheet(const SafTable& table, std::size_t objects) {
    ObjectCounts counts;
    for (const SheetRule& sheet : table.sheets) {
        if (!sheet.keyValue) {
            counts[sheet.name] = sheet.name == Nodes ? std::max<std::size_t>(objects, 4) : objects;
        }
    }
    return counts;
}

ObjectCounts LoadedAndHingedMembers(std::size_t members) {
    return {{"StructuralMaterial", 4},
            {"StructuralCrossSection", 8},
            {Nodes, std::max<std::size_t>(members + 1, 4)},
            {"StructuralCurveMember", members},
            {"RelConnectsStructuralMember", members},
            {"StructuralLoadGroup", 4},
            {"StructuralLoadCase", 12},
            {"StructuralLoadCombination", 6},
            {"StructuralCurveAction", members}};
}

std::string HeaderOf(const ColumnRule& column) {
    return column.header + (column.indexed ? " 1" : "") +
           (column.metricUnit.empty() ? "" : " [" + column.metricUnit + "]");
}

std::string ObjectName(std::size_t sheetIndex, std::size_t row) {
    return "O" + std::to_string(sheetIndex) + "-" + std::to_string(row + 1);
}

RowMaker::RowMaker(const SafTable& safTable, ObjectCounts objectCounts)
    : table(safTable), counts(std::move(objectCounts)) {
    for (const SheetRule& sheet : table.sheets) {
        if (sheet.keyValue || counts.count(sheet.name) != 0) {
            sheets.push_back(&sheet);
        }
    }
}

std::size_t RowMaker::ObjectsOf(const SheetRule& sheet) const {
    if (sheet.keyValue) {
        return sheet.columns.size();
    }
    const auto found = counts.find(sheet.name);
    return found == counts.end() ? 0 : found->second;
}

std::vector<Cell> RowMaker::Header(const SheetRule& sheet) const {
    std::vector<Cell> header;
    for (const ColumnRule& column : sheet.columns) {
        header.emplace_back(HeaderOf(column));
    }
    return header;
}

std::vector<Cell> RowMaker::Row(const SheetRule& sheet, std::size_t row) {
    if (sheet.keyValue) {
        const ColumnRule& property = sheet.columns[row];
        return {property.header, property.key == "safversion"      ? Cell(table.version)
                                 : property.key == "systemofunits" ? Cell("Metric")
                                                                   : ValueOf(sheet, property, 0)};
    }
    std::vector<Cell> cells;
    cells.reserve(sheet.columns.size());
    for (const ColumnRule& column : sheet.columns) {
        cells.push_back(ValueOf(sheet, column, row));
    }
    return cells;
}

std::string RowMaker::NameIn(const std::string& sheet, std::size_t row) const {
    return ObjectName(SheetIndex(table, sheet), row % counts.at(sheet));
}

const std::string* RowMaker::TargetOf(const ColumnRule& column) const {
    for (const std::string& target : column.targets) {
        const auto found = counts.find(target);
        if (found != counts.end() && found->second > 0) {
            return &target;
        }
    }
    return nullptr;
}

Cell RowMaker::ValueOf(const SheetRule& sheet, const ColumnRule& column, std::size_t row) {
    if (column.key == "id") {
        return Guid(++ids);
    }
    if (column.key == "name" && sheet.hasNameColumn) {
        return ObjectName(SheetIndex(table, sheet.name), row);
    }
    if (!column.edgeIndexOf.empty()) {
        return Cell::Number("1");
    }
    if (column.key == "edges") {
        return "Line;Line;Line;Line";
    }
    if (!column.targets.empty()) {
        const std::string* target = TargetOf(column);
        if (target == nullptr) {
            return {}; // the workbook has none of the objects it could name
        }
        if (column.key == "nodes") {
            // Curves chain their nodes (member n from node n to n + 1); areas take four in a row.
            const std::size_t count = IsCurve(sheet.name) ? 2 : 4;
            std::string nodes;
            for (std::size_t node = 0; node < count; ++node) {
                nodes += (node == 0 ? "" : ";") + NameIn(*target, row + node);
            }
            return nodes;
        }
        return NameIn(*target, row);
    }
    switch (column.kind) {
    case ValueKind::Choice:
        return column.choices.front();
    case ValueKind::Number:
    case ValueKind::Integer:
        return Cell::Number("1");
    case ValueKind::Date:
        return "2026-12-08";
    case ValueKind::Color:
        return "#FF0000FF";
    case ValueKind::Vector:
        return "(0;0;1)";
    case ValueKind::Text:
        break;
    }
    return "x";
}

TinySafWorkbook::Workbook Make(const SafTable& table, std::size_t objects) {
    return Make(table, EverySheet(table, objects));
}

TinySafWorkbook::Workbook Make(const SafTable& table, const ObjectCounts& counts) {
    RowMaker maker(table, counts);
    std::vector<TinySafWorkbook::Sheet> sheets;
    for (const SheetRule* sheet : maker.Sheets()) {
        TinySafWorkbook::Sheet made{sheet->name, {}};
        if (!sheet->keyValue) {
            made.rows.push_back(maker.Header(*sheet));
        }
        for (std::size_t row = 0; row < maker.ObjectsOf(*sheet); ++row) {
            made.rows.push_back(maker.Row(*sheet, row));
        }
        sheets.push_back(std::move(made));
    }
    return TinySafWorkbook::Workbook(std::move(sheets));
}

} // namespace SafTableWorkbook
