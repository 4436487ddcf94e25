#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

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
};

struct SafReading {
    std::optional<SafSummary> summary;
    std::string error; // why the bytes are not a SAF workbook
};

// A SAF workbook is an .xlsx whose Model sheet has a non-empty "SAF Version" row. Object sheets
// that are missing count zero objects; an object sheet that is present needs a Name column, and a
// row counts only when its Name cell is not empty.
SafReading ReadSafWorkbook(std::string_view bytes);

// "SAF 2.2.0: 2 materials, 4 cross-sections, 36 nodes, 58 members, 2 surfaces, 3 storeys, 12 supports"
std::string DescribeSummary(const SafSummary& summary);

} // namespace AnalysisApp
