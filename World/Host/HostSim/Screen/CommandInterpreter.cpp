#include "Screen/CommandInterpreter.hpp"

#include <type_traits>

namespace HostSim {

CommandInterpreter::CommandInterpreter(HostSession& hostSession, Transcript& output,
                                       std::ostream& consoleStream)
    : session(hostSession), transcript(output), console(consoleStream) {}

void CommandInterpreter::ReportError(const std::string& file, unsigned line, const std::string& message,
                                     const std::string& text) {
    Json fields;
    fields["file"] = file;
    fields["line"] = line;
    fields["message"] = message;
    fields["text"] = text;
    transcript.Write("error", fields);
    // Line 0 is the source itself (a script that cannot be opened): no line and no text to show.
    if (line == 0) {
        console << "hostsim: " << file << ": " << message << std::endl;
    } else {
        console << file << ':' << line << ": " << message << (text.empty() ? "" : ": " + text) << std::endl;
    }
}

namespace {

std::string Listed(const std::vector<std::string>& changes) {
    std::string text;
    for (const std::string& change : changes) {
        text += (text.empty() ? "" : ", ") + change;
    }
    return text;
}

} // namespace

bool CommandInterpreter::Quit(const CommandSource& source) {
    const std::vector<std::string> changes = session.UnsavedChanges();
    if (!changes.empty() && source.IsInteractive() && !quitWarned) {
        quitWarned = true;
        console << "hostsim: the project has unsaved changes: " << Listed(changes)
                << "\nhostsim: 'save' keeps them; 'quit' again drops them" << std::endl;
        return false;
    }
    if (!changes.empty()) {
        console << "hostsim: quit: dropped the unsaved changes: " << Listed(changes) << std::endl;
    } else if (source.IsInteractive()) {
        console << "hostsim: quit" << std::endl;
    }
    return true;
}

std::string CommandInterpreter::Execute(const ScriptCommand& command, const CommandSource& source,
                                        bool& quit) {
    if (!std::holds_alternative<HostSim::Quit>(command)) {
        quitWarned = false;
    }
    return std::visit(
        [&](const auto& what) -> std::string {
            using Kind = std::decay_t<decltype(what)>;
            if constexpr (std::is_same_v<Kind, MenuPick>) {
                // A script may hand a handler an item of no menu on purpose (a probe); a person is
                // told which items there are.
                if (std::string problem = session.MenuItemProblem(what);
                    !problem.empty() && source.IsInteractive() && !what.deliverTo) {
                    return problem;
                }
                session.PickMenu(what);
                return {};
            } else if constexpr (std::is_same_v<Kind, HostSim::Quit>) {
                quit = Quit(source);
                return {};
            } else if (what.word == "save") {
                return session.SaveProject();
            } else if (what.word == "help") {
                console << HelpText() << session.MenuSummary() << std::flush;
                return {};
            } else {
                return "\"" + what.word + "\" needs an alert or a dialog, and none is on screen";
            }
        },
        command);
}

const char* CommandInterpreter::HelpText() {
    return "commands:\n"
           "  menu LIST ITEM   pick an item of an add-on's menu (the menus are below)\n"
           "  save             save the project (with --project): the model and the add-ons' data\n"
           "  quit             shut down (asks again when the project has unsaved changes)\n"
           "  help             this text\n"
           "while an alert is up: button N, show, help; while a dialog is up: select ITEM ENTRY,\n"
           "click ITEM, check ITEM 0|1, resize DX DY, close RESPONSE, show, help\n"
           "menus:\n";
}

bool CommandInterpreter::Run(CommandSource& source) {
    while (std::optional<std::string> line = source.NextLine()) {
        ParsedLine parsed = ParseScriptLine(*line);
        std::string error = parsed.error;
        bool quit = false;
        if (!parsed.IsError() && parsed.command) {
            error = Execute(*parsed.command, source, quit);
        }
        if (!error.empty()) {
            ReportError(source.Name(), source.LineNumber(), error, *line);
            if (!source.IsInteractive()) {
                return false;
            }
        }
        if (quit) {
            break;
        }
    }
    return true;
}

} // namespace HostSim
