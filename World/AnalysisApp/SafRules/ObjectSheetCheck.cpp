#include "SafRules/WorkbookChecker.hpp"

#include "Spreadsheet/CellValues.hpp"
#include "Spreadsheet/HeaderKey.hpp"

#include <algorithm>

namespace AnalysisApp {
namespace {

// "loadfactor12" of the indexed column "loadfactor": 12; 0 when the key is not one of its indices.
int IndexOf(std::string_view key, std::string_view base) {
    if (key.size() <= base.size() || key.size() > base.size() + 6 || key.substr(0, base.size()) != base) {
        return 0;
    }
    int index = 0;
    for (const char character : key.substr(base.size())) {
        if (character < '0' || character > '9') {
            return 0;
        }
        index = index * 10 + (character - '0');
    }
    return index;
}

} // namespace

void WorkbookChecker::CheckHeader(const SheetRule& rule, const SheetRow& header,
                                  std::vector<ColumnPlace>& places, ColumnsByKey& columnOf) {
    for (const SheetCell& cell : header.cells) {
        const std::string key = HeaderKey(cell.Value());
        if (key.empty()) {
            continue;
        }
        if (!columnOf.emplace(key, cell.column).second) {
            Add(rule.name, CellName(cell.column, header.number), Severity::Warning,
                "column " + Quoted(Trimmed(cell.Value())) + " appears twice; the first one is read");
        }
    }
    const std::string afterLast =
        CellName(header.cells.empty() ? 0 : header.cells.back().column + 1, header.number);
    std::vector<std::pair<std::size_t, const ColumnRule*>> units; // checked in the header's order
    const auto place = [&](const ColumnRule& column, std::size_t at, int index, std::string shown) {
        places.push_back({&column, at, index, std::move(shown)});
        for (const std::string& target : column.targets) {
            places.back().targetNames.push_back(target == DeferredTarget ? nullptr : names.Find(target));
        }
        if (!column.edgeIndexOf.empty()) {
            places.back().edgeOwners = EdgeOwnersOf(rule, column, columnOf);
        }
        units.emplace_back(at, &column);
    };
    for (const ColumnRule& column : rule.columns) {
        if (!column.indexed) {
            const auto found = columnOf.find(column.key);
            if (found != columnOf.end()) {
                place(column, found->second, 0, column.header);
                continue;
            }
            places.push_back({&column, std::nullopt, 0, column.header});
        } else {
            std::vector<std::pair<int, std::size_t>> indices; // index, column
            for (const SheetCell& cell : header.cells) {
                if (const int index = IndexOf(HeaderKey(cell.Value()), column.key); index > 0) {
                    indices.emplace_back(index, cell.column);
                }
            }
            std::sort(indices.begin(), indices.end());
            for (const auto& [index, at] : indices) {
                place(column, at, index, column.header + " " + std::to_string(index));
            }
            if (!indices.empty()) {
                continue;
            }
            places.push_back({&column, std::nullopt, 1, column.header + " 1"});
        }
        if (column.need == Need::Required) {
            Add(rule.name, afterLast, Severity::Error,
                "the required column " + Quoted(places.back().shown) + " is missing");
        }
    }
    std::sort(units.begin(), units.end());
    for (const auto& [at, column] : units) {
        CheckUnit(rule, *column, Trimmed(header.ValueAt(at)), CellName(at, header.number));
    }
}

void WorkbookChecker::CheckUnit(const SheetRule& rule, const ColumnRule& column, std::string_view header,
                                const std::string& cell) {
    const std::string unit = UnitKey(HeaderUnit(header));
    if (unit.empty() || column.metricUnit.empty() || (model.units != "metric" && model.units != "imperial")) {
        return;
    }
    const bool metric = model.units == "metric";
    const std::string& wanted = metric ? column.metricUnit : column.imperialUnit;
    if (unit == UnitKey(wanted)) {
        return;
    }
    if (unit == UnitKey(metric ? column.imperialUnit : column.metricUnit)) {
        Add(rule.name, cell, Severity::Error,
            "the header's unit [" + HeaderUnit(header) +
                "] is not the unit of the Model's system of units (" + (metric ? "Metric" : "Imperial") +
                ": [" + wanted + "])");
    } else {
        Add(rule.name, cell, Severity::Warning,
            "the header's unit [" + HeaderUnit(header) + "] is not [" + wanted + "]");
    }
}

void WorkbookChecker::CheckObjectSheet(const SheetRule& rule) {
    const std::string& sheet = rule.name;
    SheetRowReader reader(package, sheet, SkippedPlaceFindings());
    SheetRow row;
    if (!ReadHeaderRow(reader, row)) {
        return;
    }
    std::vector<ColumnPlace> places;
    ColumnsByKey columnOf;
    CheckHeader(rule, row, places, columnOf);
    const auto nameFound = columnOf.find("name");
    const bool hasNames = rule.hasNameColumn && nameFound != columnOf.end();
    const std::size_t nameColumn = hasNames ? nameFound->second : 0;
    const WholeRowColumns wholeRow = WholeRowColumnsOf(rule, columnOf);
    RowView view(columnOf);
    FirstSeen rowOfName;
    std::size_t namedRows = 0;
    while (reader.Next(row)) {
        view.Load(row);
        if (row.cells.empty()) {
            continue;
        }
        ++report.objectsChecked;
        const std::size_t nameAt = hasNames ? nameColumn : row.cells.front().column;
        const std::string_view name = hasNames ? view.At(nameColumn) : std::string_view();
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
        CheckRowAsAWhole(rule, wholeRow, view, row.number, places);
    }
    if (!reader.Error().empty()) {
        Unreadable(reader.Error());
        return;
    }
    if (hasNames) {
        objectCounts.emplace_back(sheet, namedRows);
    }
    if (sheet == DeferredTarget) {
        deferredNames.emplace(rowOfName.TakeSorted());
    }
}

void WorkbookChecker::CheckCell(const SheetRule& sheetRule, const ColumnPlace& place, const RowView& row,
                                std::size_t rowNumber, std::size_t nameAt) {
    const ColumnRule& rule = *place.rule;
    const std::optional<std::size_t> column = place.column;
    const std::string_view value = column ? row.At(*column) : std::string_view();
    if (value.empty()) {
        // An indexed column asks for its first index only: a combination of one load case leaves
        // "Load case name 2" empty.
        const bool needed = place.index > 1                  ? false
                            : rule.need == Need::Required    ? true
                            : rule.need == Need::Conditional ? rule.when.Holds(row)
                                                             : false;
        // A missing required column was reported once, at the header.
        if (!needed || (!column && rule.need != Need::Conditional)) {
            return;
        }
        const std::string why = rule.need == Need::Conditional ? " " + rule.when.Describe() : std::string();
        if (!column) {
            Add(sheetRule.name, CellName(nameAt, rowNumber), Severity::Error,
                Quoted(place.shown) + " is required" + why + ", but the sheet has no such column");
        } else {
            Add(sheetRule.name, CellName(*column, rowNumber), Severity::Error,
                Quoted(place.shown) + " is required" + why + " but empty");
        }
        return;
    }
    const CellPlace cell{sheetRule.name, *column, rowNumber};
    CheckValue(place, value, row.TextAt(*column), cell);
    if (!rule.edgeIndexOf.empty()) {
        CheckEdgeIndex(place, row, cell);
    }
    if (rule.key == "id") {
        CheckId(sheetRule.name, *column, rowNumber, value);
    }
}

void WorkbookChecker::AddAt(const CellPlace& cell, Severity severity, std::string message) {
    Add(std::string(cell.sheet), cell.Name(), severity, std::move(message));
}

void WorkbookChecker::CheckValue(const ColumnPlace& place, std::string_view value, bool storedAsText,
                                 const CellPlace& cell) {
    if (!place.rule->list) {
        CheckItem(place, value, storedAsText, false, cell);
        return;
    }
    ForEachItemOf(value, place.rule->separator,
                  [&](std::string_view item) { CheckItem(place, item, false, true, cell); });
}

void WorkbookChecker::CheckItem(const ColumnPlace& place, std::string_view item, bool storedAsText,
                                bool inList, const CellPlace& cell) {
    const ColumnRule& rule = *place.rule;
    // Built only for a finding: most cells have none.
    const auto what = [&] { return Quoted(place.shown) + (inList ? " item " : " ") + Quoted(item); };
    if (item.empty()) {
        // "A;;B": a list with a gap reads as an item left out.
        AddAt(cell, Severity::Error, Quoted(place.shown) + " holds an empty item in its list");
        return;
    }
    switch (rule.kind) {
    case ValueKind::Text:
        break;
    case ValueKind::Number:
        if (!IsNumber(item)) {
            AddAt(cell, Severity::Error,
                  what() + " is not a number" +
                      (item.find(',') != std::string_view::npos ? " (the decimal separator is a dot)" : ""));
        } else if (storedAsText) {
            AddAt(cell, Severity::Warning, what() + " is a number stored as text");
        }
        break;
    case ValueKind::Integer:
        if (!WholeNumber(item)) {
            AddAt(cell, Severity::Error, what() + " is not a whole number");
        }
        break;
    case ValueKind::Choice:
        if (!IsChoice(item, rule.choices)) {
            AddAt(cell, Severity::Error, what() + " is not one of " + JoinChoices(rule.choices));
        }
        break;
    case ValueKind::Date:
        if (!IsNumber(item) && !LooksLikeDate(item)) {
            AddAt(cell, Severity::Warning, what() + " is not a date");
        }
        break;
    case ValueKind::Color:
        if (!IsArgbColor(item)) {
            AddAt(cell, Severity::Warning, what() + " is not #AARRGGBB");
        }
        break;
    case ValueKind::Vector:
        if (!IsVector(item)) {
            AddAt(cell, Severity::Error, what() + " is not a vector (x;y;z)");
        }
        break;
    }
    if (!rule.targets.empty()) {
        CheckReference(place, item, cell);
    }
}

void WorkbookChecker::CheckReference(const ColumnPlace& place, std::string_view name, const CellPlace& cell) {
    const ColumnRule& rule = *place.rule;
    bool anySheet = false;
    bool deferred = false;
    for (std::size_t at = 0; at < rule.targets.size(); ++at) {
        const std::string& target = rule.targets[at];
        if (deferredSheetPresent && target == DeferredTarget) {
            if (!deferredNames) {
                deferred = true;
            } else if (deferredNames->Contains(NameRegistry::Hash(name))) {
                return;
            }
            anySheet = true;
            continue;
        }
        if (const NameRegistry::Names* targetNames =
                at < place.targetNames.size() ? place.targetNames[at] : nullptr) {
            anySheet = true;
            if (targetNames->Contains(name)) {
                return;
            }
        }
    }
    if (deferred) {
        pendingReferences.push_back(
            {NameRegistry::Hash(name), currentSheet, cell.column, cell.row, &rule, std::string(name)});
        return;
    }
    if (!anySheet) {
        AddAt(cell, Severity::Error,
              Quoted(place.shown) + " names " + Quoted(name) + ", but the workbook has no " +
                  TargetsText(rule) + " sheet");
    } else {
        AddAt(cell, Severity::Error,
              Quoted(place.shown) + " names " + Quoted(name) + ", which is not in " + TargetsText(rule));
    }
}

std::vector<WorkbookChecker::ColumnPlace::EdgeOwner>
WorkbookChecker::EdgeOwnersOf(const SheetRule& rule, const ColumnRule& index,
                              const ColumnsByKey& columnOf) const {
    // The object whose edges the index counts is named in the first filled column of the row that
    // names objects of a sheet the index counts on.
    std::vector<ColumnPlace::EdgeOwner> owners;
    for (const ColumnRule& column : rule.columns) {
        const auto at = columnOf.find(column.key);
        if (at == columnOf.end()) {
            continue; // never filled
        }
        for (const std::string& target : column.targets) {
            const bool counted = std::find(index.edgeIndexOf.begin(), index.edgeIndexOf.end(), target) !=
                                 index.edgeIndexOf.end();
            const auto found = edgeCounts.find(target);
            if (counted && found != edgeCounts.end()) {
                owners.push_back({&column, at->second, &found->second});
                break;
            }
        }
    }
    return owners;
}

void WorkbookChecker::CheckEdgeIndex(const ColumnPlace& place, const RowView& row, const CellPlace& cell) {
    // With lists (several members, an edge each) the index is read item by item.
    const auto filled = std::find_if(
        place.edgeOwners.begin(), place.edgeOwners.end(),
        [&](const ColumnPlace::EdgeOwner& candidate) { return !row.At(candidate.column).empty(); });
    if (filled == place.edgeOwners.end()) {
        return;
    }
    const ColumnRule* owner = filled->rule;
    const EdgeCounts* counts = filled->counts;
    std::vector<std::string_view> owners;
    ForEachItemOf(row.At(filled->column), owner->list ? owner->separator : '\0',
                  [&](std::string_view item) { owners.push_back(item); });
    std::size_t position = 0;
    ForEachItemOf(row.At(cell.column), place.rule->list ? place.rule->separator : '\0',
                  [&](std::string_view item) {
                      const std::string_view name = owners[std::min(position++, owners.size() - 1)];
                      const std::optional<long long> index = WholeNumber(item);
                      const auto found = std::lower_bound(counts->begin(), counts->end(),
                                                          std::make_pair(NameRegistry::Hash(name), 0U));
                      if (!index || found == counts->end() || found->first != NameRegistry::Hash(name)) {
                          return; // not a number, or no such object: found as such already
                      }
                      if (*index < 1 || *index > static_cast<long long>(found->second)) {
                          AddAt(cell, Severity::Error,
                                Quoted(place.shown) + " " + Quoted(item) + " is not an edge of " +
                                    Quoted(name) + ", which has " + std::to_string(found->second) + " edges");
                      }
                  });
}

} // namespace AnalysisApp
