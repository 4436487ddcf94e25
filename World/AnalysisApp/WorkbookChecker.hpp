#pragma once

#include "CheckFinding.hpp"
#include "FirstSeen.hpp"
#include "NameRegistry.hpp"
#include "RowView.hpp"
#include "SafRules.hpp"
#include "SafSummary.hpp"
#include "SpreadsheetPackage.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

// The SAF checker's work on one workbook (SafChecker.hpp has the whole story): the Model's facts, the
// first pass over the sheets that others refer to, and the second pass that checks every sheet:
// key/value sheets in KeyValueSheetCheck.cpp, object sheets in ObjectSheetCheck.cpp.
namespace AnalysisApp {

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

struct ModelFacts {
    bool present = false;
    std::string version;
    std::string unitsAsWritten;
    std::string units; // folded: "metric", "imperial" or something else
};

// "B7" for column 1, row 7.
std::string CellName(std::size_t column, std::size_t row);
// The text in double quotes, as findings quote names and values; a long text shortened to its start.
std::string Quoted(std::string_view text);
// What was wrong with a row or cell the reader skipped, and that it was not read.
std::string DescribeSkippedPlace(const SkippedPlace& place);

class WorkbookChecker {
public:
    explicit WorkbookChecker(const SpreadsheetPackage& workbook) : package(workbook) {}

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

    CheckReport Run();

private:
    void Add(std::string sheet, std::string cell, Severity severity, std::string message);
    // A finding kept in the workbook's order as though it were in `row` of the current sheet.
    void AddInRow(std::size_t row, CheckFinding finding);

    // Hands the rows and cells a reader of the current sheet skips to the findings, in the pass that
    // checks the sheet (the sheet's other reads leave them out, so each is found once).
    SkippedPlaceListener SkippedPlaceFindings();

    // A damaged part ends the check: what follows it cannot be read.
    void Unreadable(const std::string& problem);
    // A sheet's header row into `row`; false when the sheet has none (a damaged part reported).
    bool ReadHeaderRow(SheetRowReader& reader, SheetRow& row);

    bool Is210() const { return model.version.rfind("2.1.", 0) == 0; }
    void ReadModelFacts();

    // The sheets other rows refer to by name, read in a first pass so that a reference to a sheet
    // further on resolves as well as one to a sheet before. Curve members are left to the second pass:
    // they are the longest sheet by far, and only supports on beams refer to them, which are resolved
    // once the members have been read (ResolvePending).
    static bool ReadInFirstPass(std::string_view sheet);

    void CollectNames();

    // A sheet the checker has no rules for still counts its objects for the summary.
    void CountObjects(const std::string& sheet);

    void ResolvePending();

    void PutFindingsInWorkbookOrder();

    // Ids are compared without regard to case, as GUIDs are.
    static std::uint64_t IdHash(std::string_view id);

    void CheckId(std::string_view sheet, std::size_t column, std::size_t row, std::string_view id);

    void CheckKeyValueSheet(const std::string& sheet, bool isModel);

    void CheckModelRow(const std::string& sheet, const std::string& key, std::string_view shownKey,
                       std::string_view value, const std::string& cell);

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
                     ColumnsByKey& columnOf);

    void CheckUnit(const SheetRule& rule, const ColumnRule& column, std::string_view header,
                   const std::string& cell);

    void CheckObjectSheet(const SheetRule& rule);

    void CheckCell(const SheetRule& sheetRule, const ColumnPlace& place, const RowView& row,
                   std::size_t rowNumber, std::size_t nameAt);

    void AddAt(const CellPlace& cell, Severity severity, std::string message);

    void CheckValue(const ColumnPlace& place, std::string_view value, bool storedAsText,
                    const CellPlace& cell);

    void CheckReference(const ColumnPlace& place, std::string_view name, const CellPlace& cell);

    // What no single cell shows: the shape that the cross-section type allows, the nodes that the
    // segments of a member need.
    void CheckRowAsAWhole(const SheetRule& rule, const RowView& row, std::size_t rowNumber);

    const SpreadsheetPackage& package;
    CheckReport report;
    ModelFacts model;
    NameRegistry names;
    FirstSeen ids; // tag: the sheet's position << 24 | the row
    // The first findings in the order of the workbook, as a heap whose top is the last of them: a
    // workbook with a fault in every cell costs the memory of these alone.
    struct KeptFinding {
        std::tuple<int, std::size_t, std::size_t> place; // sheet position, row, order of finding
        CheckFinding finding;
    };
    std::vector<KeptFinding> kept;
    std::size_t findingCount = 0;
    int currentSheet = -1;
    std::map<std::string_view, std::vector<std::uint64_t>> deferredNames; // sorted name hashes
    std::vector<PendingReference> pendingReferences;
    std::vector<std::pair<std::string, std::size_t>> objectCounts;
};

} // namespace AnalysisApp
