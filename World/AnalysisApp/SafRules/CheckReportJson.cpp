#include "SafRules/CheckReportJson.hpp"

namespace AnalysisApp {

nlohmann::ordered_json CheckReportJson(const CheckReport& report) {
    nlohmann::ordered_json json;
    json["readable"] = report.readable;
    if (!report.readable) {
        json["problem"] = report.problem;
    }
    if (report.readable) {
        json["safTable"] = report.safTable;
        json["sheetsChecked"] = report.sheetsChecked;
        json["objectsChecked"] = report.objectsChecked;
    }
    json["errors"] = report.errors;
    json["warnings"] = report.warnings;
    nlohmann::ordered_json findings = nlohmann::ordered_json::array();
    for (const CheckFinding& finding : report.findings) {
        findings.push_back({{"sheet", finding.sheet},
                            {"cell", finding.cell},
                            {"severity", SeverityName(finding.severity)},
                            {"message", finding.message}});
    }
    json["findings"] = std::move(findings);
    if (const std::size_t leftOut = FindingsLeftOut(report); leftOut > 0) {
        json["findingsLeftOut"] = leftOut;
    }
    return json;
}

} // namespace AnalysisApp
