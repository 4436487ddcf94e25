#pragma once

#include "GSTypes.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace HostSim {

// `menu LIST ITEM`: the user picks item ITEM (from 1) of the menu whose texts are list LIST. The
// probe form `menu LIST ITEM to OTHER` hands that record to the handler installed for list OTHER,
// to see what a handler does with a command that is not its own.
struct MenuPick {
    Int16 list = 0;
    Int32 item = 0;
    std::optional<Int16> deliverTo;
};

struct Quit {};

// A command that only fits while an alert or dialog is on screen, or a later top-level command
// (`save`); kept whole so that the error can name what is on screen.
struct ScreenCommand {
    std::string word;
    std::vector<std::string> arguments;
};

using ScriptCommand = std::variant<MenuPick, Quit, ScreenCommand>;

// One line read: nothing to do (blank or comment), a command, or an error saying why it is unusable.
struct ParsedLine {
    std::optional<ScriptCommand> command;
    std::string error;
    bool IsError() const { return !error.empty(); }
};

ParsedLine ParseScriptLine(std::string_view line);

// Splits at runs of blanks after dropping a `#` comment and a trailing carriage return.
std::vector<std::string> SplitWords(std::string_view line);

} // namespace HostSim
