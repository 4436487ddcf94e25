#pragma once

#include <string>
#include <string_view>
#include <vector>

// What a version of SAF asks of each sheet, read from the format's tables (SafRules/tables): per
// column or key/value row, its header, the kind of value, whether it is required (always, or when
// other cells of the row say so), its enumeration, the sheets whose objects it names, whether it
// holds a list, and its unit in either system of units. The checker (WorkbookChecker) reads these and
// nothing written sheet by sheet.
namespace AnalysisApp {

enum class Need { Optional, Required, Conditional };

enum class ValueKind {
    Text,
    Number,
    Integer,
    Choice, // one of `choices`, compared without regard to case
    Date,   // yyyy-mm-dd, with a time or without
    Color,  // #AARRGGBB
    Vector, // (x;y;z)
};

// The cells of one row by header key, for the conditions.
class RowValues {
public:
    virtual ~RowValues() = default;
    virtual std::string_view Value(std::string_view headerKey) const = 0;
};

// When a conditional column needs a value: a test of other cells of the row, or a fact the sheet has
// no column for (Unstated: never demanded, since nothing in the row can show it).
struct Condition {
    enum class Kind { In, NotIn, Greater, Filled, Empty, All, Any, Unstated };
    Kind kind = Kind::Unstated;
    std::string column; // as the table spells it
    std::string columnKey;
    std::vector<std::string> values;
    double number = 0;
    std::vector<Condition> parts;
    std::string text;

    bool Holds(const RowValues& row) const;
    // "when Cross-section type is Parametric or Compound"
    std::string Describe() const;
};

struct ColumnRule {
    std::string header; // as the table spells it, without its unit and without the index mark
    std::string key;    // HeaderKey(header)
    ValueKind kind = ValueKind::Text;
    Need need = Need::Optional;
    Condition when;
    std::vector<std::string> choices;
    std::vector<std::string> targets; // sheets whose objects the cell names
    bool list = false;
    char separator = ';';
    bool indexed = false; // repeated as "<header> 1", "<header> 2", ...
    std::vector<std::string> edgeIndexOf;
    std::string metricUnit;
    std::string imperialUnit;
};

struct SheetRule {
    std::string name;
    bool keyValue = false; // Project and Model: one row per property
    bool hasNameColumn = false;
    std::vector<ColumnRule> columns;
    const ColumnRule* Column(std::string_view key) const;
};

struct SafTable {
    std::string version;
    std::vector<SheetRule> sheets;
    const SheetRule* Sheet(std::string_view name) const;
    // Whether a column of some sheet names objects of `sheet`.
    bool IsTarget(std::string_view sheet) const;
    // Whether a column of some sheet counts edges of objects of `sheet`.
    bool IsEdgeTarget(std::string_view sheet) const;
};

// The table a workbook of this SAF version is checked against: its own where there is one (2.2.0,
// 2.1.0, 2.0.0; 1.0.5 to 1.1.0 derived from 2.0.0 and the recorded changes); otherwise 2.2.0, and
// `usedInstead` says so. Built once, on first use.
const SafTable& TableOfVersion(std::string_view version, bool& usedInstead);

// The versions that have a table of their own or a derived one, oldest first.
const std::vector<std::string>& KnownSafVersions();

// Whether `value` is one of `choices`, compared without regard to case and surrounding blanks;
// "Spline-n" in the choices takes "Spline-" followed by a whole number of at least 2, and a choice
// with a note in parentheses ("EC-DIN-EN (German NA)", "ULS (Ultimate Limit State)") takes the text
// before the note as well, and that text followed by any note.
bool IsChoice(std::string_view value, const std::vector<std::string>& choices);

} // namespace AnalysisApp
