#include "CheckCommand.hpp"

#include "CheckReportJson.hpp"
#include "SafChecker.hpp"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace AnalysisApp {

int RunCheckCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& errors) {
    bool json = false;
    std::vector<std::string> files;
    for (const std::string& argument : arguments) {
        if (argument == "--json") {
            json = true;
        } else {
            files.push_back(argument);
        }
    }
    if (files.empty()) {
        errors << "usage: VeldEngineer.exe --check [--json] WORKBOOK...\n";
        return 2;
    }
    int exitCode = 0;
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (const std::string& file : files) {
        const std::filesystem::path path(std::u8string(file.begin(), file.end()));
        const CheckReport report = CheckSafWorkbookFile(path);
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
        if (const std::size_t found = report.errors + report.warnings; found > report.findings.size()) {
            out << ShownSafely(file) << ": " << found - report.findings.size()
                << " more findings after the first " << report.findings.size() << " are counted, not shown\n";
        }
        if (!report.readable) {
            out << FormatFinding(file,
                                 {{}, {}, Severity::Error, "not a readable workbook: " + report.problem})
                << '\n';
        }
    }
    if (json) {
        out << all.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    }
    return exitCode;
}

} // namespace AnalysisApp
