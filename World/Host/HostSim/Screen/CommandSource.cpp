#include "Screen/CommandSource.hpp"

#include "Screen/LineEditor.hpp"

#include <utility>

namespace HostSim {

namespace {

constexpr const char* PromptText = "hostsim> ";

} // namespace

CommandSource::CommandSource(std::istream& in, std::string sourceName, std::ostream* promptStream)
    : input(in), name(std::move(sourceName)), prompt(promptStream) {}

std::optional<std::string> CommandSource::NextLine() {
    if (stopped) {
        return std::nullopt;
    }
    std::string line;
    if (editLines) {
        *prompt << std::flush; // what was said before the prompt comes before it
        std::optional<std::string> typed = LineEditor::ReadLine(PromptText);
        if (!typed) {
            return std::nullopt;
        }
        line = std::move(*typed);
    } else {
        if (prompt != nullptr) {
            *prompt << PromptText << std::flush;
            // A started program's text is shown above the prompt while the line is awaited.
            LineEditor::AwaitTyping(PromptText);
        }
        if (!std::getline(input, line)) {
            return std::nullopt;
        }
    }
    ++lineNumber;
    // Editors that save UTF-8 with a byte-order mark put it before the first command.
    if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) {
        line.erase(0, 3);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

} // namespace HostSim
