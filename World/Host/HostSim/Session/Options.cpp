#include "Session/Options.hpp"

#include "ApplicationLauncher.hpp"
#include "ProgressLine.hpp"
#include "Record/PathText.hpp"
#include "Record/ReadableText.hpp"
#include "Services/ResultCode.hpp"

#include <filesystem>
#include <string_view>
#include <utility>

namespace HostSim {

namespace {

class OptionReader {
public:
    explicit OptionReader(const std::vector<std::string>& args) : arguments(args) {}

    bool AtEnd() const { return position >= arguments.size(); }
    const std::string& Next() { return arguments[position++]; }

    // The value after option `name`, or an error.
    std::optional<std::string> Value(const std::string& name, std::string& error) {
        if (AtEnd()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        return Next();
    }

private:
    const std::vector<std::string>& arguments;
    std::size_t position = 0;
};

std::string AddEmptySlot(HostSimOptions& options, const std::string& name) {
    std::optional<TableOperation> operation = TableOperationFromName(name);
    if (!operation) {
        return "--empty-slot: unknown operation \"" + name +
               "\" (MenuRegister, MenuHandlerInstall, Environment, Automate, CommandCall, ObjectCreate, "
               "ObjectRead, ObjectModify, ObjectFind)";
    }
    options.emptySlots.insert(*operation);
    return {};
}

constexpr const char* LaunchOperation = "IO::Process::ApplicationLauncher::Launch";

// `launcher=...` is short for the launcher's library operation, and `throw` for the code that makes
// the launcher throw instead of answering.
std::string ExpandLauncherRule(const std::string& text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
        return text;
    }
    std::string operation = text.substr(0, equals);
    std::string value = text.substr(equals + 1);
    if (operation == "launcher") {
        operation = LaunchOperation;
    }
    if (operation == LaunchOperation && (value == "throw" || value.starts_with("throw@"))) {
        value = FormatResultCodeHex(IO::Process::ThrowRequested) + value.substr(5);
    }
    return operation + "=" + value;
}

std::string AddFailRule(HostSimOptions& options, const std::string& text) {
    Result<FailRule> parsed = ParseFailRule(ExpandLauncherRule(text));
    if (!parsed) {
        return "--fail: " + parsed.Error();
    }
    if (std::optional<TableOperation> operation = TableOperationFromName(parsed->operation)) {
        parsed->operation = std::string(InfoOf(*operation).name);
    }
    options.failRules.push_back(std::move(parsed).Value());
    return {};
}

std::string AddSpecialFolder(HostSimOptions& options, const std::string& text) {
    const std::size_t equals = text.find('=');
    std::optional<Int64> number =
        equals == std::string::npos
            ? std::nullopt
            : ParseSigned(std::string_view(text).substr(0, equals), INT32_MIN, INT32_MAX);
    if (!number || equals + 1 >= text.size()) {
        return "--special-folder: expected NUMBER=PATH, got \"" + text + "\"";
    }
    // A relative folder would be found from wherever hostsim happens to run, and a path made in it
    // could start with a dash that the program it is handed reads as an option.
    if (!PathFromUtf8(text.substr(equals + 1)).is_absolute()) {
        return "--special-folder: the folder must be an absolute path, got \"" + text + "\"";
    }
    options.specialFolders[static_cast<Int32>(*number)] = text.substr(equals + 1);
    return {};
}

std::string AddSafFailure(HostSimOptions& options, const std::string& text) {
    const std::size_t equals = text.find('=');
    std::optional<GSErrCode> code =
        equals == 4 ? ParseResultCode(std::string_view(text).substr(equals + 1)) : std::nullopt;
    if (!code) {
        return "--saf-fail: expected CMD=CODE with a four-letter command, got \"" + text + "\"";
    }
    UInt32 command = 0;
    for (std::size_t index = 0; index < 4; ++index) {
        command = (command << 8) | static_cast<unsigned char>(text[index]);
    }
    options.safFailures.emplace_back(command, *code);
    return {};
}

std::string SetCycles(HostSimOptions& options, const std::string& text) {
    std::optional<UInt64> cycles = ParseUnsigned(text, UINT32_MAX);
    if (!cycles || *cycles == 0) {
        return "--cycles: \"" + text + "\" is not a number of cycles (1 or more)";
    }
    options.cycles = static_cast<UInt32>(*cycles);
    return {};
}

// `--home` directly before a module path (the folder forgotten) would make a folder inside the module.
std::string SetHome(HostSimOptions& options, const std::string& text) {
    std::error_code failure;
    if (std::filesystem::is_regular_file(PathFromUtf8(text), failure) || text.ends_with(".apx")) {
        return "--home: \"" + text + "\" is a file, not a data folder (--home DIR comes before the modules)";
    }
    options.home = text;
    return {};
}

std::string SetBuildNumber(HostSimOptions& options, const std::string& text) {
    std::optional<Int64> number = ParseSigned(text, INT32_MIN, INT32_MAX);
    if (!number) {
        return "--build: \"" + text + "\" is not a build number";
    }
    options.buildNumber = static_cast<Int32>(*number);
    return {};
}

// Handles one option that takes a value; false when `name` is not one of them.
bool ReadValueOption(const std::string& name, OptionReader& reader, HostSimOptions& options,
                     std::string& error) {
    static const std::set<std::string> valueOptions{
        "--home",     "--transcript",     "--script",  "--addons",       "--empty-slot",
        "--fail",     "--special-folder", "--project", "--host-version", "--build",
        "--saf-fail", "--model",          "--cycles",  "--timings"};
    if (!valueOptions.contains(name)) {
        return false;
    }
    std::optional<std::string> value = reader.Value(name, error);
    if (!value) {
        return true;
    }
    if (name == "--home") {
        error = SetHome(options, *value);
    } else if (name == "--transcript") {
        options.transcript = *value;
    } else if (name == "--timings") {
        options.timings = *value;
    } else if (name == "--script") {
        options.script = *value;
    } else if (name == "--addons") {
        options.addonsFolder = *value;
    } else if (name == "--empty-slot") {
        error = AddEmptySlot(options, *value);
    } else if (name == "--fail") {
        error = AddFailRule(options, *value);
    } else if (name == "--project") {
        options.project = *value;
    } else if (name == "--model") {
        options.model = *value;
    } else if (name == "--host-version") {
        options.hostVersion = *value;
    } else if (name == "--build") {
        error = SetBuildNumber(options, *value);
    } else if (name == "--saf-fail") {
        error = AddSafFailure(options, *value);
    } else if (name == "--cycles") {
        error = SetCycles(options, *value);
    } else {
        error = AddSpecialFolder(options, *value);
    }
    return true;
}

} // namespace

OptionsParse ParseHostSimOptions(const std::vector<std::string>& arguments) {
    HostSimOptions options;
    OptionReader reader(arguments);
    while (!reader.AtEnd()) {
        const std::string& argument = reader.Next();
        std::string error;
        if (argument == "--help" || argument == "-h") {
            return {std::nullopt, {}, true};
        } else if (argument == "--progress") {
            options.progress = true;
        } else if (argument == "--no-release") {
            options.noRelease = true;
        } else if (argument == "--entry-before-table") {
            options.entryBeforeTable = true;
        } else if (ReadValueOption(argument, reader, options, error)) {
            if (!error.empty()) {
                return {std::nullopt, error, false};
            }
        } else if (argument.starts_with("--")) {
            return {std::nullopt, "unknown option " + argument, false};
        } else {
            options.modules.push_back(argument);
        }
    }
    return {std::move(options), {}, false};
}

bool ShowsProgress(const HostSimOptions& options) {
    return options.progress || CommandLine::StandardErrorIsTerminal();
}

const char* HostSimUsage() {
    return "usage: hostsim [options] [MODULE.apx ...]\n"
           "       hostsim registry --home DIR set-string|set-dword|delete-key|delete-value|get ...\n"
           "       hostsim user-data --home DIR set NAME HEXBYTES | get NAME\n"
           "Runs the host: loads the add-on modules, then reads commands from the terminal (a prompt) or\n"
           "from --script FILE, and shuts down at 'quit' or at the end of the script. 'hostsim registry\n"
           "--help' and 'hostsim user-data --help' explain the two tools.\n"
           "options (in any place):\n"
           "  --home DIR               data folder (made if missing; default ./HostSimHome); the registry\n"
           "                           is DIR/Registry, a saved workbook lands in DIR/Export\n"
           "  --addons DIR             load every *.apx in DIR, sorted by name\n"
           "  --project FILE           the open project (made by the first save if missing)\n"
           "  --model FILE             the open project's building model comes from FILE\n"
           "  --script FILE            read commands from FILE instead of the terminal\n"
           "  --transcript FILE        write one JSON event per line to FILE\n"
           "  --timings FILE           write the in-run times of module starts and menu commands to FILE\n"
           "  --snapshots DIR          draw every alert and dialog shown as an SVG picture into DIR\n"
           "  --user-data NAME=HEX     store a dialog's user data record before any add-on loads\n"
           "                           (repeatable; HEX: the record's bytes, two hex digits each)\n"
           "  --progress               show progress on long work even when the output is no terminal\n"
           "  --empty-slot OP          leave table operation OP empty (repeatable)\n"
           "  --fail OP=CODE[@N]       make OP answer CODE (every call, or only the N-th);\n"
           "                           launcher=CODE or launcher=throw for the application launcher\n"
           "  --special-folder N=PATH  the folder that 'GSPF' answers for number N\n"
           "  --host-version V         the host's short version string (default 27)\n"
           "  --build N                the host's build number (default 5000)\n"
           "  --saf-fail CMD=CODE      the SAF add-on answers CODE to command CMD (e.g. GTRS=7)\n"
           "  --cycles N               load, run the script, shut down and unload N times (default 1)\n"
           "  --no-release             unload started add-ons without calling release\n"
           "  --entry-before-table     call every entry point once before the function table is set\n"
           "  -h, --help               this text\n"
           "  --version                the version\n"
           "commands (at the prompt or in a script; 'help' lists them at the prompt):\n"
           "  menu LIST ITEM           pick item ITEM (from 1) of the add-on menu LIST\n"
           "  menu LIST ITEM to LIST2  hand that pick to the handler of list LIST2 (a probe)\n"
           "  save                     save the project (with --project) and its add-on data\n"
           "  quit                     shut down (at the prompt, asks again if changes are unsaved)\n"
           "  help                     the commands, and those the alert or dialog on screen accepts\n"
           "  while an alert is up:    button N, show\n"
           "  while a dialog is up:    select ITEM ENTRY, click ITEM, check ITEM 0|1, resize DX DY,\n"
           "                           close RESPONSE, show\n"
           "exit codes: 0 done, 1 a module could not be used or an add-on broke the rules, 2 a command\n"
           "could not be used, 3 the --project file is not a usable project, 64 a wrong command line\n";
}

} // namespace HostSim
