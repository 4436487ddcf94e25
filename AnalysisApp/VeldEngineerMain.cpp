#include "CheckCommand.hpp"
#include "CommandLine.hpp"
#include "LaunchRecord.hpp"
#include "OwnExecutable.hpp"
#include "WorkbookCheck.hpp"

#include <iostream>
#include <system_error>

// The analysis application's stand-in. Started with one argument, it opens the SAF workbook, prints
// what the workbook holds, checks it against SAF, and records how it was started and what it found,
// beside itself, so that a test can see exactly which arguments the add-on handed over. Started with
// --check, it is the SAF checker for any number of workbooks and records nothing.
int main(int argc, char** argv) {
    AnalysisApp::Launch launch;
    launch.arguments = CommandLine::Utf8Arguments(argc, argv);
    if (!launch.arguments.empty() && launch.arguments.front() == "--check") {
        const std::vector<std::string> rest(launch.arguments.begin() + 1, launch.arguments.end());
        return AnalysisApp::RunCheckCommand(rest, std::cout, std::cerr);
    }
    std::error_code failure;
    const std::u8string cwd = std::filesystem::current_path(failure).u8string();
    launch.workingFolder.assign(cwd.begin(), cwd.end());

    if (launch.arguments.size() != 1) {
        launch.error = "expects one argument, the SAF workbook's path";
        launch.exitCode = AnalysisApp::ExitCodeOf(AnalysisApp::WorkbookVerdict::NoWorkbook);
        std::cerr << "VeldEngineer.exe: " << launch.error << '\n';
    } else {
        AnalysisApp::WorkbookCheck check = AnalysisApp::CheckWorkbook(launch.arguments.front());
        launch.exitCode = AnalysisApp::ExitCodeOf(check.verdict);
        launch.summary = std::move(check.summary);
        launch.check = std::move(check.check);
        if (launch.summary) {
            std::cout << "VeldEngineer.exe: " << check.message << '\n';
        } else {
            launch.error = check.message;
            std::cerr << "VeldEngineer.exe: " << check.message << '\n';
        }
    }

    const std::filesystem::path self = AnalysisApp::OwnExecutablePath();
    if (self.empty() || !AnalysisApp::AppendLaunch(self.parent_path(), launch)) {
        std::cerr << "VeldEngineer.exe: cannot record the launch beside " << self.string() << '\n';
        return launch.exitCode != 0 ? launch.exitCode : 1;
    }
    return launch.exitCode;
}
