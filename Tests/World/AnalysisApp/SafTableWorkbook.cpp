#include "SafTableWorkbook.hpp"

#include <algorithm>

namespace SafTableWorkbook {
namespace {

using AnalysisApp::ColumnRule;
using AnalysisApp::SafTable;
using AnalysisApp::SheetRule;
using AnalysisApp::ValueKind;
using TinySafWorkbook::Cell;

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

class Maker {
public:
    explicit Maker(const SafTable& safTable) : table(safTable) {}

    Cell ValueOf(const SheetRule& sheet, const ColumnRule& column, std::size_t row) {
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
            const std::size_t target = SheetIndex(table, column.targets.front());
            if (column.key == "nodes") {
                const std::size_t count = IsCurve(sheet.name) ? 2 : 4;
                std::string nodes;
                for (std::size_t node = 0; node < count; ++node) {
                    nodes += (node == 0 ? "" : ";") + ObjectName(target, node);
                }
                return nodes;
            }
            return ObjectName(target, row);
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

    TinySafWorkbook::Sheet SheetOf(const SheetRule& sheet, std::size_t objects) {
        TinySafWorkbook::Sheet made{sheet.name, {}};
        if (sheet.keyValue) {
            for (const ColumnRule& row : sheet.columns) {
                Cell value = row.key == "safversion"      ? Cell(table.version)
                             : row.key == "systemofunits" ? Cell("Metric")
                                                          : ValueOf(sheet, row, 0);
                made.rows.push_back({row.header, std::move(value)});
            }
            return made;
        }
        std::vector<Cell> header;
        for (const ColumnRule& column : sheet.columns) {
            header.emplace_back(HeaderOf(column));
        }
        made.rows.push_back(std::move(header));
        for (std::size_t row = 0; row < objects; ++row) {
            std::vector<Cell> cells;
            for (const ColumnRule& column : sheet.columns) {
                cells.push_back(ValueOf(sheet, column, row));
            }
            made.rows.push_back(std::move(cells));
        }
        return made;
    }

private:
    const SafTable& table;
    std::size_t ids = 0;
};

} // namespace

std::string HeaderOf(const ColumnRule& column) {
    return column.header + (column.indexed ? " 1" : "") +
           (column.metricUnit.empty() ? "" : " [" + column.metricUnit + "]");
}

std::string ObjectName(std::size_t sheetIndex, std::size_t row) {
    return "O" + std::to_string(sheetIndex) + "-" + std::to_string(row + 1);
}

TinySafWorkbook::Workbook Make(const SafTable& table, std::size_t objects) {
    Maker maker(table);
    std::vector<TinySafWorkbook::Sheet> sheets;
    for (const SheetRule& sheet : table.sheets) {
        // Areas name four nodes, so there are four at least.
        const bool nodes = sheet.name == "StructuralPointConnection";
        sheets.push_back(maker.SheetOf(sheet, nodes ? std::max<std::size_t>(objects, 4) : objects));
    }
    return TinySafWorkbook::Workbook(std::move(sheets));
}

} // namespace SafTableWorkbook
