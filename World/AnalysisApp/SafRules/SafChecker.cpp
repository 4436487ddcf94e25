#include "SafRules/SafChecker.hpp"

#include "SafRules/WorkbookChecker.hpp"

#include <new>

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

CheckReport CheckSafWorkbookFile(const std::filesystem::path& path, ReadProgress progress) {
    // Whatever a workbook makes the reader hold, running out of memory ends this workbook's check, not
    // the run: the next workbooks are checked and everything found is still reported.
    try {
        SpreadsheetPackage package;
        const std::string problem = package.OpenFile(path, std::move(progress));
        return CheckOpened(package, problem);
    } catch (const std::bad_alloc&) {
        CheckReport report;
        report.readable = false;
        report.problem = "not enough memory to read it";
        return report;
    }
}

CheckReport CheckSafWorkbookBytes(std::string_view bytes) {
    SpreadsheetPackage package;
    const std::string problem = package.Open(bytes);
    return CheckOpened(package, problem);
}

} // namespace AnalysisApp
