#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace HostSim {

// A person's line at the prompt with editing (cursor keys, erase, the usual control keys) and the
// history of the lines typed before (up and down), where the terminal allows it: standard input and
// output are both a terminal and the platform has a line-editing library. Elsewhere (a pipe, a file,
// the Windows console, whose own line editing and history already serve a person) lines are read as
// plain text.
//
// While a line is awaited, the text of the programs hostsim started can be relayed to the terminal
// above the prompt: the prompt line is cleared, the text written, and the prompt drawn again with
// what was typed so far, so that neither the prompt nor a half-typed line is lost under it.
namespace LineEditor {

bool Available();
// The next line typed after `prompt`, without its line break; nothing at the end of the input.
std::optional<std::string> ReadLine(const std::string& prompt);

// The started programs' text comes through `descriptor` (a non-blocking pipe, read but not closed
// here) from now on; -1 stops relaying. Answers the first bytes of a character the last descriptor
// still owed, for its owner to write before anything else.
std::string RelayAbovePrompt(int descriptor);
// For plain reading at a terminal: once `prompt` is shown, returns when something was typed,
// relaying the programs' text meanwhile. The terminal keeps what was typed of a line and shows it
// again only as it is echoed, so a relay may leave a half-typed line out of sight (it still counts).
// Returns at once when nothing is relayed.
void AwaitTyping(const std::string& prompt);

#ifndef _WIN32
// Writes all of `size` bytes to standard output, again after an interrupted write; stops when the
// terminal is gone. Only system calls: a process forked from a threaded hostsim may use it.
void WriteToTerminal(const char* text, std::size_t size);
#endif

} // namespace LineEditor

} // namespace HostSim
