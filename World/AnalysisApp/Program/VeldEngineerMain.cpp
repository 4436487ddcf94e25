#include "CommandLine.hpp"
#include "Program/CheckCommand.hpp"
#include "Program/LaunchRecord.hpp"
#include "Program/OwnExecutable.hpp"
#include "Program/WorkbookCheck.hpp"
#include "ProgramCommandLine.hpp"
#include "ProgressLine.hpp"
#include "SafRules/CheckFinding.hpp"

#include <iostream>
#include <optional>
#include <system_error>

namespace {

constexpr CommandLine::ProgramText Program{
    "VeldEngineer.exe",
    "usage: VeldEngineer.exe WORKBOOK.xlsx\n"
    "       VeldEngineer.exe --check [--json] [--progress] WORKBOOK.xlsx...\n"
    "Opens a SAF workbook as the add-on hands it over: prints what the workbook holds and records the\n"
    "launch, its arguments, outcome and findings, in VeldEngineer.launches.jsonl beside the program.\n"
    "With --check, checks any number of workbooks against SAF and records nothing: each finding as\n"
    "\"FILE: SHEET!CELL: severity: message\", then \"FILE: checked S sheets, O objects: N errors, M\n"
    "warnings\" (sheets SAF does not define are warned of and not checked).\n"
    "options (in any place):\n"
    "  --check        check the workbooks instead of opening one\n"
    "  --json         with --check: one JSON array, an object per workbook\n"
    "  --progress     with --check: a progress line on standard error even when it is not a terminal\n"
    "  -h, --help     this text\n"
    "  --version      the version\n"
    "exit codes: opening: 0 opened, 2 no workbook at the path, 3 not a SAF workbook;\n"
    "            --check: 0 no errors, 1 a workbook has errors, 2 a file is not a readable workbook;\n"
    "            64 a wrong command line (nothing recorded)\n"};

struct Request {
    bool check = false;
    bool json = false;
    bool progress = false;
    std::vector<std::string> workbooks;
};

// Options may come in any order; a wrong command line is refused before anything is read or recorded.
std::optional<Request> ParseRequest(const std::vector<std::string>& arguments, std::string& error) {
    Request request;
    for (const std::string& argument : arguments) {
        if (argument == "--check") {
            request.check = true;
        } else if (argument == "--json") {
            request.json = true;
        } else if (argument == "--progress") {
            request.progress = true;
        } else if (argument.starts_with("--")) {
            error = "unknown option " + argument;
            return std::nullopt;
        } else {
            request.workbooks.push_back(argument);
        }
    }
    if ((request.json || request.progress) && !request.check) {
        error = std::string(request.json ? "--json" : "--progress") + " goes with --check";
    } else if (request.workbooks.empty()) {
        error = "expected a workbook's path";
    } else if (!request.check && request.workbooks.size() > 1) {
        error = "expected one workbook, got " + std::to_string(request.workbooks.size()) +
                " (--check takes many)";
    } else {
        return request;
    }
    return std::nullopt;
}

} // namespace

// The analysis application's stand-in. Started with one workbook, it opens it, prints what the
// workbook holds, checks it against SAF, and records how it was started and what it found, beside
// itself, so that a test can see exactly which arguments the add-on handed over. Started with
// --check, it is the SAF checker for any number of workbooks and records nothing.
int main(int argc, char** argv) {
    AnalysisApp::Launch launch;
    launch.arguments = CommandLine::Utf8Arguments(argc, argv);
    if (const auto standard = CommandLine::StandardRequest(launch.arguments);
        standard != CommandLine::Request::Run) {
        return CommandLine::Answer(standard, Program, std::cout);
    }
    std::string error;
    const std::optional<Request> request = ParseRequest(launch.arguments, error);
    if (!request) {
        return CommandLine::Refuse(Program, error, std::cerr);
    }
    if (request->check) {
        return AnalysisApp::RunCheckCommand(request->workbooks, request->json, std::cout,
                                            request->progress || CommandLine::StandardErrorIsTerminal(),
                                            std::cerr);
    }
    std::error_code failure;
    const std::u8string cwd = std::filesystem::current_path(failure).u8string();
    launch.workingFolder.assign(cwd.begin(), cwd.end());

    AnalysisApp::WorkbookCheck check = AnalysisApp::CheckWorkbook(request->workbooks.front());
    launch.exitCode = AnalysisApp::ExitCodeOf(check.verdict);
    launch.summary = std::move(check.summary);
    launch.check = std::move(check.check);
    // The record keeps the message as it is; the terminal sees its control characters as escapes.
    if (launch.summary) {
        std::cout << "VeldEngineer.exe: " << AnalysisApp::ShownSafely(check.message) << '\n';
    } else {
        launch.error = check.message;
        std::cerr << "VeldEngineer.exe: " << AnalysisApp::ShownSafely(check.message) << '\n';
    }

    const std::filesystem::path self = AnalysisApp::OwnExecutablePath();
    if (self.empty() || !AnalysisApp::AppendLaunch(self.parent_path(), launch)) {
        std::cerr << "VeldEngineer.exe: cannot record the launch beside "
                  << AnalysisApp::ShownSafely(self.string()) << '\n';
        return launch.exitCode != 0 ? launch.exitCode : 1;
    }
    return launch.exitCode;
}
