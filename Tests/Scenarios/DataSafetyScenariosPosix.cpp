// What hostsim does with a person's files when several programs write them at once, when a writer
// is killed half-way, and when a file is not what it should be. POSIX: the loops fork, kill and
// watch folders with inotify, and the registry is the store files in the data folder.
#include "FileCreationWatchPosix.hpp"
#include "OpenCommandScenario.hpp"
#include "ScenarioHarness.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace Scenarios;

namespace {

namespace fs = std::filesystem;

// hostsim at a terminal: its standard input and output are pipes, so that the test types a line
// only once hostsim asks for one.
class TerminalHostSim {
public:
    explicit TerminalHostSim(const std::vector<std::string>& arguments) {
        int input[2] = {-1, -1};
        int output[2] = {-1, -1};
        if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], 0);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            child = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        toChild = input[1];
        fromChild = output[0];
    }
    ~TerminalHostSim() { Finish(); }
    TerminalHostSim(const TerminalHostSim&) = delete;
    TerminalHostSim& operator=(const TerminalHostSim&) = delete;

    // Reads what hostsim prints until its prompt; false when it ends first.
    bool WaitForPrompt() {
        char chunk[4096];
        while (printed.find("hostsim> ", promptsSeen) == std::string::npos) {
            const ssize_t count = ::read(fromChild, chunk, sizeof(chunk));
            if (count <= 0) {
                return false;
            }
            printed.append(chunk, static_cast<std::size_t>(count));
        }
        promptsSeen = printed.find("hostsim> ", promptsSeen) + 1;
        return true;
    }

    void Type(const std::string& line) {
        const std::string text = line + "\n";
        EXPECT_EQ(::write(toChild, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    // Ends the input and waits for hostsim; its exit code, -1 when it did not exit normally.
    int Finish() {
        if (child <= 0) {
            return -1;
        }
        ::close(toChild);
        char chunk[4096];
        for (ssize_t count = 0; (count = ::read(fromChild, chunk, sizeof(chunk))) > 0;) {
            printed.append(chunk, static_cast<std::size_t>(count));
        }
        ::close(fromChild);
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        child = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string printed;

private:
    pid_t child = -1;
    int toChild = -1;
    int fromChild = -1;
    std::size_t promptsSeen = 0;
};

// Starts `arguments` with its output thrown away, without waiting for it; -1 when it cannot start.
pid_t SpawnQuietly(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        child = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

std::vector<Json> TranscriptEvents(const fs::path& transcript, const std::string& name) {
    std::vector<Json> events;
    std::istringstream lines(ReadFile(transcript));
    for (std::string line; std::getline(lines, line);) {
        Json event = Json::parse(line);
        if (event["event"] == name) {
            events.push_back(std::move(event));
        }
    }
    return events;
}

std::vector<std::string> TemporaryFilesIn(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".tmp-") != std::string::npos || name.find(".saving") != std::string::npos) {
            found.push_back(name);
        }
    }
    return found;
}

// The demo building under another name, so that each writer's model can be told from the others'.
fs::path ModelNamed(const fs::path& folder, const std::string& name) {
    Json model = Json::parse(ReadFile(DEMO_BUILDING_PATH));
    model["name"] = name;
    const fs::path file = folder / (name + ".json");
    WriteFile(file, model.dump());
    return file;
}

// 64-bit FNV-1a of the file's bytes, as the project-save event writes its digests; "" for no file.
std::string DigestOf(const fs::path& file) {
    if (!fs::exists(file)) {
        return {};
    }
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char byte : ReadFile(file)) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3u;
    }
    char text[17];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// The model name in a project file; fails the test when the file is no project.
std::string ModelNameIn(const fs::path& project) {
    const Json document = Json::parse(ReadFile(project), nullptr, false);
    EXPECT_FALSE(document.is_discarded()) << "the project no longer parses";
    if (document.is_discarded() || !document.contains("model") || !document["model"].contains("name")) {
        return {};
    }
    return document["model"]["name"];
}

class DataSafety : public ScenarioTest {
protected:
    // hostsim without add-ons on a script, with its own transcript and scratch folder.
    ProcessResult RunBareHostSim(const std::string& tag, const std::string& script,
                                 const std::vector<std::string>& options) {
        const fs::path scratch = root / ("run-" + tag);
        fs::create_directories(scratch);
        WriteFile(scratch / "script.txt", script);
        std::vector<std::string> command{HOSTSIM_PATH,
                                         "--home",
                                         home.string(),
                                         "--script",
                                         (scratch / "script.txt").string(),
                                         "--transcript",
                                         (scratch / "transcript.jsonl").string()};
        command.insert(command.end(), options.begin(), options.end());
        return RunProcess(command, scratch);
    }
    fs::path TranscriptOf(const std::string& tag) const { return root / ("run-" + tag) / "transcript.jsonl"; }
};

TEST_F(DataSafety, ASaveOverAProjectChangedOnDiskSinceItWasOpenedIsRefusedAndSaysSo) {
    const fs::path project = root / "project.json";
    ASSERT_EQ(RunBareHostSim("first", "save\nquit\n",
                             {"--project", project.string(), "--model", ModelNamed(root, "first").string()})
                  .exitCode,
              0);

    // A opens the project and waits at the terminal; B saves its own model meanwhile.
    TerminalHostSim early({HOSTSIM_PATH, "--home", home.string(), "--project", project.string(), "--model",
                           ModelNamed(root, "early").string(), "--transcript",
                           (root / "early.jsonl").string()});
    ASSERT_TRUE(early.WaitForPrompt()) << early.printed;
    const ProcessResult later =
        RunBareHostSim("later", "save\nquit\n",
                       {"--project", project.string(), "--model", ModelNamed(root, "later").string()});
    ASSERT_EQ(later.exitCode, 0) << later.errors;
    const std::string laterBytes = ReadFile(project);

    early.Type("save");
    ASSERT_TRUE(early.WaitForPrompt()) << early.printed;
    early.Type("quit");
    early.Finish();
    const std::vector<Json> saves = TranscriptEvents(root / "early.jsonl", "project-save");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0]["result"], "failed");
    EXPECT_NE(saves[0]["reason"].get<std::string>().find("changed on disk since it was opened"),
              std::string::npos)
        << saves[0].dump();
    EXPECT_EQ(ReadFile(project), laterBytes) << "the other program's save stays";
    EXPECT_EQ(ModelNameIn(project), "later");
}

// Writers that overlap: every run either saves or is told that the project changed under it; the
// saves form one line of versions (none was overwritten unseen); the project always parses and
// holds the model of a run that said it saved; no temporary file stays.
TEST_F(DataSafety, ConcurrentSavesOfOneProjectNeverCorruptItAndNoneIsLostSilently) {
    constexpr int Batches = 25;
    constexpr int Writers = 8;
    const fs::path folder = root / "projects";
    fs::create_directories(folder);
    const fs::path project = folder / "project.json";
    std::vector<fs::path> models;
    for (int run = 0; run < Batches * Writers; ++run) {
        models.push_back(ModelNamed(root, "run" + std::to_string(run)));
    }
    std::set<std::string> saved;
    int refused = 0;
    for (int batch = 0; batch < Batches; ++batch) {
        const std::string before = DigestOf(project);
        std::vector<ProcessResult> results(Writers);
        std::vector<std::thread> writers;
        for (int writer = 0; writer < Writers; ++writer) {
            const int run = batch * Writers + writer;
            writers.emplace_back([&, run, writer] {
                results[static_cast<std::size_t>(writer)] =
                    RunBareHostSim(std::to_string(run), "save\nquit\n",
                                   {"--project", project.string(), "--model",
                                    models[static_cast<std::size_t>(run)].string()});
            });
        }
        for (std::thread& writer : writers) {
            writer.join();
        }
        // Each save that says it saved names the version it replaced: one after the other they must
        // form one line from the file before the batch to the file after it. Two saves that replaced
        // the same version mean that one of them was lost without a word.
        std::map<std::string, std::string> nextOf;
        for (int writer = 0; writer < Writers; ++writer) {
            const int run = batch * Writers + writer;
            const std::vector<Json> saves =
                TranscriptEvents(TranscriptOf(std::to_string(run)), "project-save");
            ASSERT_EQ(saves.size(), 1u) << results[static_cast<std::size_t>(writer)].errors;
            if (saves[0]["result"] == "saved") {
                EXPECT_EQ(results[static_cast<std::size_t>(writer)].exitCode, 0);
                saved.insert("run" + std::to_string(run));
                ASSERT_TRUE(nextOf.emplace(saves[0]["replaced"], saves[0]["digest"]).second)
                    << "batch " << batch << ": two saves replaced version " << saves[0]["replaced"];
            } else {
                ++refused;
                EXPECT_NE(saves[0]["reason"].get<std::string>().find("changed on disk"), std::string::npos)
                    << saves[0].dump();
                EXPECT_NE(results[static_cast<std::size_t>(writer)].errors.find("changed on disk"),
                          std::string::npos);
            }
        }
        std::string version = before;
        std::size_t steps = 0;
        for (; steps < nextOf.size() && nextOf.count(version) == 1; ++steps) {
            version = nextOf[version];
        }
        ASSERT_EQ(steps, nextOf.size())
            << "batch " << batch << ": a save replaced a version nobody else kept";
        ASSERT_EQ(version, DigestOf(project)) << "batch " << batch << ": the saves do not end at the file";
        ASSERT_FALSE(nextOf.empty()) << "batch " << batch << ": nobody saved";
        const std::string holder = ModelNameIn(project);
        ASSERT_TRUE(saved.count(holder) == 1) << "batch " << batch << ": the project holds " << holder;
        ASSERT_EQ(TemporaryFilesIn(folder), std::vector<std::string>{}) << "batch " << batch;
    }
    EXPECT_EQ(static_cast<int>(saved.size()) + refused, Batches * Writers);
    RecordProperty("saved", static_cast<int>(saved.size()));
    RecordProperty("refused", refused);
}

TEST_F(DataSafety, TwentyConcurrentRegistryWritersKeepEveryValue) {
    constexpr int Rounds = 5;
    constexpr int Writers = 20;
    for (int round = 0; round < Rounds; ++round) {
        std::vector<ProcessResult> results(Writers);
        std::vector<std::thread> writers;
        for (int writer = 0; writer < Writers; ++writer) {
            writers.emplace_back([&, writer] {
                const std::string name = "Writer" + std::to_string(round) + "-" + std::to_string(writer);
                const fs::path scratch = root / ("registry-" + name);
                fs::create_directories(scratch);
                results[static_cast<std::size_t>(writer)] =
                    RunProcess({HOSTSIM_PATH, "registry", "--home", home.string(), "set-string",
                                "HKCU\\Software\\Concurrent", name, "value of " + name},
                               scratch);
            });
        }
        for (std::thread& writer : writers) {
            writer.join();
        }
        for (const ProcessResult& result : results) {
            EXPECT_EQ(result.exitCode, 0) << result.errors;
        }
    }
    const std::string hive = ReadFile(home / "Registry" / "CurrentUser.reg");
    int present = 0;
    for (int round = 0; round < Rounds; ++round) {
        for (int writer = 0; writer < Writers; ++writer) {
            const std::string name = "Writer" + std::to_string(round) + "-" + std::to_string(writer);
            present += hive.find("\"" + name + "\"=\"value of " + name + "\"") != std::string::npos ? 1 : 0;
        }
    }
    EXPECT_EQ(present, Rounds * Writers);
    EXPECT_EQ(TemporaryFilesIn(home / "Registry"), std::vector<std::string>{});
}

// kill -9 at the moment hostsim's temporary project file appears: the project is whole (the old
// file or the new one) and the next save removes what the killed one left.
TEST_F(DataSafety, AHostSimKilledWhileSavingLeavesAWholeProjectAndTheNextSaveCleansUp) {
    constexpr int Kills = 25;
    const fs::path folder = root / "killed";
    fs::create_directories(folder);
    const fs::path project = folder / "project.json";
    // A member this host does not know, large enough that the write takes a while.
    Json document = {{"format", "hostsim-project"},
                     {"version", 1},
                     {"model", Json::object()},
                     {"addOnObjects", Json::array()},
                     {"notes", std::string(1 << 20, 'n')}};
    WriteFile(project, document.dump());
    WriteFile(root / "save.txt", "save\nquit\n");
    int leftBehind = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, folder.c_str(), IN_CREATE), 0);
        const std::vector<std::string> arguments{HOSTSIM_PATH,
                                                 "--home",
                                                 home.string(),
                                                 "--project",
                                                 project.string(),
                                                 "--script",
                                                 (root / "save.txt").string()};
        const pid_t writer = SpawnQuietly(arguments);
        ASSERT_GT(writer, 0);
        ASSERT_TRUE(TestSupport::WaitForCreation(watch, "project.json.tmp-"));
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        ::close(watch);
        leftBehind += TemporaryFilesIn(folder).empty() ? 0 : 1;
        const std::string after = ReadFile(project);
        ASSERT_FALSE(Json::parse(after, nullptr, false).is_discarded()) << "kill " << kill;
        ASSERT_EQ(Json::parse(after)["notes"], document["notes"]);

        const ProcessResult next = RunProcess({HOSTSIM_PATH, "--home", home.string(), "--project",
                                               project.string(), "--script", (root / "save.txt").string()},
                                              root);
        ASSERT_EQ(next.exitCode, 0) << next.errors;
        ASSERT_EQ(TemporaryFilesIn(folder), std::vector<std::string>{}) << "after kill " << kill;
    }
    // The loop proves something only when the kills landed while the temporary file was there.
    EXPECT_GT(leftBehind, Kills / 2);
    RecordProperty("killsThatLeftATemporaryFile", leftBehind);
}

// A project opened through a symbolic link is saved into the file the link names; the link stays.
TEST_F(DataSafety, AProjectThatIsASymbolicLinkIsSavedThroughIt) {
    fs::create_directories(root / "kept");
    const fs::path real = root / "kept" / "project.json";
    ASSERT_EQ(RunBareHostSim("first", "save\nquit\n",
                             {"--project", real.string(), "--model", ModelNamed(root, "first").string()})
                  .exitCode,
              0);
    const fs::path link = root / "project.json";
    fs::create_symlink(fs::path("kept") / "project.json", link);
    const std::string before = ReadFile(real);
    const ProcessResult run = RunBareHostSim(
        "link", "save\nquit\n", {"--project", link.string(), "--model", ModelNamed(root, "second").string()});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(ReadFile(real), before);
    EXPECT_EQ(fs::read_symlink(link), fs::path("kept") / "project.json");
}

TEST_F(DataSafety, UnknownProjectMembersAreKeptOnSave) {
    const fs::path project = root / "project.json";
    WriteFile(project, R"({"format": "hostsim-project", "version": 1, "model": {}, "addOnObjects": [],
                          "notes": {"by": "a newer host", "list": [1, 2]}})");
    const ProcessResult run = RunBareHostSim("save", "save\nquit\n", {"--project", project.string()});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Json saved = Json::parse(ReadFile(project));
    EXPECT_EQ(saved["notes"], Json::parse(R"({"by": "a newer host", "list": [1, 2]})"));
}

TEST_F(DataSafety, AProjectMarkedReadOnlyOrInAReadOnlyFolderIsNotReplaced) {
    const fs::path folder = root / "marked";
    fs::create_directories(folder);
    const fs::path project = folder / "project.json";
    const fs::path model = ModelNamed(root, "changed");
    WriteFile(project, R"({"format": "hostsim-project", "version": 1, "model": {}, "addOnObjects": []})");
    const std::string before = ReadFile(project);

    fs::permissions(project, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ProcessResult run =
        RunBareHostSim("file", "save\nquit\n", {"--project", project.string(), "--model", model.string()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.errors.find("is marked read-only"), std::string::npos) << run.errors;
    EXPECT_EQ(ReadFile(project), before);
    EXPECT_EQ(fs::status(project).permissions(),
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    fs::permissions(project, fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    run =
        RunBareHostSim("folder", "save\nquit\n", {"--project", project.string(), "--model", model.string()});
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.errors.find("its folder " + folder.string() + " is marked read-only"), std::string::npos)
        << run.errors;
    EXPECT_EQ(ReadFile(project), before);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"project.json"});
}

// Each hostile file in each place hostsim reads: a clear error (or a clear refusal of that one file)
// and an end, never a crash or a hang.
TEST_F(DataSafety, HostileFilesGetAClearErrorNeverACrashOrAHang) {
    const fs::path folder = root / "hostile";
    fs::create_directories(folder / "a folder");
    ASSERT_EQ(::mkfifo((folder / "a pipe").c_str(), 0600), 0);
    WriteFile(folder / "deep.json", std::string(20000, '[') + std::string(20000, ']'));
    std::string demo = ReadFile(DEMO_BUILDING_PATH);
    const std::size_t x = demo.find("\"x\":");
    ASSERT_NE(x, std::string::npos);
    demo.replace(x, 4, "\"x\": 1e400, \"unused\":");
    WriteFile(folder / "huge-coordinate.json", demo);

    const struct {
        std::string what;
        std::vector<std::string> options;
        int exitCode;
        std::string error;
    } cases[] = {
        {"project is a folder", {"--project", (folder / "a folder").string()}, 3, "it is a folder"},
        {"project is a pipe", {"--project", (folder / "a pipe").string()}, 3, "it is not a regular file"},
        {"project is /dev/zero", {"--project", "/dev/zero"}, 3, "it is not a regular file"},
        {"project nests 20 000 levels",
         {"--project", (folder / "deep.json").string()},
         3,
         "arrays and objects nested deeper than 512 levels"},
        {"model is a folder", {"--model", (folder / "a folder").string()}, 64, "it is a folder"},
        {"model is a pipe", {"--model", (folder / "a pipe").string()}, 64, "it is not a regular file"},
        {"model is /dev/zero", {"--model", "/dev/zero"}, 64, "it is not a regular file"},
        {"model nests 20 000 levels",
         {"--model", (folder / "deep.json").string()},
         64,
         "nested deeper than 512 levels"},
        {"model coordinate 1e400",
         {"--model", (folder / "huge-coordinate.json").string()},
         64,
         ".x: a number out of range: number overflow parsing '1e400'"},
        {"relative special folder", {"--special-folder", "7=--help"}, 64, "must be an absolute path"},
        {"transcript is a folder",
         {"--transcript", (folder / "a folder").string()},
         64,
         "--transcript: cannot write " + (folder / "a folder").string() + ": it is a folder"},
        {"transcript is a pipe",
         {"--transcript", (folder / "a pipe").string()},
         64,
         "it is not a regular file"},
        {"transcript is /dev/zero", {"--transcript", "/dev/zero"}, 64, "it is not a regular file"},
        {"timings is a folder",
         {"--timings", (folder / "a folder").string()},
         64,
         "--timings: cannot write " + (folder / "a folder").string() + ": it is a folder"},
        {"timings is a pipe",
         {"--timings", (folder / "a pipe").string()},
         64,
         "--timings: cannot write " + (folder / "a pipe").string() + ": it is not a regular file"},
        {"timings is /dev/zero", {"--timings", "/dev/zero"}, 64, "it is not a regular file"},
    };
    int index = 0;
    for (const auto& [what, options, exitCode, error] : cases) {
        const ProcessResult run = RunBareHostSim("case" + std::to_string(index++), "quit\n", options);
        EXPECT_EQ(run.exitCode, exitCode) << what << ": " << run.errors;
        EXPECT_NE(run.errors.find(error), std::string::npos) << what << ": " << run.errors;
    }

    // The script itself.
    for (const fs::path& script : {folder / "a folder", folder / "a pipe"}) {
        const ProcessResult run =
            RunProcess({HOSTSIM_PATH, "--home", home.string(), "--script", script.string()}, root);
        EXPECT_EQ(run.exitCode, 2) << script;
        EXPECT_NE(run.errors.find("cannot use the script"), std::string::npos) << run.errors;
    }
}

// The translator store and the registry hives are read from the data folder: a folder, a pipe, an
// endless device or a document nested too deep there is reported, and the run goes on without it.
TEST_F(DataSafety, AStoreFileThatIsAFolderAPipeADeviceOrTooDeepIsReportedAndTheRunGoesOn) {
    enum class Kind { Folder, Pipe, EndlessDevice, DeepDocument };
    const fs::path store = fs::path("SAF") / "Translators.json";
    const fs::path hive = fs::path("Registry") / "LocalMachine.reg";
    const struct {
        fs::path place;
        Kind kind;
        std::string error;
    } cases[] = {
        {store, Kind::Folder, "it is a folder"},
        {store, Kind::Pipe, "it is not a regular file"},
        {store, Kind::EndlessDevice, "it is not a regular file"},
        {store, Kind::DeepDocument, "arrays and objects nested deeper than 512 levels"},
        {hive, Kind::Folder, "not a regular file"},
        {hive, Kind::Pipe, "not a regular file"},
        {hive, Kind::EndlessDevice, "not a regular file"},
    };
    int index = 0;
    for (const auto& [place, kind, error] : cases) {
        home = root / ("home" + std::to_string(index++));
        const fs::path path = home / place;
        fs::create_directories(path.parent_path());
        switch (kind) {
        case Kind::Folder:
            fs::create_directories(path);
            break;
        case Kind::Pipe:
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            break;
        case Kind::EndlessDevice:
            fs::create_symlink("/dev/zero", path);
            break;
        case Kind::DeepDocument:
            WriteFile(path, std::string(20000, '[') + std::string(20000, ']'));
            break;
        }
        const HostSimRun run = RunHostSim("quit\n");
        EXPECT_EQ(run.exitCode, 0) << path << ": " << run.errors;
        EXPECT_NE(run.errors.find(error), std::string::npos) << path << ": " << run.errors;
    }
}

class UnkeptChoice : public OpenCommandScenario {};

// "Don't show this dialog again." ticked while the current user's hive cannot be written: the event
// says what the store holds (nothing), and the person is told that the choice was not kept.
TEST_F(UnkeptChoice, ADontShowAgainChoiceThatCannotBeStoredIsReportedAsNotKept) {
    RegisterInstallation();
    const fs::path hive = home / "Registry" / "CurrentUser.reg";
    WriteFile(hive, "Windows Registry Editor Version 5.00\n\n");
    fs::permissions(hive, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    HostSimRun run =
        Open(ChooseTranslator(1) + "menu 32500 1\ncheck 5 1\nclick 1\nmenu 32500 1\nclick 1\nquit\n");
    ExpectCleanRun(run);
    const std::vector<Json> decisions = run.EventsNamed("dont-show-again");
    ASSERT_EQ(decisions.size(), 2u);
    EXPECT_EQ(decisions[0]["ticked"], true);
    EXPECT_EQ(decisions[0]["suppressed"], false);
    EXPECT_EQ(decisions[1]["shown"], true) << "not kept, so shown again";
    bool told = false;
    for (const Json& line : run.EventsNamed("debug")) {
        told = told || line["text"].get<std::string>().find("could not be stored") != std::string::npos;
    }
    EXPECT_TRUE(told);
    EXPECT_NE(run.errors.find("could not be stored"), std::string::npos) << run.errors;
}

class KilledExport : public OpenCommandScenario {};

// kill -9 of hostsim at the moment the temporary workbook appears beside the export: the workbook
// is absent (first time) or an earlier whole one, and the next export removes the leftover.
TEST_F(KilledExport, AHostSimKilledWhileWritingTheWorkbookLeavesNoTornWorkbookAndTheNextExportCleansUp) {
    constexpr int Kills = 40;
    RegisterInstallation();
    const std::string script = ChooseTranslator(1) + "menu 32500 1\nclick 1\nquit\n";
    WriteFile(scriptPath, script);
    const std::vector<std::string> arguments{HOSTSIM_PATH,
                                             "--home",
                                             home.string(),
                                             "--script",
                                             scriptPath.string(),
                                             "--special-folder",
                                             "7=" + exportFolder.string(),
                                             "--model",
                                             DEMO_BUILDING_PATH,
                                             AddOnModulePath()};
    int leftBehind = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, exportFolder.c_str(), IN_CREATE), 0);
        const pid_t writer = SpawnQuietly(arguments);
        ASSERT_GT(writer, 0);
        ASSERT_TRUE(TestSupport::WaitForCreation(watch, "ACToVELDEngineer.xlsx.tmp-"));
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        ::close(watch);
        leftBehind += TemporaryFilesIn(exportFolder).empty() ? 0 : 1;
        if (fs::exists(Workbook())) {
            const std::string workbook = ReadFile(Workbook());
            ASSERT_GT(workbook.size(), 22u);
            // A whole zip package ends with its end of central directory record.
            ASSERT_EQ(workbook.substr(workbook.size() - 22, 4), std::string("PK\x05\x06")) << "kill " << kill;
        }
        const HostSimRun next = Open(script);
        ASSERT_EQ(next.exitCode, 0) << next.errors;
        ASSERT_TRUE(fs::exists(Workbook()));
        ASSERT_EQ(TemporaryFilesIn(exportFolder), std::vector<std::string>{}) << "after kill " << kill;
    }
    EXPECT_GT(leftBehind, Kills / 2);
    RecordProperty("killsThatLeftATemporaryFile", leftBehind);
}

// Escape sequences in what hostsim prints come from outside (here a script line it refuses): the
// terminal gets their codes, never the sequences.
TEST_F(DataSafety, EscapeSequencesFromAScriptReachTheTerminalAsCodes) {
    const ProcessResult run = RunBareHostSim("escape", "menu \x1B[2J\x1B]0;owned\x07 1\nquit\n", {});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.errors.find('\x1B'), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find('\x07'), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("\\x1B[2J\\x1B]0;owned\\x07"), std::string::npos) << run.errors;
}

} // namespace
