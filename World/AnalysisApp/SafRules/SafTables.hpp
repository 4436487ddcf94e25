#pragma once

#include <string_view>

namespace AnalysisApp {

// The text of one of the SAF tables the program carries ("saf-2.2.0.json", "saf-versions.json",
// "units.json"; SafRules/tables/README.md), or empty when it carries no such file.
std::string_view EmbeddedTable(std::string_view fileName);

} // namespace AnalysisApp
