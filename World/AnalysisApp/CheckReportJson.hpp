#pragma once

#include "CheckFinding.hpp"

#include <nlohmann/json.hpp>

#include <string>

namespace AnalysisApp {

// {"readable":true,"errors":1,"warnings":0,"findings":[{"sheet":..,"cell":..,"severity":..,"message":..}]},
// with "problem" for an unreadable file. The findings the report kept are listed; "findingsLeftOut"
// counts those it only counted.
nlohmann::ordered_json CheckReportJson(const CheckReport& report);

} // namespace AnalysisApp
