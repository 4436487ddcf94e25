#include "Screen/LineEditor.hpp"

namespace HostSim::LineEditor {

// The Windows console edits a line and keeps its history itself (cursor keys, F7) while a program
// reads its standard input line by line: plain reading gives a person both.
bool Available() {
    return false;
}

std::optional<std::string> ReadLine(const std::string&) {
    return std::nullopt;
}

// The started programs keep the console (ProgramOutputRelayWindows.cpp): nothing is relayed.
std::string RelayAbovePrompt(int) {
    return {};
}

void AwaitTyping(const std::string&) {}

} // namespace HostSim::LineEditor
