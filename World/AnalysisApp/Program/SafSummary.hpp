#pragma once

#include "Spreadsheet/SpreadsheetPackage.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace AnalysisApp {

// What the analysis application makes of a SAF workbook: its version and the objects it holds.
struct SafSummary {
    std::string safVersion;
    std::string unitSystem; // the Model's "System of units", empty when absent
    std::size_t materials = 0;
    std::size_t crossSections = 0;
    std::size_t nodes = 0;
    std::size_t members = 0;
    std::size_t surfaces = 0;
    std::size_t storeys = 0;
    std::size_t supports = 0;
    // Every object sheet met (a sheet with a Name column, other than Model and Project), in workbook
    // order, with its objects: the kinds above and any other (connections, loads, results, ...).
    std::vector<std::pair<std::string, std::size_t>> objects;
};

struct SafReading {
    std::optional<SafSummary> summary;
    std::string error; // why the bytes are not a SAF workbook
};

// A SAF workbook is an .xlsx whose Model sheet has a non-empty "SAF Version" row. Headers and Model
// keys are matched as SAF advises (HeaderKey); sheets without a Name column count no objects; a row
// counts only when its Name cell holds more than blanks.
SafReading ReadSafWorkbook(const SpreadsheetPackage& package);
SafReading ReadSafWorkbook(std::string_view bytes);

// The column of a sheet's Name header (matched as headers are), the column that makes a row an object.
std::optional<std::size_t> NameColumnOf(const SheetRow& header);

// Files the objects of one object sheet into the summary: in its list of sheets, and in the field of
// its kind when it has one.
void AddObjectCount(SafSummary& summary, const std::string& sheet, std::size_t count);

// "SAF 2.2.0: 2 materials, 4 cross-sections, 36 nodes, 58 members, 2 surfaces, 3 storeys, 12 supports",
// followed by the other object sheets that hold objects, in the engineer's words where SAF defines
// the sheet ("; 2 edge supports, 3 load cases, 58 line loads"), by the sheet's name otherwise.
std::string DescribeSummary(const SafSummary& summary);

// The value of the key/value row (key in column A, value in B) whose key matches `key` as headers
// do; empty when there is none. Reads the sheet row by row.
std::string KeyValueOf(const SpreadsheetPackage& package, std::string_view sheet, std::string_view key,
                       std::string& error);

} // namespace AnalysisApp
