#pragma once

#include <optional>
#include <string>

namespace HostSim {

// A person's line at the prompt with editing (cursor keys, erase, the usual control keys) and the
// history of the lines typed before (up and down), where the terminal allows it: standard input and
// output are both a terminal and the platform has a line-editing library. Elsewhere (a pipe, a file,
// the Windows console, whose own line editing and history already serve a person) lines are read as
// plain text.
namespace LineEditor {

bool Available();
// The next line typed after `prompt`, without its line break; nothing at the end of the input.
std::optional<std::string> ReadLine(const std::string& prompt);

} // namespace LineEditor

} // namespace HostSim
