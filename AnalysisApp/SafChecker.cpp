#include "SafChecker.hpp"

#include "WorkbookChecker.hpp"

namespace AnalysisApp {

CheckReport CheckSafWorkbook(const SpreadsheetPackage& package) {
    return WorkbookChecker(package).Run();
}

SummaryAndCheck SummariseAndCheck(const SpreadsheetPackage& package) {
    WorkbookChecker checker(package);
    CheckReport check = checker.Run();
    return {checker.Reading(), std::move(check)};
}

CheckReport CheckSafWorkbookFile(const std::filesystem::path& path) {
    SpreadsheetPackage package;
    const std::string problem = package.OpenFile(path);
    if (!problem.empty()) {
        CheckReport report;
        report.readable = false;
        report.problem = problem;
        return report;
    }
    return CheckSafWorkbook(package);
}

CheckReport CheckSafWorkbookBytes(std::string_view bytes) {
    SpreadsheetPackage package;
    const std::string problem = package.Open(bytes);
    if (!problem.empty()) {
        CheckReport report;
        report.readable = false;
        report.problem = problem;
        return report;
    }
    return CheckSafWorkbook(package);
}

} // namespace AnalysisApp
