#include "SafRules/SafRules.hpp"

#include "SafRules/SafTables.hpp"
#include "Spreadsheet/HeaderKey.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace AnalysisApp {
namespace {

using Json = nlohmann::json;

// The header without its bracketed unit and without the index mark of a repeated column.
std::string BareHeader(std::string_view header) {
    std::string bare(header.substr(0, header.find('[')));
    if (const std::size_t mark = bare.find('#'); mark != std::string::npos) {
        bare.erase(mark);
    }
    return std::string(Trimmed(bare));
}

std::vector<std::string> Strings(const Json& list) {
    std::vector<std::string> strings;
    if (list.is_array()) {
        for (const Json& item : list) {
            if (item.is_string()) {
                strings.push_back(item.get<std::string>());
            }
        }
    } else if (list.is_string()) {
        strings.push_back(list.get<std::string>());
    }
    return strings;
}

Condition ConditionOf(const Json& when) {
    Condition condition;
    if (when.is_string()) {
        condition.text = when.get<std::string>();
        return condition;
    }
    const auto parts = [&](const char* key, Condition::Kind kind) {
        condition.kind = kind;
        for (const Json& part : when[key]) {
            condition.parts.push_back(ConditionOf(part));
        }
    };
    if (when.contains("all")) {
        parts("all", Condition::Kind::All);
        return condition;
    }
    if (when.contains("any")) {
        parts("any", Condition::Kind::Any);
        return condition;
    }
    condition.column = when.value("column", "");
    condition.columnKey = HeaderKey(BareHeader(condition.column));
    if (when.contains("in")) {
        condition.kind = Condition::Kind::In;
        condition.values = Strings(when["in"]);
    } else if (when.contains("notIn")) {
        condition.kind = Condition::Kind::NotIn;
        condition.values = Strings(when["notIn"]);
    } else if (when.contains("op")) {
        condition.kind = Condition::Kind::Greater; // the tables only ever compare with ">"
        condition.number = when.value("value", 0.0);
    } else if (when.contains("filled")) {
        condition.kind = when.value("filled", true) ? Condition::Kind::Filled : Condition::Kind::Empty;
    }
    return condition;
}

std::map<std::string, std::string, std::less<>> ImperialUnits() {
    std::map<std::string, std::string, std::less<>> units;
    const Json table = Json::parse(EmbeddedTable("units.json"));
    for (const Json& pair : table["unitPairs"]) {
        const std::vector<std::string> imperial = Strings(pair["imperialUnit"]);
        if (!imperial.empty()) {
            units.emplace(pair["siUnit"].get<std::string>(), imperial.front());
        }
    }
    return units;
}

ColumnRule ColumnOf(const Json& column, const std::map<std::string, std::string, std::less<>>& imperial) {
    ColumnRule rule;
    const std::string header = column["header"].get<std::string>();
    rule.header = BareHeader(header);
    rule.key = HeaderKey(rule.header);
    rule.indexed = column.value("indexed", false) || header.find('#') != std::string::npos;
    const std::string type = column.value("type", "String");
    const std::string format = column.contains("format") && column["format"].is_string()
                                   ? column["format"].get<std::string>()
                                   : std::string();
    rule.choices = Strings(column.contains("enum") ? column["enum"] : Json());
    if (rule.choices.empty() && column.contains("allowedValues")) {
        rule.choices = Strings(column["allowedValues"]);
    }
    if (!rule.choices.empty()) {
        rule.kind = ValueKind::Choice;
    } else if (type == "Double") {
        rule.kind = ValueKind::Number;
    } else if (type == "Integer") {
        rule.kind = ValueKind::Integer;
    } else if (type == "DateTime") {
        rule.kind = ValueKind::Date;
    } else if (format.find("#AARRGGBB") != std::string::npos) {
        rule.kind = ValueKind::Color;
    } else if (format.find("(x;y;z)") != std::string::npos) {
        rule.kind = ValueKind::Vector;
    }
    const std::string required = column.value("required", "no");
    rule.need = required == "yes"           ? Need::Required
                : required == "conditional" ? Need::Conditional
                                            : Need::Optional;
    if (rule.need == Need::Conditional) {
        rule.when = ConditionOf(column.contains("requiredWhen") ? column["requiredWhen"] : Json(""));
    }
    // Only a cell of names names objects: "node-name:value pairs" of a variable thickness do not.
    if (column.value("itemKind", "names") == "names" || !column.value("list", false)) {
        rule.targets = Strings(column.contains("refersTo") ? column["refersTo"] : Json());
    }
    rule.list = column.value("list", false);
    if (rule.list && column.contains("separator") && column["separator"].is_string()) {
        const std::string separator = column["separator"].get<std::string>();
        rule.separator = separator.empty() ? ';' : separator.front();
    }
    rule.edgeIndexOf = Strings(column.contains("edgeIndexOf") ? column["edgeIndexOf"] : Json());
    if (column.contains("unit") && column["unit"].is_string()) {
        rule.metricUnit = column["unit"].get<std::string>();
        const auto found = imperial.find(rule.metricUnit);
        rule.imperialUnit = found == imperial.end() ? rule.metricUnit : found->second;
    }
    return rule;
}

SafTable TableOf(const Json& document, std::string version) {
    static const auto imperial = ImperialUnits();
    SafTable table;
    table.version = std::move(version);
    for (const Json& sheet : document["sheets"]) {
        SheetRule rule;
        rule.name = sheet["sheet"].get<std::string>();
        rule.keyValue = sheet.value("kind", "") == "key-value";
        rule.hasNameColumn = sheet.contains("nameColumn") && sheet["nameColumn"].is_string();
        for (const Json& column : sheet[rule.keyValue ? "rows" : "columns"]) {
            rule.columns.push_back(ColumnOf(column, imperial));
        }
        table.sheets.push_back(std::move(rule));
    }
    return table;
}

std::vector<int> VersionParts(std::string_view version) {
    std::vector<int> parts;
    int part = 0;
    bool digits = false;
    for (const char character : version) {
        if (character >= '0' && character <= '9') {
            part = std::min(part * 10 + (character - '0'), 1000000);
            digits = true;
        } else if (character == '.') {
            parts.push_back(part);
            part = 0;
            digits = false;
        } else {
            return {};
        }
    }
    if (!digits) {
        return {};
    }
    parts.push_back(part);
    while (parts.size() < 3) {
        parts.push_back(0);
    }
    return parts;
}

Json* SheetIn(Json& document, std::string_view name) {
    for (Json& sheet : document["sheets"]) {
        if (sheet.value("sheet", "") == name) {
            return &sheet;
        }
    }
    return nullptr;
}

Json* ColumnsIn(Json& sheet) {
    return &sheet[sheet.value("kind", "") == "key-value" ? "rows" : "columns"];
}

bool SameHeader(const Json& column, std::string_view header) {
    return HeaderKey(BareHeader(column["header"].get<std::string>())) == HeaderKey(BareHeader(header));
}

// Takes back, from a later version's table, what one version's changes brought: the sheets and
// columns it added, the values it added to enumerations, and the names it changed. What it removed
// cannot come back (the records do not say what it was), and stays absent.
void UndoChanges(Json& document, const Json& changes) {
    for (const Json& renamed : changes.value("sheetsRenamed", Json::array())) {
        if (Json* sheet = SheetIn(document, renamed.value("to", ""))) {
            (*sheet)["sheet"] = renamed.value("from", "");
        }
    }
    for (const Json& renamed : changes.value("columnsRenamed", Json::array())) {
        if (Json* sheet = SheetIn(document, renamed.value("sheet", ""))) {
            for (Json& column : *ColumnsIn(*sheet)) {
                if (SameHeader(column, renamed.value("to", ""))) {
                    column["header"] = renamed.value("from", "");
                }
            }
        }
    }
    for (const Json& added : changes.value("sheetsAdded", Json::array())) {
        Json& sheets = document["sheets"];
        sheets.erase(std::remove_if(sheets.begin(), sheets.end(),
                                    [&](const Json& sheet) { return sheet["sheet"] == added; }),
                     sheets.end());
    }
    for (const Json& added : changes.value("columnsAdded", Json::array())) {
        if (Json* sheet = SheetIn(document, added.value("sheet", ""))) {
            Json& columns = *ColumnsIn(*sheet);
            columns.erase(std::remove_if(columns.begin(), columns.end(),
                                         [&](const Json& column) {
                                             return SameHeader(column, added.value("column", ""));
                                         }),
                          columns.end());
        }
    }
    for (const Json& change : changes.value("enumChanges", Json::array())) {
        Json* sheet = SheetIn(document, change.value("sheet", ""));
        if (sheet == nullptr || !change.contains("added")) {
            continue;
        }
        for (Json& column : *ColumnsIn(*sheet)) {
            if (SameHeader(column, change.value("column", "")) && column["enum"].is_array()) {
                Json& values = column["enum"];
                for (const Json& value : change["added"]) {
                    values.erase(std::remove(values.begin(), values.end(), value), values.end());
                }
            }
        }
    }
}

// Oldest first: 1.0.5 to 1.1.0 have no tables of their own and are derived from 2.0.0's.
const std::vector<std::string> Versions = {"1.0.5", "1.0.6", "1.0.7", "1.0.8", "1.0.9",
                                           "1.1.0", "2.0.0", "2.1.0", "2.2.0"};

SafTable BuildTable(const std::string& version) {
    if (VersionParts(version) >= VersionParts("2.0.0")) {
        const std::string file = "saf-" + version + ".json";
        return TableOf(Json::parse(EmbeddedTable(file)), version);
    }
    // 2.0.0's table with the changes of every version after this one taken back, newest first.
    Json document = Json::parse(EmbeddedTable("saf-2.0.0.json"));
    const Json history = Json::parse(EmbeddedTable("saf-versions.json"));
    const Json& entries = history["versions"];
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        const std::string later = (*entry)["version"].get<std::string>();
        if (VersionParts(later) > VersionParts("2.0.0") || VersionParts(later) <= VersionParts(version)) {
            continue;
        }
        UndoChanges(document, (*entry)["fromChangelog"]);
    }
    return TableOf(document, version);
}

// Each table is built when a workbook of its version is first checked, and kept: most runs need one.
const SafTable& Built(const std::string& version) {
    static std::mutex guard;
    static std::map<std::string, std::unique_ptr<SafTable>> built;
    const std::lock_guard<std::mutex> lock(guard);
    std::unique_ptr<SafTable>& table = built[version];
    if (!table) {
        table = std::make_unique<SafTable>(BuildTable(version));
    }
    return *table;
}

bool MatchesChoice(std::string_view value, std::string_view choice) {
    if (EqualsFolded(value, choice)) {
        return true;
    }
    if (choice == "Spline-n") {
        const std::string folded = Folded(value);
        const std::string_view prefix = "spline-";
        if (folded.size() <= prefix.size() || folded.compare(0, prefix.size(), prefix) != 0 ||
            folded.size() > prefix.size() + 8) {
            return false;
        }
        const std::string digits = folded.substr(prefix.size());
        return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
               std::stol(digits) >= 2;
    }
    // "EC-DIN-EN (German NA)": the code alone, or with a note of the writer's own.
    const std::size_t note = choice.find(" (");
    if (note == std::string_view::npos || choice.back() != ')') {
        return false;
    }
    const std::string_view code = choice.substr(0, note);
    const std::size_t valueNote = value.find('(');
    return EqualsFolded(Trimmed(value.substr(0, valueNote)), code);
}

std::string JoinedWithOr(const std::vector<std::string>& values) {
    std::string text;
    for (std::size_t index = 0; index < values.size(); ++index) {
        text += (index == 0 ? "" : index + 1 == values.size() ? " or " : ", ") + values[index];
    }
    return text;
}

} // namespace

bool Condition::Holds(const RowValues& row) const {
    switch (kind) {
    case Kind::In:
        return IsChoice(row.Value(columnKey), values);
    case Kind::NotIn: {
        const std::string_view value = Trimmed(row.Value(columnKey));
        return !value.empty() && !IsChoice(value, values);
    }
    case Kind::Greater: {
        const std::string value(Trimmed(row.Value(columnKey)));
        try {
            std::size_t used = 0;
            return !value.empty() && std::stod(value, &used) > number && used == value.size();
        } catch (const std::exception&) {
            return false;
        }
    }
    case Kind::Filled:
        return !Trimmed(row.Value(columnKey)).empty();
    case Kind::Empty:
        return Trimmed(row.Value(columnKey)).empty();
    case Kind::All:
        return std::all_of(parts.begin(), parts.end(),
                           [&](const Condition& part) { return part.Holds(row); });
    case Kind::Any:
        return std::any_of(parts.begin(), parts.end(),
                           [&](const Condition& part) { return part.Holds(row); });
    case Kind::Unstated:
        return false;
    }
    return false;
}

std::string Condition::Describe() const {
    switch (kind) {
    case Kind::In:
        return "when " + column + " is " + JoinedWithOr(values);
    case Kind::NotIn:
        return "when " + column + " is not " + JoinedWithOr(values);
    case Kind::Greater: {
        std::string shown = std::to_string(number);
        shown.erase(shown.find_last_not_of('0') + 1);
        if (!shown.empty() && shown.back() == '.') {
            shown.pop_back();
        }
        return "when " + column + " is more than " + shown;
    }
    case Kind::Filled:
        return "when " + column + " is filled";
    case Kind::Empty:
        return "when " + column + " is empty";
    case Kind::All:
    case Kind::Any: {
        std::string joined;
        for (const Condition& part : parts) {
            const std::string described = part.Describe();
            joined += joined.empty()
                          ? described
                          : (kind == Kind::All ? " and " : " or ") + described.substr(sizeof("when"));
        }
        return joined;
    }
    case Kind::Unstated:
        return "when " + text;
    }
    return {};
}

const ColumnRule* SheetRule::Column(std::string_view key) const {
    for (const ColumnRule& column : columns) {
        if (column.key == key) {
            return &column;
        }
    }
    return nullptr;
}

const SheetRule* SafTable::Sheet(std::string_view name) const {
    for (const SheetRule& sheet : sheets) {
        if (sheet.name == name) {
            return &sheet;
        }
    }
    return nullptr;
}

bool SafTable::IsTarget(std::string_view sheet) const {
    for (const SheetRule& rule : sheets) {
        for (const ColumnRule& column : rule.columns) {
            if (std::find(column.targets.begin(), column.targets.end(), sheet) != column.targets.end()) {
                return true;
            }
        }
    }
    return false;
}

bool SafTable::IsEdgeTarget(std::string_view sheet) const {
    for (const SheetRule& rule : sheets) {
        for (const ColumnRule& column : rule.columns) {
            if (std::find(column.edgeIndexOf.begin(), column.edgeIndexOf.end(), sheet) !=
                column.edgeIndexOf.end()) {
                return true;
            }
        }
    }
    return false;
}

const SafTable& TableOfVersion(std::string_view version, bool& usedInstead) {
    std::string_view bare = Trimmed(version);
    if (!bare.empty() && (bare.front() == 'V' || bare.front() == 'v')) {
        bare.remove_prefix(1); // 1.0.8 stopped writing the "V"; older workbooks have it
    }
    const std::vector<int> parts = VersionParts(bare);
    for (const std::string& known : Versions) {
        if (!parts.empty() && VersionParts(known) == parts) {
            usedInstead = false;
            return Built(known);
        }
    }
    usedInstead = true;
    // Older than any table: the oldest is the nearest; later or unreadable: the newest.
    if (!parts.empty() && parts < VersionParts(Versions.front())) {
        return Built(Versions.front());
    }
    return Built(Versions.back());
}

const std::vector<std::string>& KnownSafVersions() {
    return Versions;
}

bool IsChoice(std::string_view value, const std::vector<std::string>& choices) {
    const std::string_view trimmed = Trimmed(value);
    return std::any_of(choices.begin(), choices.end(),
                       [&](const std::string& choice) { return MatchesChoice(trimmed, choice); });
}

} // namespace AnalysisApp
