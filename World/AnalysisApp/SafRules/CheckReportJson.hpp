#pragma once

#include "SafRules/CheckFinding.hpp"

#include <nlohmann/json.hpp>

#include <string>

namespace AnalysisApp {

// {"readable":true,"safTable":"2.2.0","sheetsChecked":43,"objectsChecked":1234,"errors":1,"warnings":0,
// "findings":[{"sheet":..,"cell":..,"severity":..,"message":..}]}: the table the workbook was checked
// against and what was read; "problem" instead of those for an unreadable file. The findings the report kept
// are listed; "findingsLeftOut" counts those it only counted.
nlohmann::ordered_json CheckReportJson(const CheckReport& report);

} // namespace AnalysisApp
