#include "Session/HostSimRun.hpp"

#include "CarefulFile.hpp"
#include "MemoryManager.hpp"
#include "ModelJson.hpp"
#include "ProductVersionInfo.hpp"
#include "ProgramCommandLine.hpp"
#include "ProgressLine.hpp"
#include "Record/PathText.hpp"
#include "Record/TerminalFilter.hpp"
#include "Screen/CommandInterpreter.hpp"
#include "Screen/LineEditor.hpp"
#include "Screen/ProgramOutputRelay.hpp"
#include "Screen/ScreenRun.hpp"
#include "Services/ProjectDocument.hpp"
#include "Session/DataFolder.hpp"
#include "Session/HostInstallation.hpp"
#include "Session/HostSession.hpp"
#include "Session/ProcessMemory.hpp"
#include "Tools/RegistryTool.hpp"
#include "Tools/UserDataTool.hpp"
#include "XercescInitializer.hpp"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>

namespace HostSim {

namespace {

// The explicit modules first, then every *.apx of the add-ons folder, sorted by file name. Started
// with neither, hostsim loads the add-ons folder of its installation, as an installed host does.
std::vector<std::string> ModulesToLoad(const HostSimOptions& options, std::string& error) {
    std::vector<std::string> modules = options.modules;
    const std::optional<std::string> addonsFolder = options.addonsFolder || !modules.empty()
                                                        ? options.addonsFolder
                                                        : RegisteredAddOnsFolder(options.hostVersion);
    if (!addonsFolder) {
        return modules;
    }
    std::error_code failure;
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(*addonsFolder), failure)) {
        if (entry.path().extension() == ".apx") {
            found.push_back(entry.path());
        }
    }
    if (failure) {
        error = "cannot read add-ons folder " + *addonsFolder + ": " + failure.message();
    }
    std::sort(found.begin(), found.end(),
              [](const auto& left, const auto& right) { return left.filename() < right.filename(); });
    for (const auto& path : found) {
        modules.push_back(PathToUtf8(path));
    }
    return modules;
}

bool RunCommands(const HostSimOptions& options, const ScreenOptions& screenOptions, HostSession& session,
                 Transcript& transcript, RunTimings& timings) {
    CommandInterpreter interpreter(session, transcript, std::cerr);
    if (!options.script) {
        // A person starting at a bare prompt learns how to go on, and why there is nothing to pick.
        const std::string menus = session.MenuSummary();
        std::cerr << "hostsim: type help for the commands" << std::endl;
        if (menus.find("  menu ") == std::string::npos) {
            std::cerr << "hostsim: there is no menu to pick:\n" << menus << std::flush;
        }
        const ProgramOutputRelay relay;
        CommandSource terminal(std::cin, "terminal", &std::cout);
        if (LineEditor::Available()) {
            terminal.EditLinesAtTerminal();
        }
        return RunWithScreen(interpreter, terminal, transcript, timings, screenOptions);
    }
    // A folder would read as an empty script and a pipe or a device never end: refused before opening.
    std::string text, error;
    const GS::CarefulFile::ReadOutcome read =
        GS::CarefulFile::ReadRegularFile(PathFromUtf8(*options.script), text, error);
    if (read != GS::CarefulFile::ReadOutcome::Read) {
        interpreter.ReportError(*options.script, 0,
                                read == GS::CarefulFile::ReadOutcome::Missing
                                    ? "cannot open the script: it does not exist"
                                    : "cannot use the script: " + error,
                                "");
        return false;
    }
    std::istringstream file(std::move(text));
    CommandSource script(file, *options.script, nullptr);
    return RunWithScreen(interpreter, script, transcript, timings, screenOptions);
}

// The data folder made ready: its registry folder, and the user data given on the command line.
// False, said in words, when it cannot be used.
bool PrepareHome(const HostSimOptions& options, const ScreenOptions& screenOptions) {
    std::error_code failure;
    const bool homeIsNew = !std::filesystem::exists(PathFromUtf8(options.home), failure);
    if (const Result<> prepared = PrepareRegistryFolder(options.home); !prepared) {
        std::cerr << "hostsim: " << prepared.Error() << std::endl;
        return false;
    }
    if (homeIsNew && !options.script) {
        std::cerr << "hostsim: made the data folder " << options.home << " (--home DIR chooses another)"
                  << std::endl;
    }
    if (const Result<> stored = StoreUserData(screenOptions.userData); !stored) {
        std::cerr << "hostsim: " << stored.Error() << std::endl;
        return false;
    }
    return true;
}

// A pipe without a reader would block the run at its start, and a folder or a device cannot hold
// the lines: refused in words before anything is opened.
bool RecordsCanBeWritten(const HostSimOptions& options) {
    for (const auto& [option, path] :
         {std::pair{"--transcript", &options.transcript}, std::pair{"--timings", &options.timings}}) {
        if (!*path) {
            continue;
        }
        if (const std::string refusal = GS::CarefulFile::WriteRefusal(PathFromUtf8(**path));
            !refusal.empty()) {
            std::cerr << "hostsim: " << option << ": " << refusal << std::endl;
            return false;
        }
    }
    return true;
}

// The project of --project, or an empty one that lives in memory; null, said in words and in the
// transcript, when the file cannot be used. A refused project ends the run before any add-on sees
// it, and stays as it was.
std::unique_ptr<ProjectDocument> OpenProject(const HostSimOptions& options,
                                             CommandLine::ProgressLine& progress, Transcript& transcript) {
    if (!options.project) {
        return std::make_unique<ProjectDocument>();
    }
    // A new project has no file to read: a stage drawn for it would never be closed, and the next
    // line would be written after it.
    std::error_code failure;
    if (std::filesystem::exists(PathFromUtf8(*options.project), failure)) {
        progress.Stage("reading the project " + TerminalSafe(*options.project));
    }
    Result<std::unique_ptr<ProjectDocument>> project = ProjectDocument::Open(
        *options.project, [&](std::size_t done, std::size_t whole) { progress.Advance(done, whole); });
    if (!project) {
        progress.EndLine();
        Json fields;
        fields["path"] = *options.project;
        fields["message"] = project.Error();
        transcript.Write("project-refused", fields);
        std::cerr << "hostsim: " << project.Error() << std::endl;
        return nullptr;
    }
    if (project.Value()->DigestOnDisk()) {
        progress.Finish("read the project " + TerminalSafe(*options.project));
    }
    return std::move(project).Value();
}

// The model of --model handed to the open project. False, said in words, when it cannot be read.
bool HandOverModel(const std::string& path, CommandLine::ProgressLine& progress, ProjectDocument& project) {
    std::string text, readError;
    const GS::CarefulFile::ReadOutcome read =
        GS::CarefulFile::ReadRegularFile(PathFromUtf8(path), text, readError);
    if (read != GS::CarefulFile::ReadOutcome::Read) {
        std::cerr << "hostsim: --model: "
                  << (read == GS::CarefulFile::ReadOutcome::Missing ? path + ": does not exist" : readError)
                  << std::endl;
        return false;
    }
    progress.Stage("reading the model " + TerminalSafe(path), text.size());
    Result<Building::Model> model =
        Building::ReadModelText(text, [&](std::size_t done) { progress.Advance(done); });
    if (!model) {
        progress.EndLine();
        std::cerr << "hostsim: --model: " << path << ": " << model.Error() << std::endl;
        return false;
    }
    const std::size_t members = model->curveMembers.size();
    project.SetModel(ProjectModel(std::move(model).Value()));
    progress.Finish("read the model " + TerminalSafe(path) + ": " + std::to_string(members) + " members");
    return true;
}

// Every cycle: the add-ons loaded, the commands run, the add-ons shut down; with several cycles, what
// the host still holds after each. The run's exit code.
int RunCycles(const HostSimOptions& options, const ScreenOptions& screenOptions,
              const std::map<Int32, std::string>& folders, ProjectDocument& project, Transcript& transcript,
              RunTimings& timings) {
    bool scriptRanClean = true;
    unsigned faults = 0;
    for (UInt32 cycle = 1; cycle <= options.cycles; ++cycle) {
        {
            HostSession session(options, std::map<Int32, std::string>(folders), project, transcript, timings,
                                std::cerr);
            std::string listError;
            for (const std::string& module : ModulesToLoad(options, listError)) {
                session.LoadAddOn(module);
            }
            if (!listError.empty()) {
                std::cerr << "hostsim: " << listError << std::endl;
            }
            // A person at the prompt would otherwise type commands at an add-on that is not there.
            if (!options.script && session.RejectedModuleCount() > 0) {
                std::cerr << "hostsim: no prompt: " << session.RejectedModuleCount()
                          << " module(s) could not be loaded (see above)" << std::endl;
            } else {
                scriptRanClean =
                    RunCommands(options, screenOptions, session, transcript, timings) && scriptRanClean;
            }
            session.Shutdown();
            faults += session.RejectedModuleCount() + session.ViolationCount();
        }
        if (options.cycles > 1) {
            // Every module is unloaded by now: what is left is the host's own.
            Json fields;
            fields["cycle"] = cycle;
            fields["xmlReferenceCount"] = GSXML::XercescInitializer::GetReferenceCount();
            fields["hostLiveBlocks"] = GS::MemoryManager::GetLiveBlockCount(GS::HostMemoryOwner);
            fields["hostLiveBytes"] = GS::MemoryManager::GetLiveByteCount(GS::HostMemoryOwner);
            fields["residentBytes"] = ResidentBytes();
            transcript.Write("cycle", fields);
        }
    }
    if (!scriptRanClean) {
        return ExitCode::ScriptError;
    }
    return faults == 0 ? ExitCode::Success : ExitCode::AddOnFault;
}

} // namespace

int RunHostSim(const std::vector<std::string>& arguments) {
    const FilteredTerminal filteredOutput(std::cout);
    const FilteredTerminal filteredErrors(std::cerr);
    const CommandLine::ProgramText program{"hostsim", HostSimUsage()};
    if (const auto request = CommandLine::StandardRequest(arguments); request != CommandLine::Request::Run) {
        return CommandLine::Answer(request, program, std::cout);
    }
    const ScreenOptionsParse screen = TakeScreenOptions(arguments);
    OptionsParse parsed = ParseHostSimOptions(screen.rest);
    if (!parsed.options || !screen.error.empty()) {
        return CommandLine::Refuse(program, screen.error.empty() ? parsed.error : screen.error, std::cerr);
    }
    const HostSimOptions& options = *parsed.options;
    if (!PrepareHome(options, screen.options)) {
        return ExitCode::Usage;
    }
    std::string folderError;
    const std::map<Int32, std::string> folders =
        PrepareSpecialFolders(options.home, options.specialFolders, folderError);
    if (!RecordsCanBeWritten(options)) {
        return ExitCode::Usage;
    }
    Transcript transcript = options.transcript ? Transcript(*options.transcript) : Transcript();
    if (options.transcript && !transcript.IsOpen()) {
        std::cerr << "hostsim: cannot write the transcript " << *options.transcript << std::endl;
        return ExitCode::Usage;
    }
    RunTimings timings = options.timings ? RunTimings(*options.timings) : RunTimings();
    if (options.timings && !timings.IsOpen()) {
        std::cerr << "hostsim: cannot write the timings " << *options.timings << std::endl;
        return ExitCode::Usage;
    }
    const CallTimerInstallation timerInstallation(timings);
    if (!folderError.empty()) {
        std::cerr << "hostsim: " << folderError << std::endl;
    }

    // A big project or model takes seconds to read: a person at a terminal sees how far it got.
    // std::clog is standard error without the terminal filter, which would show the line's own
    // carriage return as text; the paths in it are made safe one by one instead.
    CommandLine::ProgressLine progress(std::clog, ShowsProgress(options), "hostsim");
    const std::unique_ptr<ProjectDocument> project = OpenProject(options, progress, transcript);
    if (!project) {
        return ExitCode::ProjectRefused;
    }
    if (options.model && !HandOverModel(*options.model, progress, *project)) {
        return ExitCode::Usage;
    }
    // The project and the model are held typed now; the trees they were read through are gone.
    ReturnFreedMemory();
    SU::ProductVersionInfo::SetHostVersion(
        GS::UniString::FromUTF8(options.hostVersion.data(), static_cast<UIndex>(options.hostVersion.size())),
        options.buildNumber);
    return RunCycles(options, screen.options, folders, *project, transcript, timings);
}

} // namespace HostSim
