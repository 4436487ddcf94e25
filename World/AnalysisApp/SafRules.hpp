#pragma once

#include <string>
#include <string_view>
#include <vector>

// What SAF 2.2.0 (and 2.1.0, where it differs) asks of the sheets the checker knows: per column, its
// header, whether a value is required (always, or when another cell of the row says so), what kind of
// value it holds, the sheet a name in it refers to, and its unit in either system of units.
namespace AnalysisApp {

enum class Need { Optional, Required, Conditional };

enum class ValueKind {
    Text,
    Number,
    Integer,
    Choice,        // one of `choices`, compared without regard to case
    ChoiceList,    // ';'-separated, each one of `choices` ("Spline-n" stands for Spline-2, Spline-3, ...)
    Reference,     // the name of an object of `target`
    ReferenceList, // ';'-separated names of objects of `target`
    NumberList,    // a number, or ';'-separated numbers
    NumberOrText,  // a number, or a text that describes several (variable thickness)
    Color,         // #AARRGGBB
};

// The cells of one row by header key, for the conditions.
class RowValues {
public:
    virtual ~RowValues() = default;
    virtual std::string_view Value(std::string_view headerKey) const = 0;
};

struct ColumnRule {
    std::string_view header; // as the format spells it, without its unit
    ValueKind kind = ValueKind::Text;
    Need need = Need::Optional;
    std::vector<std::string_view> choices = {};
    std::string_view target = {};
    std::string_view metricUnit = {};
    std::string_view imperialUnit = {};
    // For Conditional: whether this row needs a value here, and in words why.
    bool (*requiredWhen)(const RowValues& row) = nullptr;
    std::string_view condition = {};
    // Required from 2.2.0 on; a 2.1.0 workbook may leave it out.
    bool optionalIn210 = false;
    long long smallest = 0; // Integer: the range allowed
    long long largest = 0;
};

struct SheetRule {
    std::string_view name;
    std::vector<ColumnRule> columns;
};

// Every object sheet the checker knows, in the order SAF lists them.
const std::vector<SheetRule>& SafSheetRules();

// The rule of the sheet with this exact name, or none.
const SheetRule* RuleOfSheet(std::string_view name);

// Model rows: the required ones and the values they allow.
struct ModelRowRule {
    std::string_view key;
    bool required = false;
    std::vector<std::string_view> choices = {};
};
const std::vector<ModelRowRule>& ModelRowRules();

// National codes: the code before any parenthesis must be one of these.
const std::vector<std::string_view>& NationalCodes();

// Shapes a Parametric or a Compound cross-section may have.
const std::vector<std::string_view>& ParametricShapes();
const std::vector<std::string_view>& CompoundShapes();

// Whether `value` is one of `choices`, compared without regard to case and surrounding blanks;
// "Spline-n" in the choices takes "Spline-" followed by a whole number of at least 2.
bool IsChoice(std::string_view value, const std::vector<std::string_view>& choices);

} // namespace AnalysisApp
