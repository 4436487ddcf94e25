#include "SafRules/WorkbookChecker.hpp"

#include "Spreadsheet/CellValues.hpp"
#include "Spreadsheet/HeaderKey.hpp"

#include <algorithm>
#include <map>
#include <set>

// Faults of the model that no column of the tables can show on its own, each one a model that an
// analysis program refuses or computes wrongly: a curve whose nodes do not fit its segments or whose
// ends are one node (zero length: no local axes, a division by zero in its stiffness), an area of
// fewer than three distinct nodes (no plane), and a combination whose load cases and factors do not
// pair up (a factor applied to no case, or a case with no factor).
namespace AnalysisApp {
namespace {

bool IsCurveSheet(std::string_view sheet) {
    return sheet == "StructuralCurveMember" || sheet == "StructuralCurveMemberRib" ||
           sheet == "StructuralCurveEdge";
}

bool IsAreaSheet(std::string_view sheet) {
    return sheet == "StructuralSurfaceMember" || sheet == "StructuralSurfaceMemberOpening" ||
           sheet == "StructuralSurfaceMemberRegion";
}

} // namespace

WorkbookChecker::WholeRowColumns WorkbookChecker::WholeRowColumnsOf(const SheetRule& rule,
                                                                    const ColumnsByKey& columnOf) {
    WholeRowColumns columns;
    columns.kind = IsCurveSheet(rule.name)                    ? WholeRowColumns::Kind::Curve
                   : IsAreaSheet(rule.name)                   ? WholeRowColumns::Kind::Area
                   : rule.name == "StructuralLoadCombination" ? WholeRowColumns::Kind::Combination
                                                              : WholeRowColumns::Kind::Other;
    if (const auto nodes = columnOf.find("nodes"); nodes != columnOf.end()) {
        columns.nodes = nodes->second;
    }
    if (const auto segments = columnOf.find("segments"); segments != columnOf.end()) {
        columns.segments = segments->second;
    }
    return columns;
}

void WorkbookChecker::CheckRowAsAWhole(const SheetRule& rule, const WholeRowColumns& columns,
                                       const RowView& row, std::size_t rowNumber,
                                       const std::vector<ColumnPlace>& places) {
    using Kind = WholeRowColumns::Kind;
    const std::string& sheet = rule.name;
    const std::string_view nodes = columns.nodes ? row.At(*columns.nodes) : std::string_view();
    const std::size_t nodesColumn = columns.nodes.value_or(0);
    if (columns.kind == Kind::Curve && !nodes.empty()) {
        const std::vector<std::string_view> listed = ListItems(nodes);
        const std::string_view segments = columns.segments ? row.At(*columns.segments) : std::string_view();
        const std::optional<std::size_t> needed = segments.empty() ? std::nullopt : NodesOfSegments(segments);
        if (needed && *needed != listed.size()) {
            Add(sheet, CellName(nodesColumn, rowNumber), Severity::Error,
                "\"Nodes\" lists " + std::to_string(listed.size()) + " nodes where its segments need " +
                    std::to_string(*needed));
        } else if (listed.size() >= 2 && !listed.front().empty() && listed.front() == listed.back()) {
            Add(sheet, CellName(nodesColumn, rowNumber), Severity::Error,
                "\"Nodes\" begins and ends at " + Quoted(listed.front()) + ": the curve has no length");
        }
    } else if (columns.kind == Kind::Area && !nodes.empty()) {
        std::set<std::string_view> distinct;
        for (const std::string_view node : ListItems(nodes)) {
            if (!node.empty()) {
                distinct.insert(node);
            }
        }
        if (distinct.size() < 3) {
            Add(sheet, CellName(nodesColumn, rowNumber), Severity::Error,
                "\"Nodes\" names " + std::to_string(distinct.size()) +
                    " distinct nodes; an area needs at least 3");
        }
    } else if (columns.kind == Kind::Combination) {
        // Per index: the load case, its factor (unless the national standard sets it) and its multiplier.
        struct Term {
            const ColumnPlace* loadCase = nullptr;
            std::vector<const ColumnPlace*> factors;
        };
        std::map<int, Term> terms;
        for (const ColumnPlace& place : places) {
            if (!place.column || place.index == 0) {
                continue;
            }
            if (place.rule->key == "loadcasename") {
                terms[place.index].loadCase = &place;
            } else if (place.rule->need == Need::Required || place.rule->when.Holds(row)) {
                terms[place.index].factors.push_back(&place);
            }
        }
        for (const auto& [index, term] : terms) {
            const bool hasCase = term.loadCase != nullptr && !row.At(*term.loadCase->column).empty();
            for (const ColumnPlace* factor : term.factors) {
                const bool hasFactor = !row.At(*factor->column).empty();
                if (hasCase && !hasFactor) {
                    Add(sheet, CellName(*factor->column, rowNumber), Severity::Error,
                        Quoted(factor->shown) + " is empty, but " + Quoted(term.loadCase->shown) + " names " +
                            Quoted(row.At(*term.loadCase->column)) +
                            ": load cases and factors do not pair up");
                } else if (!hasCase && hasFactor) {
                    Add(sheet, CellName(*factor->column, rowNumber), Severity::Error,
                        Quoted(factor->shown) + " is given, but no load case " + std::to_string(index) +
                            " is named: load cases and factors do not pair up");
                }
            }
        }
    }
}

} // namespace AnalysisApp
