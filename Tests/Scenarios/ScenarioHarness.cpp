#include "ScenarioHarness.hpp"
#include "ScenarioRegistry.hpp"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace Scenarios {

std::string AddOnModulePath() {
    return ADDON_MODULE_PATH;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string HexText(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += digits[byte >> 4];
        hex += digits[byte & 0xFu];
    }
    return hex;
}

std::vector<Json> HostSimRun::EventsNamed(const std::string& name) const {
    std::vector<Json> found;
    for (const Json& event : events) {
        if (event.value("event", "") == name) {
            found.push_back(event);
        }
    }
    return found;
}

std::vector<Json> HostSimRun::EventsWhere(const std::string& name, const std::string& field,
                                          const Json& value) const {
    std::vector<Json> found;
    for (const Json& event : EventsNamed(name)) {
        if (event.contains(field) && event[field] == value) {
            found.push_back(event);
        }
    }
    return found;
}

Json HostSimRun::Entry(const std::string& entry) const {
    std::vector<Json> found;
    for (const Json& event : EventsWhere("entry", "name", entry)) {
        if (!event.value("beforeTable", false)) {
            found.push_back(event);
        }
    }
    EXPECT_EQ(found.size(), 1u) << "entry " << entry;
    return found.empty() ? Json::object() : found.front();
}

std::vector<Json> HostSimRun::HostCalls(const std::string& operation) const {
    return EventsWhere("host-call", "op", operation);
}

void ScenarioTest::SetUp() {
    ClearScenarioRegistry();
    std::random_device random;
    std::string testName = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    // A parameterised test's name holds a '/', which would nest the folder in one that outlives it.
    std::replace(testName.begin(), testName.end(), '/', '-');
    root = std::filesystem::temp_directory_path() /
           ("hostsim-scenario-" + testName + "-" + std::to_string(random()));
    home = root / "home";
    installFolder = root / "VELD Engineer 23";
    scriptPath = root / "script.txt";
    transcriptPath = root / "transcript.jsonl";
    std::filesystem::create_directories(installFolder);
    std::filesystem::copy_file(VELDENGINEER_PATH, installFolder / "VeldEngineer.exe");
}

void ScenarioTest::TearDown() {
    ClearScenarioRegistry();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

ProcessResult ScenarioTest::RunRegistry(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{HOSTSIM_PATH, "registry", "--home", PathText(home)};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return RunProcess(command, root);
}

void ScenarioTest::RegisterInstallation(const std::string& version) {
    ProcessResult result =
        RunRegistry({"set-string", "HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\" + version,
                     "InstallDir", PathText(installFolder)});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
}

HostSimRun ScenarioTest::RunHostSim(const std::string& script, const std::vector<std::string>& options) {
    return RunHostSimOn({AddOnModulePath()}, script, options);
}

HostSimRun ScenarioTest::RunHostSimOn(const std::vector<std::string>& modules, const std::string& script,
                                      const std::vector<std::string>& options) {
    WriteFile(scriptPath, script);
    std::vector<std::string> command{
        HOSTSIM_PATH,        "--home", PathText(home), "--transcript", PathText(transcriptPath), "--script",
        PathText(scriptPath)};
    command.insert(command.end(), options.begin(), options.end());
    command.insert(command.end(), modules.begin(), modules.end());
    ProcessResult process = RunProcess(command, root, hostSimWorkingFolder);

    HostSimRun run;
    run.exitCode = process.exitCode;
    run.errors = process.errors;
    std::istringstream lines(ReadFile(transcriptPath));
    for (std::string line; std::getline(lines, line);) {
        run.events.push_back(Json::parse(line));
    }
    return run;
}

} // namespace Scenarios
