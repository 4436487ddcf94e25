#include "FuzzCheck.hpp"
#include "Screen/CommandSource.hpp"
#include "Screen/ScriptCommand.hpp"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// hostsim's script reader: the input is a script file, read line by line as hostsim reads it and each
// line parsed as a command. A command that parses is written back in its canonical form (single
// spaces, no comment) and must parse to the same command.
namespace {

std::string Canonical(const HostSim::ScriptCommand& command) {
    if (const auto* pick = std::get_if<HostSim::MenuPick>(&command)) {
        std::string text = "menu " + std::to_string(pick->list) + " " + std::to_string(pick->item);
        if (pick->deliverTo) {
            text += " to " + std::to_string(*pick->deliverTo);
        }
        return text;
    }
    if (std::holds_alternative<HostSim::Quit>(command)) {
        return "quit";
    }
    const auto& screen = std::get<HostSim::ScreenCommand>(command);
    std::string text = screen.word;
    for (const std::string& argument : screen.arguments) {
        text += " " + argument;
    }
    return text;
}

bool SameCommand(const HostSim::ScriptCommand& left, const HostSim::ScriptCommand& right) {
    if (left.index() != right.index()) {
        return false;
    }
    if (const auto* pick = std::get_if<HostSim::MenuPick>(&left)) {
        const auto& other = std::get<HostSim::MenuPick>(right);
        return pick->list == other.list && pick->item == other.item && pick->deliverTo == other.deliverTo;
    }
    if (const auto* screen = std::get_if<HostSim::ScreenCommand>(&left)) {
        const auto& other = std::get<HostSim::ScreenCommand>(right);
        return screen->word == other.word && screen->arguments == other.arguments;
    }
    return true;
}

void CheckLine(const std::string& line) {
    for (const std::string& word : HostSim::SplitWords(line)) {
        FUZZ_REQUIRE(!word.empty() && word.find_first_of(" \t#") == std::string::npos,
                     "a word is not empty and holds no blank or comment mark");
    }
    const HostSim::ParsedLine parsed = HostSim::ParseScriptLine(line);
    if (parsed.IsError()) {
        FUZZ_REQUIRE(!parsed.command, "an unusable line gives no command");
        return;
    }
    if (!parsed.command) {
        return;
    }
    const HostSim::ParsedLine again = HostSim::ParseScriptLine(Canonical(*parsed.command));
    FUZZ_REQUIRE(again.command && SameCommand(*parsed.command, *again.command),
                 "a command written back in its canonical form parses to the same command");
}

// The lines of a script as a reader of the file sees them: a UTF-8 byte-order mark at the start
// skipped, split at LF, a last line without LF included, one CR before the LF (a CR LF line end)
// dropped.
std::vector<std::string> LinesOf(std::string_view text) {
    std::vector<std::string> lines;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
        if (text.empty()) {
            lines.emplace_back(); // the mark alone is one empty line
        }
    }
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> expected = LinesOf(text);
    std::istringstream script(text);
    HostSim::CommandSource source(script, "fuzz.script", nullptr);
    std::size_t count = 0;
    while (const std::optional<std::string> line = source.NextLine()) {
        FUZZ_REQUIRE(count < expected.size() && *line == expected[count], "each line is the file's line");
        FUZZ_REQUIRE(source.LineNumber() == ++count, "lines are numbered from 1 without gaps");
        CheckLine(*line);
    }
    FUZZ_REQUIRE(count == expected.size(), "every line of the file is read");
    return 0;
}
