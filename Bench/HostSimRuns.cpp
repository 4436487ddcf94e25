#include "HostSimRuns.hpp"

#include "ProcessRunner.hpp"

#include <nlohmann/json.hpp>

#include <chrono>
#include <fstream>
#include <random>
#include <stdexcept>

namespace {

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

} // namespace

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

std::vector<std::string> HostSimRuns::Command(const std::string& script,
                                              const std::vector<std::string>& options, bool withAddOn) const {
    WriteText(root / "script.txt", script);
    std::vector<std::string> command{HOSTSIM_PATH,
                                     "--home",
                                     home.string(),
                                     "--transcript",
                                     (root / "transcript.jsonl").string(),
                                     "--script",
                                     (root / "script.txt").string(),
                                     "--special-folder",
                                     "7=" + exportFolder.string(),
                                     "--model",
                                     DEMO_BUILDING_PATH,
                                     "--project",
                                     Project().string()};
    command.insert(command.end(), options.begin(), options.end());
    if (withAddOn) {
        command.push_back(ADDON_MODULE_PATH);
    }
    return command;
}

double HostSimRuns::Run(const std::string& script, const std::vector<std::string>& options) const {
    return Time(Command(script, options), root);
}

double HostSimRuns::RunWithoutAddOn(const std::string& script) const {
    return Time(Command(script, {}, false), root);
}

double HostSimRuns::Time(const std::vector<std::string>& command, const std::filesystem::path& scratch) {
    const auto start = std::chrono::steady_clock::now();
    const Scenarios::ProcessResult result = Scenarios::RunProcess(command, scratch);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (result.exitCode != 0) {
        throw std::runtime_error("hostsim exited with " + std::to_string(result.exitCode) + ": " +
                                 result.errors);
    }
    return elapsed.count();
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

void HostSimRuns::ForgetProject() const {
    std::error_code ignored;
    std::filesystem::remove(Project(), ignored);
    std::filesystem::remove(exportFolder / "ACToVELDEngineer.xlsx", ignored);
}

std::string ChooseTranslatorLines(int entry) {
    return "menu 32500 2\nselect 4 " + std::to_string(entry + 1) + "\nclick 1\n";
}
