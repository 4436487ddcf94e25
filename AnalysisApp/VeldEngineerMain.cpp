#include "LaunchRecord.hpp"
#include "OwnExecutable.hpp"

#include <iostream>
#include <system_error>

// The analysis application's stand-in, first version: it records how it was started, beside itself,
// so that a test can see exactly which arguments the add-on handed over.
int main(int argc, char** argv) {
    AnalysisApp::Launch launch;
    for (int index = 1; index < argc; ++index) {
        launch.arguments.emplace_back(argv[index]);
    }
    std::error_code failure;
    const std::u8string cwd = std::filesystem::current_path(failure).u8string();
    launch.workingFolder.assign(cwd.begin(), cwd.end());

    const std::filesystem::path self = AnalysisApp::OwnExecutablePath();
    if (self.empty() || !AnalysisApp::AppendLaunch(self.parent_path(), launch)) {
        std::cerr << "VeldEngineer.exe: cannot record the launch beside " << self.string() << '\n';
        return 1;
    }
    return 0;
}
