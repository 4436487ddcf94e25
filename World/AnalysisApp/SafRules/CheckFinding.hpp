#pragma once

#include "TerminalText.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What the SAF checker reports: one finding per problem, placed on a cell of the workbook.
namespace AnalysisApp {

enum class Severity { Error, Warning };

struct CheckFinding {
    std::string sheet; // empty for the workbook as a whole
    std::string cell;  // "B7"; empty for a whole sheet
    Severity severity = Severity::Error;
    std::string message;
};

// A report keeps the first thousand findings; the rest are counted.
constexpr std::size_t KeptFindings = 1000;

struct CheckReport {
    bool readable = true; // false: the file is no readable workbook; `problem` says why
    std::string problem;
    std::vector<CheckFinding> findings; // the first KeptFindings in the order of the workbook
    std::size_t errors = 0;             // all of them, kept or not
    std::size_t warnings = 0;
    // What was read against the tables: the sheets SAF defines (Project and Model among them), and
    // the objects in them (the rows below the header that hold anything).
    std::size_t sheetsChecked = 0;
    std::size_t objectsChecked = 0;
    std::string safTable; // the version whose table the workbook was checked against
};

// The findings counted beyond those kept.
inline std::size_t FindingsLeftOut(const CheckReport& report) {
    const std::size_t found = report.errors + report.warnings;
    return found > report.findings.size() ? found - report.findings.size() : 0;
}

const char* SeverityName(Severity severity);

// `text` with the characters that would steer a terminal (C0 and C1 controls, DEL) written as escapes
// (\n, \x1B, \u009B), so that a cell or a file name cannot change what the terminal shows, and a
// finding stays on its line.
inline std::string ShownSafely(std::string_view text) {
    return CommandLine::TerminalSafe(text, CommandLine::LineBreaks::Escaped);
}

// "FILE: SHEET!CELL: severity: message", each text shown safely; without a cell "FILE: SHEET: ..."; without a
// sheet "FILE: severity: message".
std::string FormatFinding(const std::string& file, const CheckFinding& finding);

// 0 no error, 1 errors, 2 no readable workbook.
int ExitCodeOf(const CheckReport& report);

} // namespace AnalysisApp
