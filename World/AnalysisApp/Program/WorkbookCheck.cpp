#include "Program/WorkbookCheck.hpp"

#include "CommandLine.hpp"
#include "SafRules/SafChecker.hpp"

#include <filesystem>
#include <new>
#include <system_error>

namespace AnalysisApp {

namespace {

WorkbookCheck ReadAndCheck(const std::string& utf8Path) {
    const std::filesystem::path path = CommandLine::PathFromUtf8(utf8Path);
    std::error_code failure;
    // A pipe without a writer would hang the open, and a folder or a device is no workbook: each is
    // refused by its kind before it is opened.
    const std::filesystem::file_status status = std::filesystem::status(path, failure);
    if (status.type() == std::filesystem::file_type::directory) {
        return {WorkbookVerdict::NoWorkbook, std::nullopt, std::nullopt,
                "cannot open " + utf8Path + ": it is a folder"};
    }
    if (std::filesystem::exists(status) && status.type() != std::filesystem::file_type::regular) {
        return {WorkbookVerdict::NoWorkbook, std::nullopt, std::nullopt,
                "cannot open " + utf8Path + ": it is not a regular file (a FIFO or device)"};
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return {WorkbookVerdict::NoWorkbook, std::nullopt, std::nullopt, "no workbook at " + utf8Path};
    }
    SpreadsheetPackage package;
    const std::string problem = package.OpenFile(path);
    if (problem == "cannot read the file") {
        return {WorkbookVerdict::NoWorkbook, std::nullopt, std::nullopt, "cannot read " + utf8Path};
    }
    if (!problem.empty()) {
        return {WorkbookVerdict::NotSaf, std::nullopt, std::nullopt,
                utf8Path + " is not a SAF workbook: " + problem};
    }
    auto [reading, check] = SummariseAndCheck(package);
    if (!reading.summary) {
        return {WorkbookVerdict::NotSaf, std::nullopt, std::move(check),
                utf8Path + " is not a SAF workbook: " + reading.error};
    }
    std::string message = utf8Path + ": " + DescribeSummary(*reading.summary);
    if (check.errors + check.warnings > 0) {
        message += " (SAF check: " + std::to_string(check.errors) + " errors, " +
                   std::to_string(check.warnings) + " warnings)";
    }
    return {WorkbookVerdict::Summarised, std::move(reading.summary), std::move(check), std::move(message)};
}

} // namespace

// Running out of memory is an answer like any other: the launch is still recorded with it.
WorkbookCheck CheckWorkbook(const std::string& utf8Path) {
    try {
        return ReadAndCheck(utf8Path);
    } catch (const std::bad_alloc&) {
        return {WorkbookVerdict::NoWorkbook, std::nullopt, std::nullopt,
                "not enough memory to read " + utf8Path};
    }
}

int ExitCodeOf(WorkbookVerdict verdict) {
    switch (verdict) {
    case WorkbookVerdict::Summarised:
        return 0;
    case WorkbookVerdict::NoWorkbook:
        return 2;
    case WorkbookVerdict::NotSaf:
        return 3;
    }
    return 3;
}

} // namespace AnalysisApp
