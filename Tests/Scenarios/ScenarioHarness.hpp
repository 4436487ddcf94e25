#pragma once

#include "ProcessRunner.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace Scenarios {

using Json = nlohmann::json;

// What one hostsim run left behind.
struct HostSimRun {
    int exitCode = -1;
    std::string errors; // hostsim's console (stderr)
    std::vector<Json> events;

    std::vector<Json> EventsNamed(const std::string& name) const;
    // The events named `name` whose field `field` equals `value`.
    std::vector<Json> EventsWhere(const std::string& name, const std::string& field, const Json& value) const;
    // The one entry event of `entry` outside the before-the-table round; fails the test if not exactly one.
    Json Entry(const std::string& entry) const;
    std::vector<Json> HostCalls(const std::string& operation) const;
};

// Every scenario builds its own world: a fresh data folder, its own registry, and a copy of
// VeldEngineer.exe in an installation folder whose name has a space in it.
class ScenarioTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers the copy of VeldEngineer.exe as installed version `version`, through hostsim's
    // registry command, as an installer would.
    void RegisterInstallation(const std::string& version = "23.1");
    ProcessResult RunRegistry(const std::vector<std::string>& arguments);

    // Runs hostsim on `script` with the add-on module (or `modules`), plus `options`.
    HostSimRun RunHostSim(const std::string& script, const std::vector<std::string>& options = {});
    HostSimRun RunHostSimOn(const std::vector<std::string>& modules, const std::string& script,
                            const std::vector<std::string>& options = {});

    std::filesystem::path root;
    std::filesystem::path home;
    std::filesystem::path installFolder;
    std::filesystem::path scriptPath;
    std::filesystem::path transcriptPath;
    // Where hostsim runs; empty: where the test runs.
    std::filesystem::path hostSimWorkingFolder;
};

std::string AddOnModulePath();
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& text);

// The path as UTF-8 text, as hostsim takes its arguments and the transcript writes paths.
std::string PathText(const std::filesystem::path& path);

// Each byte as two lower-case hexadecimal digits, as the project document and the transcript write
// bytes.
std::string HexText(std::string_view bytes);

} // namespace Scenarios
