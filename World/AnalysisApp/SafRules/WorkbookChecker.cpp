#include "SafRules/WorkbookChecker.hpp"

#include "Spreadsheet/CellValues.hpp"
#include "Spreadsheet/HeaderKey.hpp"

#include <algorithm>

namespace AnalysisApp {

std::string TargetsText(const ColumnRule& rule) {
    std::string text;
    for (std::size_t index = 0; index < rule.targets.size(); ++index) {
        text += (index == 0 ? "" : index + 1 == rule.targets.size() ? " or " : ", ") + rule.targets[index];
    }
    return text;
}

std::string CellName(std::size_t column, std::size_t row) {
    std::string letters;
    std::size_t rest = column + 1;
    while (rest > 0) {
        letters.insert(letters.begin(), static_cast<char>('A' + (rest - 1) % 26));
        rest = (rest - 1) / 26;
    }
    return letters + std::to_string(row);
}

// A finding quotes at most the start of a long value: a cell of megabytes must not make every finding
// about it, and the launch record that keeps them, as long.
std::string Quoted(std::string_view text) {
    constexpr std::size_t Shown = 80;
    if (text.size() <= Shown) {
        return "\"" + std::string(text) + "\"";
    }
    std::size_t cut = Shown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut; // not inside a UTF-8 character
    }
    return "\"" + std::string(text.substr(0, cut)) + "...\" (" + std::to_string(text.size()) + " bytes)";
}

CheckReport WorkbookChecker::Run() {
    ReadModelFacts();
    if (!model.present) {
        Add({}, {}, Severity::Error, "the workbook has no Model sheet");
    }
    ChooseTable();
    deferredSheetPresent = package.HasSheet(DeferredTarget);
    CollectNames();
    const std::vector<std::string>& sheets = package.SheetNames();
    for (std::size_t index = 0; index < sheets.size() && report.readable; ++index) {
        currentSheet = static_cast<int>(index);
        const std::string& sheet = sheets[index];
        if (const SheetRule* rule = table->Sheet(sheet)) {
            ++report.sheetsChecked;
            if (rule->keyValue) {
                CheckKeyValueSheet(*rule);
            } else {
                CheckObjectSheet(*rule);
            }
        } else {
            CountObjects(sheet);
        }
    }
    ResolvePending();
    PutFindingsInWorkbookOrder();
    return report;
}

void WorkbookChecker::Add(std::string sheet, std::string cell, Severity severity, std::string message) {
    std::size_t row = 0;
    for (const char character : cell) {
        row = character >= '0' && character <= '9' ? row * 10 + static_cast<std::size_t>(character - '0') : 0;
    }
    AddInRow(row, {std::move(sheet), std::move(cell), severity, std::move(message)});
}

void WorkbookChecker::AddInRow(std::size_t row, CheckFinding checked) {
    (checked.severity == Severity::Error ? report.errors : report.warnings) += 1;
    const auto later = [](const KeptFinding& left, const KeptFinding& right) {
        return left.place < right.place;
    };
    KeptFinding finding{{checked.sheet.empty() ? -1 : currentSheet, row, findingCount++}, std::move(checked)};
    if (kept.size() == KeptFindings) {
        if (!later(finding, kept.front())) {
            return; // counted, not kept
        }
        std::pop_heap(kept.begin(), kept.end(), later);
        kept.pop_back();
    }
    kept.push_back(std::move(finding));
    std::push_heap(kept.begin(), kept.end(), later);
}

void WorkbookChecker::Unreadable(const std::string& problem) {
    report.readable = false;
    report.problem = problem;
}

bool WorkbookChecker::ReadHeaderRow(SheetRowReader& reader, SheetRow& row) {
    if (reader.Next(row)) {
        return true;
    }
    if (!reader.Error().empty()) {
        Unreadable(reader.Error());
    }
    return false;
}

void WorkbookChecker::ReadModelFacts() {
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

void WorkbookChecker::ChooseTable() {
    // A version without a table of its own is warned of at its cell, where the Model is checked.
    bool usedInstead = false;
    table = &TableOfVersion(model.version, usedInstead);
    report.safTable = table->version;
}

bool WorkbookChecker::ReadInFirstPass(std::string_view sheet) const {
    return sheet != DeferredTarget && (table->IsTarget(sheet) || table->IsEdgeTarget(sheet));
}

void WorkbookChecker::CollectNames() {
    for (const std::string& sheet : package.SheetNames()) {
        if (!report.readable) {
            return;
        }
        const SheetRule* rule = table->Sheet(sheet);
        if (rule == nullptr || rule->keyValue || !ReadInFirstPass(sheet)) {
            continue;
        }
        SheetRowReader reader(package, sheet);
        SheetRow row;
        if (!ReadHeaderRow(reader, row)) {
            continue;
        }
        const std::optional<std::size_t> nameColumn = NameColumnOf(row);
        std::optional<std::size_t> edgesColumn;
        if (table->IsEdgeTarget(sheet)) {
            for (const SheetCell& cell : row.cells) {
                if (HeaderKey(cell.Value()) == "edges") {
                    edgesColumn = cell.column;
                }
            }
        }
        names.Add(sheet, {}); // the sheet exists, even without objects
        EdgeCounts* edges = edgesColumn ? &edgeCounts[sheet] : nullptr;
        while (reader.Next(row)) {
            const std::string_view name = nameColumn ? Trimmed(row.ValueAt(*nameColumn)) : std::string_view();
            if (name.empty()) {
                continue;
            }
            names.Add(sheet, name);
            if (edges != nullptr) {
                const std::string_view list = Trimmed(row.ValueAt(*edgesColumn));
                const auto count = list.empty() ? 0 : std::count(list.begin(), list.end(), ';') + 1;
                edges->emplace_back(NameRegistry::Hash(name), static_cast<std::uint32_t>(count));
            }
        }
        if (edges != nullptr) {
            std::sort(edges->begin(), edges->end());
        }
        if (!reader.Error().empty()) {
            Unreadable(reader.Error());
        }
    }
    names.Seal();
}

void WorkbookChecker::CountObjects(const std::string& sheet) {
    Add(sheet, {}, Severity::Warning, "not a SAF sheet; not checked");
    SheetRowReader reader(package, sheet, SkippedPlaceFindings());
    SheetRow row;
    if (!ReadHeaderRow(reader, row)) {
        return;
    }
    const std::optional<std::size_t> nameColumn = NameColumnOf(row);
    if (!nameColumn) {
        return;
    }
    std::size_t count = 0;
    while (reader.Next(row)) {
        if (!Trimmed(row.ValueAt(*nameColumn)).empty()) {
            ++count;
        }
    }
    if (!reader.Error().empty()) {
        Unreadable(reader.Error());
        return;
    }
    objectCounts.emplace_back(sheet, count);
}

void WorkbookChecker::ResolvePending() {
    for (const PendingReference& pending : pendingReferences) {
        if (deferredNames && deferredNames->Contains(pending.hash)) {
            continue;
        }
        // A column naming objects of several sheets may find the name in one of the others.
        const auto elsewhere = [&](const std::string& target) {
            const NameRegistry::Names* names_ = names.Find(target);
            return target != DeferredTarget && names_ != nullptr && names_->Contains(pending.name);
        };
        if (std::any_of(pending.rule->targets.begin(), pending.rule->targets.end(), elsewhere)) {
            continue;
        }
        currentSheet = pending.sheetIndex;
        Add(package.SheetNames()[static_cast<std::size_t>(pending.sheetIndex)],
            CellName(pending.column, pending.row), Severity::Error,
            Quoted(pending.rule->header) + " names " + Quoted(pending.name) + ", which is not in " +
                TargetsText(*pending.rule));
    }
    pendingReferences.clear();
}

void WorkbookChecker::PutFindingsInWorkbookOrder() {
    std::sort(kept.begin(), kept.end(),
              [](const KeptFinding& left, const KeptFinding& right) { return left.place < right.place; });
    report.findings.clear();
    report.findings.reserve(kept.size());
    for (KeptFinding& finding : kept) {
        report.findings.push_back(std::move(finding.finding));
    }
    kept.clear();
}

} // namespace AnalysisApp
