#include "Screen/ScriptCommand.hpp"

#include "Services/ResultCode.hpp"

#include <array>

namespace HostSim {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Words that the command language knows but that need an alert or a dialog on screen, or a project
// to save; this host build has none of them up yet.
bool IsScreenWord(const std::string& word) {
    static const std::array<std::string_view, 9> words{"save",   "button", "select", "click", "check",
                                                       "resize", "close",  "show",   "help"};
    for (std::string_view known : words) {
        if (word == known) {
            return true;
        }
    }
    return false;
}

ParsedLine ParseMenu(const std::vector<std::string>& words) {
    const bool probe = words.size() == 5 && words[3] == "to";
    if (words.size() != 3 && !probe) {
        return {std::nullopt, "expected \"menu LIST ITEM\" or \"menu LIST ITEM to LIST\""};
    }
    std::optional<Int64> list = ParseSigned(words[1], INT16_MIN, INT16_MAX);
    std::optional<Int64> item = ParseSigned(words[2], INT32_MIN, INT32_MAX);
    if (!list) {
        return {std::nullopt, "menu list \"" + words[1] + "\" is not a 16-bit number"};
    }
    if (!item) {
        return {std::nullopt, "menu item \"" + words[2] + "\" is not a 32-bit number"};
    }
    MenuPick pick{static_cast<Int16>(*list), static_cast<Int32>(*item), std::nullopt};
    if (probe) {
        std::optional<Int64> target = ParseSigned(words[4], INT16_MIN, INT16_MAX);
        if (!target) {
            return {std::nullopt, "menu list \"" + words[4] + "\" is not a 16-bit number"};
        }
        pick.deliverTo = static_cast<Int16>(*target);
    }
    return {pick, {}};
}

} // namespace

std::vector<std::string> SplitWords(std::string_view line) {
    const std::size_t comment = line.find('#');
    if (comment != std::string_view::npos) {
        line = line.substr(0, comment);
    }
    std::vector<std::string> words;
    std::size_t position = 0;
    while (position < line.size()) {
        while (position < line.size() && IsBlank(line[position])) {
            ++position;
        }
        const std::size_t start = position;
        while (position < line.size() && !IsBlank(line[position])) {
            ++position;
        }
        if (position > start) {
            words.emplace_back(line.substr(start, position - start));
        }
    }
    return words;
}

ParsedLine ParseScriptLine(std::string_view line) {
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) {
        return {};
    }
    if (words[0] == "menu") {
        return ParseMenu(words);
    }
    if (words[0] == "quit") {
        if (words.size() != 1) {
            return {std::nullopt, "\"quit\" takes no arguments"};
        }
        return {Quit{}, {}};
    }
    if (IsScreenWord(words[0])) {
        std::vector<std::string> arguments(words.begin() + 1, words.end());
        return {ScreenCommand{words[0], std::move(arguments)}, {}};
    }
    return {std::nullopt,
            "unknown command \"" + words[0] + "\" (the commands: menu LIST ITEM, save, quit, help)"};
}

} // namespace HostSim
