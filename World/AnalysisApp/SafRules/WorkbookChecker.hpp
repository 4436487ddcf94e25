#pragma once

#include "Program/SafSummary.hpp"
#include "SafRules/CheckFinding.hpp"
#include "SafRules/FirstSeen.hpp"
#include "SafRules/NameRegistry.hpp"
#include "SafRules/SafRules.hpp"
#include "SafRules/SortedHashes.hpp"
#include "Spreadsheet/RowView.hpp"
#include "Spreadsheet/SpreadsheetPackage.hpp"

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
    const ColumnRule* rule;
    std::string name;
};

struct ModelFacts {
    bool present = false;
    std::string version;
    std::string unitsAsWritten;
    std::string units; // folded: "metric", "imperial" or something else
};

// The edges each object of a sheet has, by name hash, sorted: what an edge index counts on.
using EdgeCounts = std::vector<std::pair<std::uint64_t, std::uint32_t>>;

// "StructuralSurfaceMember, StructuralSurfaceMemberRegion or StructuralSurfaceMemberOpening".
std::string TargetsText(const ColumnRule& rule);
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

    void ReadModelFacts();
    // The table of the Model's SAF version, and a warning when the workbook's version has none.
    void ChooseTable();

    // The sheets other rows refer to by name, read in a first pass so that a reference to a sheet
    // further on resolves as well as one to a sheet before. Curve members are left to the second pass:
    // they are the longest sheet by far, and the rows that refer to them are resolved once the members
    // have been read (ResolvePending) when they come first.
    bool ReadInFirstPass(std::string_view sheet) const;

    void CollectNames();

    // A sheet SAF does not define: a warning, and its objects counted for the summary only.
    void CountObjects(const std::string& sheet);

    void ResolvePending();

    void PutFindingsInWorkbookOrder();

    // Ids are compared without regard to case, as GUIDs are.
    static std::uint64_t IdHash(std::string_view id);

    void CheckId(std::string_view sheet, std::size_t column, std::size_t row, std::string_view id);

    void CheckKeyValueSheet(const SheetRule& rule);

    // A column of the sheet as the table gives it, and where the workbook has it (an indexed column
    // once per index the workbook has).
    struct ColumnPlace {
        const ColumnRule* rule;
        std::optional<std::size_t> column;
        int index = 0;     // for an indexed column: its index in the workbook's header
        std::string shown; // the header as findings name it ("Load factor 2")
        // For a column of names: the names of each sheet it names objects of that the first pass read
        // (none for a sheet the workbook lacks or the deferred one), looked up once per sheet.
        std::vector<const NameRegistry::Names*> targetNames = {};
        // For an edge index: the columns that may name the object whose edges it counts, in the
        // table's order, each with the edges of the first sheet it names that edges were counted on.
        struct EdgeOwner {
            const ColumnRule* rule;
            std::size_t column;
            const EdgeCounts* counts;
        };
        std::vector<EdgeOwner> edgeOwners = {};
    };

    // The columns the faults no single cell shows are read from, found once per sheet.
    struct WholeRowColumns {
        enum class Kind { Other, Curve, Area, Combination };
        Kind kind = Kind::Other;
        std::optional<std::size_t> nodes;
        std::optional<std::size_t> segments;
    };
    static WholeRowColumns WholeRowColumnsOf(const SheetRule& rule, const ColumnsByKey& columnOf);

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
    void CheckItem(const ColumnPlace& place, std::string_view item, bool storedAsText, bool inList,
                   const CellPlace& cell);

    void CheckReference(const ColumnPlace& place, std::string_view name, const CellPlace& cell);

    // An edge index against the edges of the object the row names in the sheets it counts on.
    void CheckEdgeIndex(const ColumnPlace& place, const RowView& row, const CellPlace& cell);
    // The edge owners of an edge index column (ColumnPlace::edgeOwners).
    std::vector<ColumnPlace::EdgeOwner> EdgeOwnersOf(const SheetRule& rule, const ColumnRule& index,
                                                     const ColumnsByKey& columnOf) const;

    // What no single cell shows (SafModelFaults.cpp): nodes that do not fit the segments, a curve
    // whose ends are one node, an area of fewer than three nodes, load cases and factors of a
    // combination that do not pair up.
    void CheckRowAsAWhole(const SheetRule& rule, const WholeRowColumns& columns, const RowView& row,
                          std::size_t rowNumber, const std::vector<ColumnPlace>& places);

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
    bool deferredSheetPresent = false;
    std::optional<SortedHashes> deferredNames; // once the deferred sheet was read
    std::vector<PendingReference> pendingReferences;
    std::map<std::string, EdgeCounts, std::less<>> edgeCounts;
    std::vector<std::pair<std::string, std::size_t>> objectCounts;
    const SafTable* table = nullptr;
};

} // namespace AnalysisApp
