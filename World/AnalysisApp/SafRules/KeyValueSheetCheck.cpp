#include "SafRules/WorkbookChecker.hpp"

#include "Spreadsheet/CellValues.hpp"
#include "Spreadsheet/HeaderKey.hpp"

#include <algorithm>
#include <map>

namespace AnalysisApp {

std::uint64_t WorkbookChecker::IdHash(std::string_view id) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char character : id) {
        const char folded =
            character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a') : character;
        hash ^= static_cast<unsigned char>(folded);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

void WorkbookChecker::CheckId(std::string_view sheet, std::size_t column, std::size_t row,
                              std::string_view id) {
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

void WorkbookChecker::CheckKeyValueSheet(const SheetRule& rule) {
    const std::string& sheet = rule.name;
    SheetRowReader reader(package, sheet, SkippedPlaceFindings());
    SheetRow row;
    std::map<std::string, std::size_t> seenKeys;
    std::size_t lastRow = 0;
    while (reader.Next(row)) {
        lastRow = row.number;
        const std::string key = HeaderKey(row.ValueAt(0));
        const std::string_view value = Trimmed(row.ValueAt(1));
        if (key.empty()) {
            continue;
        }
        if (!seenKeys.emplace(key, row.number).second) {
            Add(sheet, CellName(0, row.number), Severity::Warning,
                Quoted(Trimmed(row.ValueAt(0))) + " appears again; row " + std::to_string(seenKeys[key]) +
                    " holds its value");
            continue;
        }
        const ColumnRule* rowRule = rule.Column(key);
        if (rowRule == nullptr) {
            continue; // a property of the writer's own; readers pass over it
        }
        const CellPlace cell{sheet, 1, row.number};
        if (value.empty()) {
            if (rowRule->need == Need::Required) {
                AddAt(cell, Severity::Error, Quoted(rowRule->header) + " is required but empty");
            }
            continue;
        }
        const ColumnPlace place{rowRule, 1, 0, std::string(Trimmed(row.ValueAt(0)))};
        CheckValue(place, value, false, cell);
        if (key == "id") {
            CheckId(sheet, 1, row.number, value);
        } else if (key == "safversion") {
            const bool withV = value.size() > 1 && (value[0] == 'V' || value[0] == 'v');
            if (!IsVersionNumber(withV ? value.substr(1) : value)) {
                AddAt(cell, Severity::Error, "SAF Version " + Quoted(value) + " is not a version number");
            } else if (withV && table->version >= "1.0.8") {
                AddAt(cell, Severity::Warning,
                      "SAF Version " + Quoted(value) +
                          " is written with a \"V\", which SAF dropped in 1.0.8");
            } else if (bool usedInstead = false; TableOfVersion(value, usedInstead), usedInstead) {
                AddAt(cell, Severity::Warning,
                      "SAF Version " + std::string(value) + " has no table here; checked as SAF " +
                          table->version);
            }
        }
    }
    if (!reader.Error().empty()) {
        Unreadable(reader.Error());
        return;
    }
    for (const ColumnRule& rowRule : rule.columns) {
        if (rowRule.need == Need::Required && seenKeys.count(rowRule.key) == 0) {
            Add(sheet, CellName(0, lastRow + 1), Severity::Error,
                "the required row " + Quoted(rowRule.header) + " is missing");
        }
    }
}

} // namespace AnalysisApp
