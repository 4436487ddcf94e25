#pragma once

#include "GSTypes.hpp"

#include <string>
#include <variant>
#include <vector>

namespace HostSim {

// What the user can do to an alert or dialog on screen, one command line each:
//   button N               (alert)
//   select ITEM ENTRY, click ITEM, check ITEM 0|1, resize DX DY, close RESPONSE   (dialog)
//   show                   (either: draw it again)
struct PressButton {
    Int16 button = 0;
};
struct SelectEntry {
    Int16 item = 0;
    Int16 entry = 0;
};
struct ClickItem {
    Int16 item = 0;
};
struct CheckItem {
    Int16 item = 0;
    bool checked = false;
};
struct ResizeDialog {
    Int16 dx = 0;
    Int16 dy = 0;
};
struct CloseDialog {
    Int32 response = 0;
};
struct ShowScreen {};

using ScreenAction =
    std::variant<PressButton, SelectEntry, ClickItem, CheckItem, ResizeDialog, CloseDialog, ShowScreen>;

enum class Screen { Alert, Dialog };

// One command line read while `screen` is up: nothing (blank or comment), an action, or an error.
// A command that belongs to the other screen, or to the top level, is an error that names it, so that
// the caller can add what is on screen.
struct ScreenLine {
    bool empty = false;
    ScreenAction action;
    std::string error;
    bool IsError() const { return !error.empty(); }
};

ScreenLine ParseScreenLine(const std::string& line, Screen screen);

// What `screen` accepts, as its drawing and a refused command show it.
const char* AcceptedCommands(Screen screen);

// True for the word `help`, which asks for the commands instead of acting.
bool IsHelpLine(const std::string& line);

// The command as its canonical text ("select 4 2").
std::string DescribeAction(const ScreenAction& action);

} // namespace HostSim
