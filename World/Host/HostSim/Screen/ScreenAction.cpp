#include "Screen/ScreenAction.hpp"

#include "Screen/ScriptCommand.hpp"
#include "Services/ResultCode.hpp"

#include <cstdint>

namespace HostSim {

namespace {

const char* ScreenName(Screen screen) {
    return screen == Screen::Alert ? "an alert" : "a dialog";
}

std::string Quoted(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return "'" + text + "'";
}

// Parses the arguments after the command word as 16-bit numbers, or says what is wrong.
bool Numbers(const std::vector<std::string>& words, const char* form, std::vector<Int64>& values,
             std::string& error, Int64 minValue = INT16_MIN, Int64 maxValue = INT16_MAX) {
    if (words.size() != values.size() + 1) {
        error = Quoted(words) + ": expected \"" + form + "\"";
        return false;
    }
    for (std::size_t index = 0; index < values.size(); ++index) {
        std::optional<Int64> value = ParseSigned(words[index + 1], minValue, maxValue);
        if (!value) {
            error = Quoted(words) + ": \"" + words[index + 1] + "\" is not a number of \"" + form + "\"";
            return false;
        }
        values[index] = *value;
    }
    return true;
}

Int16 Short(Int64 value) {
    return static_cast<Int16>(value);
}

ScreenLine DialogLine(const std::vector<std::string>& words) {
    ScreenLine line;
    const std::string& word = words[0];
    std::vector<Int64> values;
    if (word == "select") {
        values.resize(2);
        if (Numbers(words, "select ITEM ENTRY", values, line.error)) {
            line.action = SelectEntry{Short(values[0]), Short(values[1])};
        }
    } else if (word == "click") {
        values.resize(1);
        if (Numbers(words, "click ITEM", values, line.error)) {
            line.action = ClickItem{Short(values[0])};
        }
    } else if (word == "check") {
        values.resize(2);
        if (Numbers(words, "check ITEM 0|1", values, line.error)) {
            if (values[1] != 0 && values[1] != 1) {
                line.error = Quoted(words) + ": the state is 0 or 1";
            } else {
                line.action = CheckItem{Short(values[0]), values[1] == 1};
            }
        }
    } else if (word == "resize") {
        values.resize(2);
        if (Numbers(words, "resize DX DY", values, line.error)) {
            line.action = ResizeDialog{Short(values[0]), Short(values[1])};
        }
    } else {
        values.resize(1);
        if (Numbers(words, "close RESPONSE", values, line.error, 1, INT32_MAX)) {
            line.action = CloseDialog{static_cast<Int32>(values[0])};
        }
    }
    return line;
}

bool IsDialogWord(const std::string& word) {
    return word == "select" || word == "click" || word == "check" || word == "resize" || word == "close";
}

} // namespace

const char* AcceptedCommands(Screen screen) {
    return screen == Screen::Alert
               ? "button N, show, help"
               : "select ITEM ENTRY, click ITEM, check ITEM 0|1, resize DX DY, close RESPONSE, show, help";
}

bool IsHelpLine(const std::string& line) {
    const std::vector<std::string> words = SplitWords(line);
    return words.size() == 1 && words[0] == "help";
}

ScreenLine ParseScreenLine(const std::string& text, Screen screen) {
    const std::vector<std::string> words = SplitWords(text);
    ScreenLine line;
    if (words.empty()) {
        line.empty = true;
        return line;
    }
    const std::string& word = words[0];
    if (word == "show") {
        if (words.size() != 1) {
            line.error = "'show' takes no arguments";
        }
        line.action = ShowScreen{};
        return line;
    }
    if (screen == Screen::Alert && word == "button") {
        std::vector<Int64> values(1);
        if (Numbers(words, "button N", values, line.error, 1, 3)) {
            line.action = PressButton{Short(values[0])};
        }
        return line;
    }
    if (screen == Screen::Dialog && IsDialogWord(word)) {
        return DialogLine(words);
    }
    // A word no screen and no prompt knows (a typing slip, "CLICK") is not one "for elsewhere".
    const bool knownElsewhere =
        word == "button" || IsDialogWord(word) || word == "menu" || word == "save" || word == "quit";
    line.error = knownElsewhere
                     ? Quoted(words) + " but " + ScreenName(screen) + " is up"
                     : "unknown command " + Quoted(words) + " while " + ScreenName(screen) + " is up";
    return line;
}

std::string DescribeAction(const ScreenAction& action) {
    struct Describer {
        std::string operator()(const PressButton& a) const { return "button " + std::to_string(a.button); }
        std::string operator()(const SelectEntry& a) const {
            return "select " + std::to_string(a.item) + " " + std::to_string(a.entry);
        }
        std::string operator()(const ClickItem& a) const { return "click " + std::to_string(a.item); }
        std::string operator()(const CheckItem& a) const {
            return "check " + std::to_string(a.item) + (a.checked ? " 1" : " 0");
        }
        std::string operator()(const ResizeDialog& a) const {
            return "resize " + std::to_string(a.dx) + " " + std::to_string(a.dy);
        }
        std::string operator()(const CloseDialog& a) const { return "close " + std::to_string(a.response); }
        std::string operator()(const ShowScreen&) const { return "show"; }
    };
    return std::visit(Describer{}, action);
}

} // namespace HostSim
