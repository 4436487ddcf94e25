#include "ProcessRunner.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

// hostsim --timings on the real add-on: which lines a run writes and how their times nest. The
// times themselves are the benchmarks' business; nothing here depends on how long anything took.
namespace {

using Json = nlohmann::ordered_json;

const char* const TimeFields[] = {"loadNs", "checksNs", "describeNs", "registerNs", "startNs"};

class HostSimTimings : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("hostsim-timings-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(root / "Export");
        std::filesystem::create_directories(root / "VELD Engineer 23");
        std::filesystem::copy_file(VELDENGINEER_PATH, root / "VELD Engineer 23" / "VeldEngineer.exe");
        RegisterVeldEngineer();
    }
    void RegisterVeldEngineer() const {
        const Scenarios::ProcessResult registered =
            Scenarios::RunProcess({HOSTSIM_PATH, "registry", "--home", (root / "home").string(), "set-string",
                                   "HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\23.1",
                                   "InstallDir", (root / "VELD Engineer 23").string()},
                                  root);
        ASSERT_EQ(registered.exitCode, 0) << registered.errors;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    // Runs hostsim on `script` with the add-on (or `module`); `options` come before the module.
    Scenarios::ProcessResult Run(const std::string& script, const std::vector<std::string>& options,
                                 const std::string& module = ADDON_MODULE_PATH) const {
        std::ofstream(root / "script.txt", std::ios::binary) << script;
        std::vector<std::string> command{HOSTSIM_PATH,
                                         "--home",
                                         (root / "home").string(),
                                         "--script",
                                         (root / "script.txt").string(),
                                         "--special-folder",
                                         "7=" + (root / "Export").string(),
                                         "--model",
                                         DEMO_BUILDING_PATH};
        command.insert(command.end(), options.begin(), options.end());
        command.push_back(module);
        return Scenarios::RunProcess(command, root);
    }

    std::vector<Json> Lines(const std::string& name) const {
        std::vector<Json> lines;
        std::ifstream file(root / name);
        for (std::string line; std::getline(file, line);) {
            lines.push_back(Json::parse(line));
        }
        return lines;
    }

    static std::vector<Json> OfKind(const std::vector<Json>& lines, const std::string& kind) {
        std::vector<Json> found;
        for (const Json& line : lines) {
            if (line.at("timing") == kind) {
                found.push_back(line);
            }
        }
        return found;
    }

    std::filesystem::path root;
};

const std::string ChooseTranslator = "menu 32500 2\nselect 4 2\nclick 1\n";
// The information dialog after a successful open, ticked so that it stays away afterwards.
const std::string OpenAndTick = "menu 32500 1\ncheck 5 1\nclick 1\n";

} // namespace

TEST_F(HostSimTimings, AnOpenIsTimedWithItsSaveLauncherAndDialogWaitInsideTheMenuCall) {
    const Scenarios::ProcessResult run =
        Run(ChooseTranslator + OpenAndTick + "quit\n", {"--timings", (root / "t.jsonl").string()});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<Json> lines = Lines("t.jsonl");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().begin().key(), "timing");

    const std::vector<Json> menus = OfKind(lines, "menu");
    ASSERT_EQ(menus.size(), 2u);
    const Json& settings = menus[0];
    const Json& open = menus[1];
    EXPECT_EQ(settings.at("item"), 2);
    EXPECT_EQ(open.at("item"), 1);
    EXPECT_EQ(open.at("module"), "VELDEngineerConnection");
    // The workbook was saved and VELD Engineer started inside the open, and the information dialog
    // waited for its two script lines.
    EXPECT_GT(open.at("saveNs").get<std::int64_t>(), 0);
    EXPECT_GT(open.at("launcherNs").get<std::int64_t>(), 0);
    EXPECT_GT(open.at("uiWaitNs").get<std::int64_t>(), 0);
    for (const Json& menu : menus) {
        const std::int64_t nested = menu.at("saveNs").get<std::int64_t>() +
                                    menu.at("launcherNs").get<std::int64_t>() +
                                    menu.at("uiWaitNs").get<std::int64_t>();
        EXPECT_LE(nested, menu.at("totalNs").get<std::int64_t>()) << menu.dump();
    }
    // What the host did for the add-on: the services it answered through the function table ('SAVE'
    // among them), and the process start and the dialog's waits, which no service encloses here;
    // the rest of the call is the add-on's own.
    for (const Json& menu : menus) {
        const std::int64_t services = menu.at("hostServicesNs").get<std::int64_t>();
        const std::int64_t host = menu.at("hostForAddOnNs").get<std::int64_t>();
        const std::int64_t own = menu.at("addOnNs").get<std::int64_t>();
        EXPECT_GT(services, 0) << "the SAF add-on answered the translator commands: " << menu.dump();
        EXPECT_GE(services, menu.at("saveNs").get<std::int64_t>()) << menu.dump();
        EXPECT_EQ(host, services + menu.at("launcherNs").get<std::int64_t>() +
                            menu.at("uiWaitNs").get<std::int64_t>())
            << menu.dump();
        EXPECT_GT(own, 0) << menu.dump();
        EXPECT_EQ(own + host, menu.at("totalNs").get<std::int64_t>()) << menu.dump();
    }
    // The settings dialog neither saves nor starts anything.
    EXPECT_EQ(settings.at("saveNs"), 0);
    EXPECT_EQ(settings.at("launcherNs"), 0);
    EXPECT_GT(settings.at("uiWaitNs").get<std::int64_t>(), 0);
    EXPECT_TRUE(std::filesystem::exists(root / "Export" / "ACToVELDEngineer.xlsx"));
}

TEST_F(HostSimTimings, TheModuleIsTimedFromLoadToStartAndFromReleaseToUnload) {
    const Scenarios::ProcessResult run = Run("quit\n", {"--timings", (root / "t.jsonl").string()});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<Json> lines = Lines("t.jsonl");
    ASSERT_EQ(lines.size(), 2u);
    const Json& start = lines[0];
    const Json& stop = lines[1];
    EXPECT_EQ(start.at("timing"), "module-start");
    EXPECT_EQ(start.at("module"), "VELDEngineerConnection");
    for (const char* field : TimeFields) {
        ASSERT_TRUE(start.contains(field)) << field;
        EXPECT_GE(start.at(field).get<std::int64_t>(), 0) << field;
    }
    EXPECT_GT(start.at("loadNs").get<std::int64_t>(), 0);
    // The host's work in the start is its answers to register (the menu) and start (the handler):
    // inside those two steps, and the rest of the five steps is the add-on's own.
    const std::int64_t host = start.at("hostForAddOnNs").get<std::int64_t>();
    EXPECT_GT(start.at("hostServicesNs").get<std::int64_t>(), 0);
    EXPECT_EQ(host, start.at("hostServicesNs").get<std::int64_t>());
    EXPECT_LE(host, start.at("registerNs").get<std::int64_t>() + start.at("startNs").get<std::int64_t>());
    std::int64_t steps = 0;
    for (const char* field : TimeFields) {
        steps += start.at(field).get<std::int64_t>();
    }
    EXPECT_GT(start.at("addOnNs").get<std::int64_t>(), 0);
    EXPECT_EQ(start.at("addOnNs").get<std::int64_t>() + host, steps);
    EXPECT_EQ(stop.at("timing"), "module-stop");
    EXPECT_EQ(stop.at("module"), "VELDEngineerConnection");
    EXPECT_GE(stop.at("releaseNs").get<std::int64_t>(), 0);
    EXPECT_GT(stop.at("unloadNs").get<std::int64_t>(), 0);
}

TEST_F(HostSimTimings, WithoutReleaseTheStopLineHasOnlyTheUnload) {
    const Scenarios::ProcessResult run =
        Run("quit\n", {"--no-release", "--timings", (root / "t.jsonl").string()});
    const std::vector<Json> stops = OfKind(Lines("t.jsonl"), "module-stop");
    ASSERT_EQ(stops.size(), 1u) << run.errors;
    EXPECT_FALSE(stops[0].contains("releaseNs"));
    EXPECT_TRUE(stops[0].contains("unloadNs"));
}

TEST_F(HostSimTimings, ARejectedModuleHasItsTimesUpToTheChecksBeforeItsUnload) {
    const Scenarios::ProcessResult run =
        Run("quit\n", {"--timings", (root / "t.jsonl").string()}, MISSING_EXPORT_FIXTURE);
    EXPECT_EQ(run.exitCode, 1);
    const std::vector<Json> lines = Lines("t.jsonl");
    ASSERT_EQ(lines.size(), 2u) << run.errors;
    EXPECT_EQ(lines[0].at("timing"), "module-start");
    EXPECT_TRUE(lines[0].contains("loadNs"));
    EXPECT_TRUE(lines[0].contains("checksNs"));
    EXPECT_FALSE(lines[0].contains("describeNs"));
    // Nothing of the host's was asked for: the whole of the two steps is the module's.
    EXPECT_EQ(lines[0].at("hostForAddOnNs"), 0);
    EXPECT_EQ(lines[0].at("addOnNs").get<std::int64_t>(),
              lines[0].at("loadNs").get<std::int64_t>() + lines[0].at("checksNs").get<std::int64_t>());
    EXPECT_EQ(lines[1].at("timing"), "module-stop");
    EXPECT_FALSE(lines[1].contains("releaseNs"));
    EXPECT_TRUE(lines[1].contains("unloadNs"));
}

TEST_F(HostSimTimings, TimingsLeaveTheTranscriptAsItWas) {
    const std::string script = ChooseTranslator + OpenAndTick + "menu 32500 1\nquit\n";
    ASSERT_EQ(Run(script, {"--transcript", (root / "plain.jsonl").string()}).exitCode, 0);
    std::filesystem::remove(root / "Export" / "ACToVELDEngineer.xlsx");
    std::filesystem::remove_all(root / "home");
    RegisterVeldEngineer();
    ASSERT_EQ(Run(script,
                  {"--transcript", (root / "timed.jsonl").string(), "--timings", (root / "t.jsonl").string()})
                  .exitCode,
              0);
    // Addresses (tokens, handles) and sizes may differ from run to run; the order and kinds of
    // events and the library calls made may not.
    auto outline = [](const std::vector<Json>& events) {
        std::vector<std::string> kinds;
        for (const Json& event : events) {
            kinds.push_back(event.at("event").get<std::string>() + " " + event.value("op", "") + " " +
                            event.value("name", ""));
        }
        return kinds;
    };
    const std::vector<Json> plain = Lines("plain.jsonl");
    EXPECT_GT(plain.size(), 20u);
    EXPECT_EQ(outline(Lines("timed.jsonl")), outline(plain));
    EXPECT_EQ(OfKind(Lines("t.jsonl"), "menu").size(), 3u);
}

TEST_F(HostSimTimings, ATimingsFileThatCannotBeWrittenIsAUsageError) {
    const Scenarios::ProcessResult run =
        Run("quit\n", {"--timings", (root / "missing" / "t.jsonl").string()});
    EXPECT_EQ(run.exitCode, 64);
    EXPECT_NE(run.errors.find("hostsim: --timings: cannot write " + (root / "missing" / "t.jsonl").string() +
                              ": its folder " + (root / "missing").string() + " does not exist"),
              std::string::npos)
        << run.errors;
}
