#include "SafRules/CheckFinding.hpp"

namespace AnalysisApp {

const char* SeverityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

std::string FormatFinding(const std::string& file, const CheckFinding& finding) {
    std::string place = ShownSafely(file) + ": ";
    if (!finding.sheet.empty()) {
        place += ShownSafely(finding.sheet) + (finding.cell.empty() ? "" : "!" + finding.cell) + ": ";
    }
    return place + SeverityName(finding.severity) + ": " + ShownSafely(finding.message);
}

int ExitCodeOf(const CheckReport& report) {
    if (!report.readable) {
        return 2;
    }
    return report.errors > 0 ? 1 : 0;
}

} // namespace AnalysisApp
