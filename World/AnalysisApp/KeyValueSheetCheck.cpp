#include "WorkbookChecker.hpp"

#include "CellValues.hpp"
#include "HeaderKey.hpp"

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

void WorkbookChecker::CheckKeyValueSheet(const std::string& sheet, bool isModel) {
    SheetRowReader reader(package, sheet, SkippedPlaceFindings());
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

void WorkbookChecker::CheckModelRow(const std::string& sheet, const std::string& key,
                                    std::string_view shownKey, std::string_view value,
                                    const std::string& cell) {
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
            Add(sheet, cell, Severity::Error, "SAF Version " + Quoted(value) + " is not a version number");
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

} // namespace AnalysisApp
