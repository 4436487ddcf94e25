#include "WorkbookCheck.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace AnalysisApp {
namespace {

// Workbooks far beyond any building model are refused before they are read into memory.
constexpr std::uintmax_t LargestWorkbook = std::uintmax_t{1} << 30;

} // namespace

WorkbookCheck CheckWorkbook(const std::string& utf8Path) {
    const std::filesystem::path path(std::u8string(utf8Path.begin(), utf8Path.end()));
    std::error_code failure;
    if (!std::filesystem::is_regular_file(path, failure)) {
        return {WorkbookVerdict::NoWorkbook, std::nullopt, "no workbook at " + utf8Path};
    }
    const std::uintmax_t size = std::filesystem::file_size(path, failure);
    if (failure || size > LargestWorkbook) {
        return {WorkbookVerdict::NotSaf, std::nullopt, utf8Path + " is too large to be a workbook"};
    }
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file && !file.eof()) {
        return {WorkbookVerdict::NoWorkbook, std::nullopt, "cannot read " + utf8Path};
    }
    SafReading reading = ReadSafWorkbook(bytes);
    if (!reading.summary) {
        return {WorkbookVerdict::NotSaf, std::nullopt, utf8Path + " is not a SAF workbook: " + reading.error};
    }
    return {WorkbookVerdict::Summarised, reading.summary,
            utf8Path + ": " + DescribeSummary(*reading.summary)};
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
