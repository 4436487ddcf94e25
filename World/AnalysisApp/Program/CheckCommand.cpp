#include "Program/CheckCommand.hpp"

#include "CommandLine.hpp"
#include "ProgressLine.hpp"
#include "SafRules/CheckReportJson.hpp"
#include "SafRules/SafChecker.hpp"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace AnalysisApp {

namespace {

// "1 234 567": thousands apart, as an engineer reads a count of objects.
std::string Grouped(std::size_t count) {
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, " ");
    }
    return digits;
}

std::string Counted(std::size_t count, const char* noun) {
    return Grouped(count) + " " + noun + (count == 1 ? "" : "s");
}

} // namespace

int RunCheckCommand(const std::vector<std::string>& files, bool json, std::ostream& out, bool showProgress,
                    std::ostream& progressOut) {
    int exitCode = 0;
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (const std::string& file : files) {
        const std::filesystem::path path = CommandLine::PathFromUtf8(file);
        CheckReport report;
        {
            // The sheets are read twice (names first, then the findings), so the bytes read pass the
            // file's size: the line counts them instead of giving a percentage.
            CommandLine::ProgressLine progress(progressOut, showProgress, "VeldEngineer.exe");
            progress.Stage("checking " + ShownSafely(file), 0, CommandLine::ProgressLine::Unit::Bytes);
            std::uint64_t read = 0;
            report = CheckSafWorkbookFile(path, [&](std::uint64_t bytesRead) {
                read = bytesRead;
                progress.Advance(bytesRead);
            });
            progress.Finish("checked " + ShownSafely(file) + " (" + CommandLine::ByteCountText(read) +
                            " read)");
        }
        exitCode = std::max(exitCode, ExitCodeOf(report));
        if (json) {
            nlohmann::ordered_json entry;
            entry["file"] = file;
            entry.update(CheckReportJson(report));
            all.push_back(std::move(entry));
            continue;
        }
        for (const CheckFinding& finding : report.findings) {
            out << FormatFinding(file, finding) << '\n';
        }
        if (const std::size_t leftOut = FindingsLeftOut(report); leftOut > 0) {
            out << ShownSafely(file) << ": " << leftOut << " more findings after the first "
                << report.findings.size() << " are counted, not shown\n";
        }
        if (!report.readable) {
            out << FormatFinding(file,
                                 {{}, {}, Severity::Error, "not a readable workbook: " + report.problem})
                << '\n';
            continue;
        }
        // A clean workbook would otherwise print nothing at all, which reads as "nothing was checked";
        // the counts of what was read show how much "0 errors" covers.
        out << ShownSafely(file) << ": checked " << Counted(report.sheetsChecked, "sheet") << ", "
            << Counted(report.objectsChecked, "object") << ": " << Counted(report.errors, "error") << ", "
            << Counted(report.warnings, "warning") << '\n';
    }
    if (json) {
        out << all.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    }
    return exitCode;
}

} // namespace AnalysisApp
