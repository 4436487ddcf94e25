#pragma once

#include "CheckFinding.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <limits>
#include <string>

namespace AnalysisApp {

// {"readable":true,"errors":1,"warnings":0,"findings":[{"sheet":..,"cell":..,"severity":..,"message":..}]},
// with "problem" for an unreadable file. At most `findingLimit` findings are listed; "findingsLeftOut"
// counts the rest.
nlohmann::ordered_json CheckReportJson(const CheckReport& report,
                                       std::size_t findingLimit = std::numeric_limits<std::size_t>::max());

} // namespace AnalysisApp
