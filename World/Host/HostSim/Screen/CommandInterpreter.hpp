#pragma once

#include "Record/Transcript.hpp"
#include "Screen/CommandSource.hpp"
#include "Session/HostSession.hpp"

#include <ostream>
#include <string>

namespace HostSim {

// Runs command lines against a session until `quit` or the end of the input. A line that cannot be
// used is an "error" event naming the source and line; a script stops there, a person at the
// terminal may go on.
class CommandInterpreter {
public:
    CommandInterpreter(HostSession& session, Transcript& transcript, std::ostream& console);

    // False when a script stopped at an unusable line.
    bool Run(CommandSource& source);
    void ReportError(const std::string& file, unsigned line, const std::string& message,
                     const std::string& text);
    const HostSession& Session() const { return session; }
    // What `help` prints before the menus.
    static const char* HelpText();

private:
    // Empty when the command ran; otherwise why it cannot run now.
    std::string Execute(const ScriptCommand& command, const CommandSource& source, bool& quit);
    // `quit`: false when a person at the terminal is asked again about unsaved changes.
    bool Quit(const CommandSource& source);

    // A person typed `quit` once with unsaved changes and was told; the next `quit` leaves.
    bool quitWarned = false;

    HostSession& session;
    Transcript& transcript;
    std::ostream& console;
};

} // namespace HostSim
