#pragma once

#include <string>
#include <string_view>

namespace HostSim {

// A started program's text on its way to the terminal while hostsim's prompt is on screen. It comes
// in the pieces the pipe gives: a character may be split between two of them, and the last line may
// have no line end yet (a program that writes none, or has not finished the line).
class RelayedText {
public:
    // What the terminal is shown for `piece`: the text up to its last whole character, with a line
    // end added where it stopped mid-line, so that the prompt drawn after it has a line of its own
    // (the rest of that program's line then starts on the next one). Empty when no whole character
    // has come yet.
    std::string Take(std::string_view piece);
    // The first bytes of a character still waited for, given up: no more text will come.
    std::string Rest();

private:
    std::string held;
};

} // namespace HostSim
