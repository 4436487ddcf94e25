#include "HostSimRuns.hpp"

#include "ProcessRunner.hpp"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>
#include <thread>

namespace {

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

} // namespace

std::string AddOnModulePath() {
    const char* other = std::getenv("VELD_BENCH_ADDON");
    return other != nullptr && *other != '\0' ? std::string(other) : std::string(ADDON_MODULE_PATH);
}

HostSimRuns::HostSimRuns() {
    std::random_device random;
    root = std::filesystem::temp_directory_path() / ("hostsim-bench-" + std::to_string(random()));
    home = root / "home";
    exportFolder = root / "Export";
    const std::filesystem::path installFolder = root / "VELD Engineer 23";
    std::filesystem::create_directories(exportFolder);
    std::filesystem::create_directories(installFolder);
    std::filesystem::copy_file(VELDENGINEER_PATH, installFolder / "VeldEngineer.exe");
    const Scenarios::ProcessResult registered =
        Scenarios::RunProcess({HOSTSIM_PATH, "registry", "--home", home.string(), "set-string",
                               "HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\23.1",
                               "InstallDir", installFolder.string()},
                              root);
    if (registered.exitCode != 0) {
        throw std::runtime_error("registering VELD Engineer failed: " + registered.errors);
    }
}

HostSimRuns::~HostSimRuns() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

std::vector<nlohmann::json> HostSimRuns::Timings(const std::string& script,
                                                 const std::vector<std::string>& options) const {
    WriteText(root / "script.txt", script);
    const std::filesystem::path timings = root / "timings.jsonl";
    std::vector<std::string> command{HOSTSIM_PATH,
                                     "--home",
                                     home.string(),
                                     "--timings",
                                     timings.string(),
                                     "--script",
                                     (root / "script.txt").string(),
                                     "--special-folder",
                                     "7=" + exportFolder.string(),
                                     "--model",
                                     DEMO_BUILDING_PATH,
                                     "--project",
                                     Project().string()};
    command.insert(command.end(), options.begin(), options.end());
    command.push_back(AddOnModulePath());
    const Scenarios::ProcessResult result = Scenarios::RunProcess(command, root);
    if (result.exitCode != 0) {
        throw std::runtime_error("hostsim exited with " + std::to_string(result.exitCode) + ": " +
                                 result.errors);
    }
    std::vector<nlohmann::json> lines;
    std::ifstream file(timings);
    for (std::string line; std::getline(file, line);) {
        lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

double HostSimRuns::ColdModuleFloor() const {
    const Scenarios::ProcessResult result =
        Scenarios::RunProcess({MODULE_FLOOR_PROBE_PATH, home.string()}, root);
    if (result.exitCode != 0) {
        throw std::runtime_error("ModuleFloorProbe exited with " + std::to_string(result.exitCode) + ": " +
                                 result.errors);
    }
    return std::stod(result.output) * 1e-9;
}

void HostSimRuns::LetTheStoreSettle() const {
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
}

void HostSimRuns::WriteTranslators(std::size_t count) const {
    nlohmann::json translators = nlohmann::json::array();
    for (std::size_t index = 1; index <= count; ++index) {
        translators.push_back({{"name", "Translator " + std::to_string(index)},
                               {"elementKinds", {"column", "beam", "member", "slab", "wall", "support"}},
                               {"unitSystem", "SI"}});
    }
    std::filesystem::create_directories(home / "SAF");
    WriteText(home / "SAF" / "Translators.json",
              nlohmann::json{{"version", 1}, {"translators", translators}}.dump());
}

std::string ChooseTranslatorLines(int entry) {
    return "menu 32500 2\nselect 4 " + std::to_string(entry + 1) + "\nclick 1\n";
}

nlohmann::json TimingLine(const std::vector<nlohmann::json>& lines, const std::string& kind, int item) {
    std::vector<nlohmann::json> found;
    for (const nlohmann::json& line : lines) {
        if (line.at("timing") == kind && (kind != "menu" || line.at("item") == item)) {
            found.push_back(line);
        }
    }
    if (found.size() != 1) {
        throw std::runtime_error(std::to_string(found.size()) + " timing lines of kind " + kind);
    }
    return found.front();
}

double Seconds(const nlohmann::json& line, const char* field) {
    return static_cast<double>(line.value(field, std::int64_t{0})) * 1e-9;
}
