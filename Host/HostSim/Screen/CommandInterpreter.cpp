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
        console << file << ':' << line << ": " << message << ": " << text << std::endl;
    }
}

std::string CommandInterpreter::Execute(const ScriptCommand& command, bool& quit) {
    return std::visit(
        [&](const auto& what) -> std::string {
            using Kind = std::decay_t<decltype(what)>;
            if constexpr (std::is_same_v<Kind, MenuPick>) {
                session.PickMenu(what);
                return {};
            } else if constexpr (std::is_same_v<Kind, Quit>) {
                quit = true;
                return {};
            } else if (what.word == "save") {
                return session.SaveProject();
            } else {
                return "\"" + what.word + "\" needs an alert or a dialog, and none is on screen";
            }
        },
        command);
}

bool CommandInterpreter::Run(CommandSource& source) {
    while (std::optional<std::string> line = source.NextLine()) {
        ParsedLine parsed = ParseScriptLine(*line);
        std::string error = parsed.error;
        bool quit = false;
        if (!parsed.IsError() && parsed.command) {
            error = Execute(*parsed.command, quit);
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
