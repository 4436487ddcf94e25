#include "WorkbookChecker.hpp"

#include "CellValues.hpp"
#include "HeaderKey.hpp"

#include <algorithm>

namespace AnalysisApp {

void WorkbookChecker::CheckHeader(const SheetRule& rule, const SheetRow& header,
                                  std::vector<ColumnPlace>& places, ColumnsByKey& columnOf) {
    for (const SheetCell& cell : header.cells) {
        const std::string key = HeaderKey(cell.Value());
        if (key.empty()) {
            continue;
        }
        if (!columnOf.emplace(key, cell.column).second) {
            Add(std::string(rule.name), CellName(cell.column, header.number), Severity::Warning,
                "column " + Quoted(Trimmed(cell.Value())) + " appears twice; the first one is read");
        }
    }
    for (const ColumnRule& column : rule.columns) {
        const auto found = columnOf.find(HeaderKey(column.header));
        if (found == columnOf.end()) {
            places.push_back({&column, std::nullopt, nullptr});
            if (column.need == Need::Required && !(column.optionalIn210 && Is210())) {
                Add(std::string(rule.name),
                    CellName(header.cells.empty() ? 0 : header.cells.back().column + 1, header.number),
                    Severity::Error, "the required column " + Quoted(column.header) + " is missing");
            }
            continue;
        }
        places.push_back({&column, found->second, names.Find(column.target)});
        CheckUnit(rule, column, Trimmed(header.ValueAt(found->second)),
                  CellName(found->second, header.number));
    }
}

void WorkbookChecker::CheckUnit(const SheetRule& rule, const ColumnRule& column, std::string_view header,
                                const std::string& cell) {
    const std::string unit = UnitKey(HeaderUnit(header));
    if (unit.empty() || column.metricUnit.empty() || (model.units != "metric" && model.units != "imperial")) {
        return;
    }
    const bool metric = model.units == "metric";
    const std::string expected = UnitKey(metric ? column.metricUnit : column.imperialUnit);
    const std::string other = UnitKey(metric ? column.imperialUnit : column.metricUnit);
    if (unit == expected) {
        return;
    }
    if (unit == other) {
        Add(std::string(rule.name), cell, Severity::Error,
            "the header's unit [" + HeaderUnit(header) +
                "] is not the unit of the Model's system of units (" + (metric ? "Metric" : "Imperial") +
                ": [" + std::string(metric ? column.metricUnit : column.imperialUnit) + "])");
    } else {
        Add(std::string(rule.name), cell, Severity::Warning,
            "the header's unit [" + HeaderUnit(header) + "] is not [" +
                std::string(metric ? column.metricUnit : column.imperialUnit) + "]");
    }
}

void WorkbookChecker::CheckObjectSheet(const SheetRule& rule) {
    const std::string sheet(rule.name);
    SheetRowReader reader(package, sheet, SkippedPlaceFindings());
    SheetRow row;
    if (!ReadHeaderRow(reader, row)) {
        return;
    }
    std::vector<ColumnPlace> places;
    ColumnsByKey columnOf;
    CheckHeader(rule, row, places, columnOf);
    const std::optional<std::size_t> nameColumn = places.front().column;
    RowView view(columnOf);
    FirstSeen rowOfName;
    std::size_t namedRows = 0;
    while (reader.Next(row)) {
        view.Load(row);
        const std::size_t nameAt = nameColumn.value_or(0);
        const std::string_view name = view.At(nameAt);
        if (!name.empty()) {
            ++namedRows;
            const auto rowTag = static_cast<std::uint32_t>(std::min<std::size_t>(row.number, RowTagLimit));
            if (const std::optional<std::uint32_t> first =
                    rowOfName.Insert(NameRegistry::Hash(name), rowTag)) {
                Add(sheet, CellName(nameAt, row.number), Severity::Error,
                    "the name " + Quoted(name) + " is used by row " + std::to_string(*first) + " already");
            }
        }
        for (const ColumnPlace& place : places) {
            CheckCell(rule, place, view, row.number, nameAt);
        }
        CheckRowAsAWhole(rule, view, row.number);
    }
    if (!reader.Error().empty()) {
        Unreadable(reader.Error());
        return;
    }
    if (nameColumn) {
        objectCounts.emplace_back(sheet, namedRows);
    }
    if (rule.name == DeferredTarget) {
        deferredNames[DeferredTarget] = rowOfName.TakeSorted();
    }
}

void WorkbookChecker::CheckCell(const SheetRule& sheetRule, const ColumnPlace& place, const RowView& row,
                                std::size_t rowNumber, std::size_t nameAt) {
    const ColumnRule& rule = *place.rule;
    const std::optional<std::size_t> column = place.column;
    const std::string_view value = column ? row.At(*column) : std::string_view();
    if (value.empty()) {
        const bool needed = rule.need == Need::Required      ? !(rule.optionalIn210 && Is210())
                            : rule.need == Need::Conditional ? rule.requiredWhen(row)
                                                             : false;
        // A missing required column was reported once, at the header.
        if (!needed || (!column && rule.need != Need::Conditional)) {
            return;
        }
        const std::string why =
            rule.need == Need::Conditional ? " " + std::string(rule.condition) : std::string();
        if (!column) {
            Add(std::string(sheetRule.name), CellName(nameAt, rowNumber), Severity::Error,
                Quoted(rule.header) + " is required" + why + ", but the sheet has no such column");
        } else {
            Add(std::string(sheetRule.name), CellName(*column, rowNumber), Severity::Error,
                Quoted(rule.header) + " is required" + why + " but empty");
        }
        return;
    }
    const CellPlace cell{sheetRule.name, *column, rowNumber};
    CheckValue(place, value, row.TextAt(*column), cell);
    if (rule.header == "Id") {
        CheckId(sheetRule.name, *column, rowNumber, value);
    }
}

void WorkbookChecker::AddAt(const CellPlace& cell, Severity severity, std::string message) {
    Add(std::string(cell.sheet), cell.Name(), severity, std::move(message));
}

void WorkbookChecker::CheckValue(const ColumnPlace& place, std::string_view value, bool storedAsText,
                                 const CellPlace& cell) {
    const ColumnRule& rule = *place.rule;
    switch (rule.kind) {
    case ValueKind::Text:
    case ValueKind::NumberOrText:
        break;
    case ValueKind::Number:
        if (!IsNumber(value)) {
            AddAt(cell, Severity::Error,
                  Quoted(rule.header) + " " + Quoted(value) + " is not a number" +
                      (value.find(',') != std::string_view::npos ? " (the decimal separator is a dot)" : ""));
        } else if (storedAsText) {
            AddAt(cell, Severity::Warning,
                  Quoted(rule.header) + " " + Quoted(value) + " is a number stored as text");
        }
        break;
    case ValueKind::Integer: {
        const std::optional<long long> number = WholeNumber(value);
        if (!number || *number < rule.smallest || *number > rule.largest) {
            AddAt(cell, Severity::Error,
                  Quoted(rule.header) + " " + Quoted(value) + " is not a whole number from " +
                      std::to_string(rule.smallest) + " to " + std::to_string(rule.largest));
        }
        break;
    }
    case ValueKind::Choice:
        if (!IsChoice(value, rule.choices)) {
            AddAt(cell, Severity::Error,
                  Quoted(rule.header) + " " + Quoted(value) + " is not one of " + JoinChoices(rule.choices));
        }
        break;
    case ValueKind::ChoiceList:
        ForEachItem(value, [&](std::string_view item) {
            if (!IsChoice(item, rule.choices)) {
                AddAt(cell, Severity::Error,
                      Quoted(rule.header) + " item " + Quoted(item) + " is not one of " +
                          JoinChoices(rule.choices));
            }
        });
        break;
    case ValueKind::Reference:
        CheckReference(place, value, cell);
        break;
    case ValueKind::ReferenceList:
        ForEachItem(value, [&](std::string_view item) { CheckReference(place, item, cell); });
        break;
    case ValueKind::NumberList:
        ForEachItem(value, [&](std::string_view item) {
            if (!IsNumber(item)) {
                AddAt(cell, Severity::Error,
                      Quoted(rule.header) + " item " + Quoted(item) + " is not a number");
            }
        });
        break;
    case ValueKind::Color:
        if (!IsArgbColor(value)) {
            AddAt(cell, Severity::Warning, "Color " + Quoted(value) + " is not #AARRGGBB");
        }
        break;
    }
}

void WorkbookChecker::CheckReference(const ColumnPlace& place, std::string_view name, const CellPlace& cell) {
    const ColumnRule& rule = *place.rule;
    if (name.empty()) {
        AddAt(cell, Severity::Error, Quoted(rule.header) + " holds an empty name in its list");
        return;
    }
    if (rule.target == DeferredTarget && package.HasSheet(DeferredTarget)) {
        const auto read = deferredNames.find(DeferredTarget);
        if (read == deferredNames.end()) {
            pendingReferences.push_back({NameRegistry::Hash(name), currentSheet, cell.column, cell.row,
                                         rule.header, rule.target, std::string(name)});
        } else if (!std::binary_search(read->second.begin(), read->second.end(), NameRegistry::Hash(name))) {
            AddAt(cell, Severity::Error,
                  Quoted(rule.header) + " names " + Quoted(name) + ", which is not in " +
                      std::string(rule.target));
        }
        return;
    }
    if (place.targetNames == nullptr) {
        AddAt(cell, Severity::Error,
              Quoted(rule.header) + " names " + Quoted(name) + ", but the workbook has no " +
                  std::string(rule.target) + " sheet");
    } else if (!place.targetNames->Contains(name)) {
        AddAt(cell, Severity::Error,
              Quoted(rule.header) + " names " + Quoted(name) + ", which is not in " +
                  std::string(rule.target));
    }
}

void WorkbookChecker::CheckRowAsAWhole(const SheetRule& rule, const RowView& row, std::size_t rowNumber) {
    const std::string sheet(rule.name);
    if (rule.name == "StructuralCrossSection") {
        const std::string type = Folded(row.Value("crosssectiontype"));
        const std::string_view shape = row.Value("shape");
        if (!shape.empty() && (type == "parametric" || type == "compound")) {
            const auto& shapes = type == "parametric" ? ParametricShapes() : CompoundShapes();
            if (!IsChoice(shape, shapes)) {
                Add(sheet, CellName(row.ColumnOf("shape"), rowNumber), Severity::Error,
                    "\"Shape\" " + Quoted(shape) + " is not a shape of a " +
                        std::string(type == "parametric" ? "Parametric" : "Compound") + " cross-section");
            }
        }
    } else if (rule.name == "StructuralCurveMember") {
        const std::string_view segments = row.Value("segments");
        const std::string_view nodes = row.Value("nodes");
        if (!segments.empty() && !nodes.empty()) {
            const std::optional<std::size_t> needed = NodesOfSegments(segments);
            const std::size_t given = ListItems(nodes).size();
            if (needed && *needed != given) {
                Add(sheet, CellName(row.ColumnOf("nodes"), rowNumber), Severity::Error,
                    "\"Nodes\" lists " + std::to_string(given) + " nodes where its segments need " +
                        std::to_string(*needed));
            }
        }
    }
}

} // namespace AnalysisApp
