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

namespace {

// The check of a package just opened, or the report of a workbook that could not be read.
CheckReport CheckOpened(const SpreadsheetPackage& package, const std::string& problem) {
    if (!problem.empty()) {
        CheckReport report;
        report.readable = false;
        report.problem = problem;
        return report;
    }
    return CheckSafWorkbook(package);
}

} // namespace

CheckReport CheckSafWorkbookFile(const std::filesystem::path& path) {
    SpreadsheetPackage package;
    const std::string problem = package.OpenFile(path);
    return CheckOpened(package, problem);
}

CheckReport CheckSafWorkbookBytes(std::string_view bytes) {
    SpreadsheetPackage package;
    const std::string problem = package.Open(bytes);
    return CheckOpened(package, problem);
}

} // namespace AnalysisApp
