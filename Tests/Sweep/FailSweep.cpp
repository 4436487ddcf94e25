#include "FailSweep.hpp"

#include "ExportSettingsScenario.hpp"
#include "ScenarioRegistry.hpp"
#include "TimeLimit.hpp"

#include <exception>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>
#include <thread>

namespace Sweep {

using Scenarios::HostSimRun;
using Scenarios::Json;

namespace {

constexpr int StepTimeLimitSeconds = 60;
// Two: one per core of the machines the tests run on; under Wine the wine server serves both.
constexpr std::size_t RerunsAtOnce = 2;
const std::string AddOn = Scenarios::AddOnModuleName;
// A code no host operation answers on its own, so every failure in a rerun is the injected one.
const std::string FailureCode = "0x81060F01";

std::vector<std::filesystem::path> FilesBelow(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::exists(folder)) {
        return files;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(std::filesystem::relative(entry.path(), folder));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

HostSimRun ReadRun(const Scenarios::ProcessResult& process, const std::filesystem::path& transcript) {
    HostSimRun run;
    run.exitCode = process.exitCode;
    run.errors = process.errors;
    std::istringstream lines(Scenarios::ReadFile(transcript));
    for (std::string line; std::getline(lines, line);) {
        run.events.push_back(Json::parse(line));
    }
    return run;
}

// Work on a thread of its own (a rerun); Take waits for it and hands over its result, or rethrows what it
// threw. (Not std::async: the MSVC STL builds it on the Concurrency runtime, which is no part of the
// C++ runtime DLLs a host ships.)
template <typename Result>
class BackgroundRun {
public:
    explicit BackgroundRun(std::function<Result()> work)
        : thread([this, work = std::move(work)] {
              try {
                  result = work();
              } catch (...) {
                  failure = std::current_exception();
              }
          }) {}
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;
    ~BackgroundRun() {
        if (thread.joinable()) {
            thread.join();
        }
    }

    Result Take() {
        thread.join();
        if (failure) {
            std::rethrow_exception(failure);
        }
        return std::move(result);
    }

private:
    Result result;
    std::exception_ptr failure;
    std::thread thread; // last: it starts once the members it writes exist
};

} // namespace

Json ProjectObjects(const std::filesystem::path& project, const std::string& label) {
    if (!std::filesystem::exists(project)) {
        return nullptr;
    }
    const Json parsed = Json::parse(Scenarios::ReadFile(project), nullptr, false);
    EXPECT_FALSE(parsed.is_discarded()) << label << ": the project file no longer parses";
    if (!parsed.is_object()) {
        return nullptr;
    }
    // A new object gets a new identifier every time: what it holds is its name and content.
    Json objects = Json::array();
    for (const Json& object : parsed.value("addOnObjects", Json::array())) {
        objects.push_back({object.value("name", ""), object.value("content", "")});
    }
    return objects;
}

void FailSweep::KeepTemplate(const std::filesystem::path& project) {
    templateRegistry = Scenarios::ScenarioRegistryText();
    templateFolder = root / "template";
    std::filesystem::create_directories(templateFolder);
    std::filesystem::copy(home, templateFolder / "home", std::filesystem::copy_options::recursive);
    if (!project.empty() && std::filesystem::exists(project)) {
        templateProject = templateFolder / "project.json";
        std::filesystem::copy_file(project, templateProject);
    }
}

FailSweep::Step FailSweep::RunStep(const std::string& name, const std::string& script,
                                   const std::vector<std::string>& options) {
    Step step = RunStepProcess(name, script, options);
    EXPECT_NE(step.run.exitCode, TimeLimitExitCode()) << name << ": hostsim ran into its time limit";
    return step;
}

FailSweep::Step FailSweep::RunStepProcess(const std::string& name, const std::string& script,
                                          const std::vector<std::string>& options) const {
    Step step;
    step.folder = root / name;
    step.project = step.folder / "project.json";
    const std::filesystem::path stepHome = step.folder / "home";
    const std::filesystem::path exportFolder = step.folder / "Export";
    std::filesystem::create_directories(exportFolder);
    std::filesystem::copy(templateFolder / "home", stepHome, std::filesystem::copy_options::recursive);
    if (!templateProject.empty()) {
        std::filesystem::copy_file(templateProject, step.project);
    }
    Scenarios::WriteFile(step.folder / "script.txt", script);
    std::vector<std::string> command{HOSTSIM_PATH,
                                     "--home",
                                     stepHome.string(),
                                     "--transcript",
                                     (step.folder / "transcript.jsonl").string(),
                                     "--script",
                                     (step.folder / "script.txt").string()};
    for (const std::string& option : options) {
        if (option == "{project}") {
            command.push_back(step.project.string());
        } else if (option == "{export}") {
            command.push_back("7=" + exportFolder.string());
        } else {
            command.push_back(option);
        }
    }
    command.push_back(Scenarios::AddOnModulePath());
    const Scenarios::ProcessResult process =
        Scenarios::RunProcess(UnderTimeLimit(command, StepTimeLimitSeconds), step.folder);
    step.run = ReadRun(process, step.folder / "transcript.jsonl");
    return step;
}

void FailSweep::ExpectDataFolderUnchanged(const Step& step, const std::string& label) const {
    // Windows: the system's registry, the same for every step (none of them may write to it).
    EXPECT_EQ(Scenarios::ScenarioRegistryText(), templateRegistry) << label << ": the registry changed";
    for (const char* area : {"Registry", "SAF"}) {
        const std::filesystem::path before = templateFolder / "home" / area;
        const std::filesystem::path after = step.folder / "home" / area;
        EXPECT_EQ(FilesBelow(after), FilesBelow(before)) << label << ": files in " << area;
        for (const std::filesystem::path& file : FilesBelow(before)) {
            EXPECT_EQ(Scenarios::ReadFile(after / file), Scenarios::ReadFile(before / file))
                << label << ": " << area << "/" << file.string() << " changed";
        }
    }
}

void FailSweep::ExpectCleanBookkeeping(const Step& step, const std::string& label, bool closeRefused) {
    const HostSimRun& run = step.run;
    for (const Json& menu : run.EventsWhere("menu", "module", AddOn)) {
        EXPECT_EQ(menu.value("result", -1), 0) << label << ": " << menu.dump();
    }
    EXPECT_EQ(run.EventsWhere("allocations", "after", "menu").size(),
              run.EventsWhere("menu", "module", AddOn).size())
        << label << ": one count after every command";
    for (const Json& count : run.EventsNamed("allocations")) {
        EXPECT_EQ(count.value("liveBlocks", -1), 0) << label << ": " << count.dump();
    }
    const std::vector<Json> open = run.EventsNamed("saf-open-handles");
    EXPECT_EQ(open.size(), 1u) << label;
    for (const Json& handles : open) {
        // A 'FADA' that the host's table refused never reached the SAF add-on: its handle stays open.
        EXPECT_EQ(handles.value("count", -1), closeRefused ? 1 : 0) << label << ": " << handles.dump();
    }
    EXPECT_EQ(Scenarios::BracketFaults(run), std::vector<std::string>()) << label;
    for (const Json& violation : run.EventsNamed("lifecycle-violation")) {
        const bool openHandle = violation.value("message", "").find("'LADA'") != std::string::npos ||
                                violation.value("message", "").find("handle") != std::string::npos;
        if (!closeRefused || !openHandle) {
            ADD_FAILURE() << label << ": " << violation.dump();
        }
    }
}

std::size_t FailSweep::SweepCalls(const std::string& script, const std::vector<std::string>& options,
                                  Outcome expected, const Classifier& classify, const Rules& allowed) {
    const Step clean = RunStep("clean", script, options);
    EXPECT_EQ(clean.run.exitCode, 0) << clean.run.errors;
    const Outcome cleanOutcome = classify(clean);
    EXPECT_EQ(cleanOutcome, expected) << "the clean run";
    ExpectCleanBookkeeping(clean, "the clean run", false);
    ExpectDataFolderUnchanged(clean, "the clean run");
    if (clean.run.exitCode != 0 || cleanOutcome != expected) {
        return 0; // nothing to sweep against
    }

    const std::vector<SweptCall> calls = CallsToSweep(clean.run, AddOn, FailureCode);
    std::ostringstream table;
    table << std::left << std::setw(4) << "N" << std::setw(84) << "failed call"
          << "outcome\n";
    std::vector<std::unique_ptr<BackgroundRun<Step>>> reruns;
    for (std::size_t index = 0; index < calls.size(); ++index) {
        const SweptCall& call = calls[index];
        const std::string label = "step " + std::to_string(index + 1) + ", " + call.Label();
        // The reruns are independent processes in folders of their own: the next ones are started
        // before this one is judged, so that a few run side by side.
        for (std::size_t next = reruns.size(); next < calls.size() && next < index + RerunsAtOnce; ++next) {
            std::vector<std::string> all = options;
            const std::vector<std::string> fail = calls[next].FailOptions();
            all.insert(all.end(), fail.begin(), fail.end());
            reruns.push_back(std::make_unique<BackgroundRun<Step>>([this, next, script, all] {
                return RunStepProcess("step-" + std::to_string(next + 1), script, all);
            }));
        }
        const Step step = reruns[index]->Take();
        EXPECT_NE(step.run.exitCode, TimeLimitExitCode()) << label << ": hostsim ran into its time limit";
        const Outcome outcome = classify(step);
        const bool closeRefused = call.operation == "HostCommandCall" && call.detail == "FADA";
        std::string exit = "exit 0";
        if (closeRefused && step.run.exitCode == 1) {
            exit = "exit 1, the refused 'FADA' left the SAF handle open";
        } else if (step.run.exitCode == 2 && !step.run.EventsNamed("error").empty() && outcome != expected) {
            // The failure changed what was on screen, so a later script line did not fit it: hostsim
            // answers what is up with its last button (or closes the dialog) and reports exit code 2.
            exit = "exit 2, the script did not fit the changed screen";
        } else if (step.run.exitCode != 0) {
            exit = "exit " + std::to_string(step.run.exitCode);
            ADD_FAILURE() << label << ": hostsim exited with " << step.run.exitCode << "\n"
                          << step.run.errors;
        }
        EXPECT_FALSE(InjectedFaults(step.run).empty()) << label << ": the failure never reached the call";
        const std::set<Outcome> permitted = allowed(call);
        EXPECT_TRUE(permitted.contains(outcome)) << label << ": " << NameOf(outcome) << " is not allowed";
        ExpectCleanBookkeeping(step, label, closeRefused);
        ExpectDataFolderUnchanged(step, label);
        table << std::setw(4) << index + 1 << std::setw(84) << call.Label() << NameOf(outcome) << " (" << exit
              << ")\n";
    }
    std::cout << table.str();
    return calls.size();
}

} // namespace Sweep
