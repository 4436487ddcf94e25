#include "CheckReportJson.hpp"

namespace AnalysisApp {

nlohmann::ordered_json CheckReportJson(const CheckReport& report, std::size_t findingLimit) {
    nlohmann::ordered_json json;
    json["readable"] = report.readable;
    if (!report.readable) {
        json["problem"] = report.problem;
    }
    json["errors"] = report.errors;
    json["warnings"] = report.warnings;
    nlohmann::ordered_json findings = nlohmann::ordered_json::array();
    for (std::size_t index = 0; index < report.findings.size() && index < findingLimit; ++index) {
        const CheckFinding& finding = report.findings[index];
        findings.push_back({{"sheet", finding.sheet},
                            {"cell", finding.cell},
                            {"severity", SeverityName(finding.severity)},
                            {"message", finding.message}});
    }
    json["findings"] = std::move(findings);
    if (report.findings.size() > findingLimit) {
        json["findingsLeftOut"] = report.findings.size() - findingLimit;
    }
    return json;
}

} // namespace AnalysisApp
