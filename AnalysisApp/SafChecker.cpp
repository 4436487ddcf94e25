#include "SafChecker.hpp"

#include "CellValues.hpp"
#include "FirstSeen.hpp"
#include "HeaderKey.hpp"
#include "NameRegistry.hpp"
#include "RowView.hpp"
#include "SafRules.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>

namespace AnalysisApp {
namespace {

// The sheet whose names are collected while it is checked rather than in the first pass.
constexpr std::string_view DeferredTarget = "StructuralCurveMember";
constexpr std::uint32_t RowTagLimit = 0xFFFFFF;

// A reference into the deferred sheet met before that sheet was read.
struct PendingReference {
    std::uint64_t hash;
    int sheetIndex;
    std::size_t column;
    std::size_t row;
    std::string_view header;
    std::string_view target;
    std::string name;
};

std::string CellName(std::size_t column, std::size_t row) {
    std::string letters;
    std::size_t rest = column + 1;
    while (rest > 0) {
        letters.insert(letters.begin(), static_cast<char>('A' + (rest - 1) % 26));
        rest = (rest - 1) / 26;
    }
    return letters + std::to_string(row);
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

struct ModelFacts {
    bool present = false;
    std::string version;
    std::string unitsAsWritten;
    std::string units; // folded: "metric", "imperial" or something else
};

class Checker {
public:
    explicit Checker(const SpreadsheetPackage& workbook) : package(workbook) {}

    // What ReadSafWorkbook would say of the workbook, from what Run() met on its way.
    SafReading Reading() const {
        if (!report.readable) {
            return {std::nullopt, report.problem};
        }
        if (!model.present) {
            return {std::nullopt, "it has no Model sheet"};
        }
        if (model.version.empty()) {
            return {std::nullopt, "its Model sheet has no \"SAF Version\""};
        }
        SafSummary summary;
        summary.safVersion = model.version;
        summary.unitSystem = model.unitsAsWritten;
        for (const auto& [sheet, count] : objectCounts) {
            AddObjectCount(summary, sheet, count);
        }
        return {summary, {}};
    }

    CheckReport Run() {
        ReadModelFacts();
        if (!model.present) {
            Add({}, {}, Severity::Error, "the workbook has no Model sheet");
        }
        CollectNames();
        const std::vector<std::string>& sheets = package.SheetNames();
        for (std::size_t index = 0; index < sheets.size() && report.readable; ++index) {
            currentSheet = static_cast<int>(index);
            const std::string& sheet = sheets[index];
            if (sheet == "Model") {
                CheckKeyValueSheet(sheet, true);
            } else if (sheet == "Project") {
                CheckKeyValueSheet(sheet, false);
            } else if (const SheetRule* rule = RuleOfSheet(sheet)) {
                CheckObjectSheet(*rule);
            } else {
                CountObjects(sheet);
            }
        }
        ResolvePending();
        PutFindingsInWorkbookOrder();
        return report;
    }

private:
    void Add(std::string sheet, std::string cell, Severity severity, std::string message) {
        (severity == Severity::Error ? report.errors : report.warnings) += 1;
        std::size_t row = 0;
        for (const char character : cell) {
            row = character >= '0' && character <= '9' ? row * 10 + static_cast<std::size_t>(character - '0')
                                                       : 0;
        }
        findingOrder.emplace_back(sheet.empty() ? -1 : currentSheet, row);
        report.findings.push_back({std::move(sheet), std::move(cell), severity, std::move(message)});
    }

    // A damaged part ends the check: what follows it cannot be read.
    void Unreadable(const std::string& problem) {
        report.readable = false;
        report.problem = problem;
    }

    bool Is210() const { return model.version.rfind("2.1.", 0) == 0; }

    void ReadModelFacts() {
        if (!package.HasSheet("Model")) {
            return;
        }
        model.present = true;
        SheetRowReader reader(package, "Model");
        SheetRow row;
        while (reader.Next(row)) {
            const std::string key = HeaderKey(row.ValueAt(0));
            if (key == "safversion" && model.version.empty()) {
                model.version = std::string(Trimmed(row.ValueAt(1)));
            } else if (key == "systemofunits" && model.unitsAsWritten.empty()) {
                model.unitsAsWritten = std::string(Trimmed(row.ValueAt(1)));
                model.units = Folded(model.unitsAsWritten);
            }
        }
        if (!reader.Error().empty()) {
            Unreadable(reader.Error());
        }
    }

    // The sheets other rows refer to by name, read in a first pass so that a reference to a sheet
    // further on resolves as well as one to a sheet before. Curve members are left to the second pass:
    // they are the longest sheet by far, and only supports on beams refer to them, which are resolved
    // once the members have been read (ResolvePending).
    static bool ReadInFirstPass(std::string_view sheet) {
        if (sheet == DeferredTarget) {
            return false;
        }
        for (const SheetRule& rule : SafSheetRules()) {
            for (const ColumnRule& column : rule.columns) {
                if (column.target == sheet) {
                    return true;
                }
            }
        }
        return false;
    }

    void CollectNames() {
        for (const std::string& sheet : package.SheetNames()) {
            if (!report.readable) {
                return;
            }
            if (!ReadInFirstPass(sheet)) {
                continue;
            }
            SheetRowReader reader(package, sheet);
            SheetRow row;
            std::optional<std::size_t> nameColumn;
            bool header = true;
            while (reader.Next(row)) {
                if (header) {
                    header = false;
                    for (const SheetCell& cell : row.cells) {
                        if (HeaderKey(cell.value) == "name") {
                            nameColumn = cell.column;
                            break;
                        }
                    }
                    names.Add(sheet, {}); // the sheet exists, even without objects
                    continue;
                }
                if (nameColumn && !Trimmed(row.ValueAt(*nameColumn)).empty()) {
                    names.Add(sheet, Trimmed(row.ValueAt(*nameColumn)));
                }
            }
            if (!reader.Error().empty()) {
                Unreadable(reader.Error());
            }
        }
        names.Seal();
    }

    // A sheet the checker has no rules for still counts its objects for the summary.
    void CountObjects(const std::string& sheet) {
        SheetRowReader reader(package, sheet);
        SheetRow row;
        if (!reader.Next(row)) {
            if (!reader.Error().empty()) {
                Unreadable(reader.Error());
            }
            return;
        }
        const auto name = std::find_if(row.cells.begin(), row.cells.end(),
                                       [](const SheetCell& cell) { return HeaderKey(cell.value) == "name"; });
        if (name == row.cells.end()) {
            return;
        }
        const std::size_t nameColumn = name->column;
        std::size_t count = 0;
        while (reader.Next(row)) {
            if (!Trimmed(row.ValueAt(nameColumn)).empty()) {
                ++count;
            }
        }
        if (!reader.Error().empty()) {
            Unreadable(reader.Error());
            return;
        }
        objectCounts.emplace_back(sheet, count);
    }

    void ResolvePending() {
        for (const PendingReference& pending : pendingReferences) {
            const auto found = deferredNames.find(pending.target);
            if (found != deferredNames.end() &&
                std::binary_search(found->second.begin(), found->second.end(), pending.hash)) {
                continue;
            }
            currentSheet = pending.sheetIndex;
            Add(package.SheetNames()[static_cast<std::size_t>(pending.sheetIndex)],
                CellName(pending.column, pending.row), Severity::Error,
                Quoted(pending.header) + " names " + Quoted(pending.name) + ", which is not in " +
                    std::string(pending.target));
        }
        pendingReferences.clear();
    }

    void PutFindingsInWorkbookOrder() {
        std::vector<std::size_t> order(report.findings.size());
        for (std::size_t index = 0; index < order.size(); ++index) {
            order[index] = index;
        }
        std::stable_sort(order.begin(), order.end(), [&](std::size_t left, std::size_t right) {
            return findingOrder[left] < findingOrder[right];
        });
        std::vector<CheckFinding> sorted;
        sorted.reserve(order.size());
        for (const std::size_t index : order) {
            sorted.push_back(std::move(report.findings[index]));
        }
        report.findings = std::move(sorted);
    }

    // Ids are compared without regard to case, as GUIDs are.
    static std::uint64_t IdHash(std::string_view id) {
        std::uint64_t hash = 0xcbf29ce484222325ULL;
        for (const char character : id) {
            const char folded =
                character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a') : character;
            hash ^= static_cast<unsigned char>(folded);
            hash *= 0x100000001b3ULL;
        }
        return hash;
    }

    void CheckId(std::string_view sheet, std::size_t column, std::size_t row, std::string_view id) {
        if (!LooksLikeGuid(id)) {
            Add(std::string(sheet), CellName(column, row), Severity::Warning,
                "Id " + Quoted(id) + " is not a GUID");
        }
        const auto tag = static_cast<std::uint32_t>((static_cast<std::uint32_t>(currentSheet) << 24) |
                                                    (std::min<std::size_t>(row, RowTagLimit)));
        if (const std::optional<std::uint32_t> first = ids.Insert(IdHash(id), tag)) {
            const std::string& firstSheet = package.SheetNames()[*first >> 24];
            Add(std::string(sheet), CellName(column, row), Severity::Error,
                "Id " + Quoted(id) + " is used already by " + firstSheet + " row " +
                    std::to_string(*first & RowTagLimit));
        }
    }

    void CheckKeyValueSheet(const std::string& sheet, bool isModel) {
        SheetRowReader reader(package, sheet);
        SheetRow row;
        std::map<std::string, std::size_t> seenKeys;
        std::size_t lastRow = 0;
        while (reader.Next(row)) {
            lastRow = row.number;
            const std::string key = HeaderKey(row.ValueAt(0));
            const std::string_view value = Trimmed(row.ValueAt(1));
            const std::string valueCell = CellName(1, row.number);
            if (key.empty()) {
                continue;
            }
            if (!seenKeys.emplace(key, row.number).second) {
                Add(sheet, CellName(0, row.number), Severity::Warning,
                    Quoted(Trimmed(row.ValueAt(0))) + " appears again; row " + std::to_string(seenKeys[key]) +
                        " holds its value");
                continue;
            }
            if (key == "created" || key == "lastupdate") {
                if (!value.empty() && !IsNumber(value) && !LooksLikeDate(value)) {
                    Add(sheet, valueCell, Severity::Warning,
                        Quoted(Trimmed(row.ValueAt(0))) + " " + Quoted(value) + " is not a date");
                }
            } else if (key == "id" && !value.empty()) {
                CheckId(sheet, 1, row.number, value);
            }
            if (isModel) {
                CheckModelRow(sheet, key, Trimmed(row.ValueAt(0)), value, valueCell);
            }
        }
        if (!reader.Error().empty()) {
            Unreadable(reader.Error());
            return;
        }
        if (!isModel) {
            return;
        }
        for (const ModelRowRule& rule : ModelRowRules()) {
            if (rule.required && seenKeys.count(HeaderKey(rule.key)) == 0) {
                Add(sheet, CellName(0, lastRow + 1), Severity::Error,
                    "the required row " + Quoted(rule.key) + " is missing");
            }
        }
    }

    void CheckModelRow(const std::string& sheet, const std::string& key, std::string_view shownKey,
                       std::string_view value, const std::string& cell) {
        for (const ModelRowRule& rule : ModelRowRules()) {
            if (HeaderKey(rule.key) != key) {
                continue;
            }
            if (value.empty()) {
                if (rule.required) {
                    Add(sheet, cell, Severity::Error, Quoted(rule.key) + " is required but empty");
                }
                return;
            }
            if (!rule.choices.empty() && !IsChoice(value, rule.choices)) {
                Add(sheet, cell, Severity::Error,
                    Quoted(shownKey) + " " + Quoted(value) + " is not one of " + JoinChoices(rule.choices));
            }
        }
        if (key == "safversion" && !value.empty()) {
            if (!IsVersionNumber(value)) {
                Add(sheet, cell, Severity::Error,
                    "SAF Version " + Quoted(value) + " is not a version number");
            } else if (value != "2.2.0" && !Is210()) {
                Add(sheet, cell, Severity::Warning,
                    "SAF Version " + std::string(value) + " is neither 2.2.0 nor 2.1.0; checked as 2.2.0");
            }
        } else if (key == "nationalcode" && !value.empty()) {
            const std::string_view code = Trimmed(value.substr(0, value.find('(')));
            if (!IsChoice(code, NationalCodes())) {
                Add(sheet, cell, Severity::Error,
                    "National code " + Quoted(value) + " is not a SAF national code");
            }
        }
    }

    struct ColumnPlace {
        const ColumnRule* rule;
        std::optional<std::size_t> column;
        const NameRegistry::Names* targetNames = nullptr; // for a reference: the names of its sheet
    };

    // Where a finding goes, named only when there is one.
    struct CellPlace {
        std::string_view sheet;
        std::size_t column;
        std::size_t row;
        std::string Name() const { return CellName(column, row); }
    };

    void CheckHeader(const SheetRule& rule, const SheetRow& header, std::vector<ColumnPlace>& places,
                     ColumnsByKey& columnOf) {
        for (const SheetCell& cell : header.cells) {
            const std::string key = HeaderKey(cell.value);
            if (key.empty()) {
                continue;
            }
            if (!columnOf.emplace(key, cell.column).second) {
                Add(std::string(rule.name), CellName(cell.column, header.number), Severity::Warning,
                    "column " + Quoted(Trimmed(cell.value)) + " appears twice; the first one is read");
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

    void CheckUnit(const SheetRule& rule, const ColumnRule& column, std::string_view header,
                   const std::string& cell) {
        const std::string unit = UnitKey(HeaderUnit(header));
        if (unit.empty() || column.metricUnit.empty() ||
            (model.units != "metric" && model.units != "imperial")) {
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

    void CheckObjectSheet(const SheetRule& rule) {
        const std::string sheet(rule.name);
        SheetRowReader reader(package, sheet);
        SheetRow row;
        if (!reader.Next(row)) {
            if (!reader.Error().empty()) {
                Unreadable(reader.Error());
            }
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
                const auto rowTag =
                    static_cast<std::uint32_t>(std::min<std::size_t>(row.number, RowTagLimit));
                if (const std::optional<std::uint32_t> first =
                        rowOfName.Insert(NameRegistry::Hash(name), rowTag)) {
                    Add(sheet, CellName(nameAt, row.number), Severity::Error,
                        "the name " + Quoted(name) + " is used by row " + std::to_string(*first) +
                            " already");
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

    void CheckCell(const SheetRule& sheetRule, const ColumnPlace& place, const RowView& row,
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

    void AddAt(const CellPlace& cell, Severity severity, std::string message) {
        Add(std::string(cell.sheet), cell.Name(), severity, std::move(message));
    }

    void CheckValue(const ColumnPlace& place, std::string_view value, bool storedAsText,
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
                          (value.find(',') != std::string_view::npos ? " (the decimal separator is a dot)"
                                                                     : ""));
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
                      Quoted(rule.header) + " " + Quoted(value) + " is not one of " +
                          JoinChoices(rule.choices));
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

    void CheckReference(const ColumnPlace& place, std::string_view name, const CellPlace& cell) {
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
            } else if (!std::binary_search(read->second.begin(), read->second.end(),
                                           NameRegistry::Hash(name))) {
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

    // What no single cell shows: the shape that the cross-section type allows, the nodes that the
    // segments of a member need.
    void CheckRowAsAWhole(const SheetRule& rule, const RowView& row, std::size_t rowNumber) {
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

    const SpreadsheetPackage& package;
    CheckReport report;
    ModelFacts model;
    NameRegistry names;
    FirstSeen ids;                                         // tag: the sheet's position << 24 | the row
    std::vector<std::pair<int, std::size_t>> findingOrder; // per finding: sheet position, row
    int currentSheet = -1;
    std::map<std::string_view, std::vector<std::uint64_t>> deferredNames; // sorted name hashes
    std::vector<PendingReference> pendingReferences;
    std::vector<std::pair<std::string, std::size_t>> objectCounts;
};

} // namespace

CheckReport CheckSafWorkbook(const SpreadsheetPackage& package) {
    return Checker(package).Run();
}

SummaryAndCheck SummariseAndCheck(const SpreadsheetPackage& package) {
    Checker checker(package);
    CheckReport check = checker.Run();
    return {checker.Reading(), std::move(check)};
}

CheckReport CheckSafWorkbookFile(const std::filesystem::path& path) {
    SpreadsheetPackage package;
    const std::string problem = package.OpenFile(path);
    if (!problem.empty()) {
        CheckReport report;
        report.readable = false;
        report.problem = problem;
        return report;
    }
    return CheckSafWorkbook(package);
}

CheckReport CheckSafWorkbookBytes(std::string_view bytes) {
    SpreadsheetPackage package;
    const std::string problem = package.Open(bytes);
    if (!problem.empty()) {
        CheckReport report;
        report.readable = false;
        report.problem = problem;
        return report;
    }
    return CheckSafWorkbook(package);
}

} // namespace AnalysisApp
