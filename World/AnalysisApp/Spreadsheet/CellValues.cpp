#include "Spreadsheet/CellValues.hpp"

#include "Spreadsheet/HeaderKey.hpp"

#include <charconv>
#include <cmath>

namespace AnalysisApp {
namespace {

bool IsDigit(char character) {
    return character >= '0' && character <= '9';
}

bool IsHex(char character) {
    return IsDigit(character) || (character >= 'a' && character <= 'f') ||
           (character >= 'A' && character <= 'F');
}

bool Digits(std::string_view text, std::size_t from, std::size_t count) {
    if (from + count > text.size()) {
        return false;
    }
    for (std::size_t index = from; index < from + count; ++index) {
        if (!IsDigit(text[index])) {
            return false;
        }
    }
    return true;
}

// "12", "-0.5": digits with a sign and a decimal part at most, the form nearly every number cell
// has; from_chars reads the rest.
bool IsPlainDecimal(std::string_view text) {
    constexpr std::size_t FiniteDigits = 300; // any number of fewer digits is finite as a double
    std::size_t at = !text.empty() && text.front() == '-' ? 1 : 0;
    const std::size_t integer = at;
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    if (at == integer || text.size() > FiniteDigits) {
        return false;
    }
    if (at < text.size() && text[at] == '.') {
        const std::size_t fraction = ++at;
        while (at < text.size() && IsDigit(text[at])) {
            ++at;
        }
        if (at == fraction) {
            return false;
        }
    }
    return at == text.size();
}

} // namespace

bool IsNumber(std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) {
        return false;
    }
    if (IsPlainDecimal(text)) {
        return true;
    }
    // from_chars takes no leading '+', which a cell may hold.
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && std::isfinite(value) &&
           text.find_first_of("nNiI") == std::string_view::npos;
}

std::optional<long long> WholeNumber(std::string_view text) {
    text = Trimmed(text);
    if (!IsNumber(text)) {
        return std::nullopt;
    }
    double value = 0.0;
    std::from_chars(text.data() + (text.front() == '+' ? 1 : 0), text.data() + text.size(), value);
    if (value != std::floor(value) || std::fabs(value) > 1e15) {
        return std::nullopt;
    }
    return static_cast<long long>(value);
}

std::string_view TrimmedItem(std::string_view item) {
    return Trimmed(item);
}

std::vector<std::string_view> ListItems(std::string_view list) {
    std::vector<std::string_view> items;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        items.push_back(Trimmed(list.substr(start, end - start)));
        start = end + 1;
    }
    return items;
}

bool LooksLikeDate(std::string_view text) {
    text = Trimmed(text);
    const bool date = Digits(text, 0, 4) && text.size() >= 10 && text[4] == '-' && Digits(text, 5, 2) &&
                      text[7] == '-' && Digits(text, 8, 2);
    if (!date || text.size() == 10) {
        return date;
    }
    const std::string_view time = text.substr(10);
    const bool minutes = (time.size() == 6 || time.size() == 9) && (time[0] == ' ' || time[0] == 'T') &&
                         Digits(time, 1, 2) && time[3] == ':' && Digits(time, 4, 2);
    return minutes && (time.size() == 6 || (time[6] == ':' && Digits(time, 7, 2)));
}

bool LooksLikeGuid(std::string_view text) {
    text = Trimmed(text);
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
        text = text.substr(1, 36);
    }
    if (text.size() != 36) {
        return false;
    }
    for (std::size_t index = 0; index < text.size(); ++index) {
        const bool dash = index == 8 || index == 13 || index == 18 || index == 23;
        if (dash ? text[index] != '-' : !IsHex(text[index])) {
            return false;
        }
    }
    return true;
}

bool IsVersionNumber(std::string_view text) {
    bool digitBefore = false;
    for (const char character : text) {
        if (IsDigit(character)) {
            digitBefore = true;
        } else if (character == '.' && digitBefore) {
            digitBefore = false;
        } else {
            return false;
        }
    }
    return digitBefore;
}

bool IsArgbColor(std::string_view text) {
    text = Trimmed(text);
    if (text.size() != 9 || text.front() != '#') {
        return false;
    }
    for (std::size_t index = 1; index < text.size(); ++index) {
        if (!IsHex(text[index])) {
            return false;
        }
    }
    return true;
}

std::string UnitKey(std::string_view unit) {
    std::string key;
    for (std::size_t index = 0; index < unit.size(); ++index) {
        const std::string_view rest = unit.substr(index);
        if (rest.substr(0, 2) == "\xC2\xB2") { // superscript two
            key += '2';
            ++index;
        } else if (rest.substr(0, 2) == "\xC2\xB3") { // superscript three
            key += '3';
            ++index;
        } else if (unit[index] != ' ' && unit[index] != '^') {
            key += unit[index];
        }
    }
    return Folded(key);
}

std::optional<std::size_t> NodesOfSegments(std::string_view segments) {
    std::size_t nodes = 1;
    for (const std::string_view item : ListItems(segments)) {
        const std::string kind = Folded(item);
        std::size_t spanNodes = 0;
        if (kind == "line") {
            spanNodes = 2;
        } else if (kind == "circular arc" || kind == "parabolic arc") {
            spanNodes = 3;
        } else if (kind == "bezier") {
            spanNodes = 4;
        } else if (kind.rfind("spline-", 0) == 0) {
            const std::optional<long long> count = WholeNumber(std::string_view(kind).substr(7));
            if (!count || *count < 2 || *count > 100000) {
                return std::nullopt;
            }
            spanNodes = static_cast<std::size_t>(*count);
        } else {
            return std::nullopt;
        }
        nodes += spanNodes - 1;
    }
    return nodes;
}

bool IsVector(std::string_view text) {
    text = Trimmed(text);
    if (text.size() < 2 || text.front() != '(' || text.back() != ')') {
        return false;
    }
    std::size_t numbers = 0;
    bool allNumbers = true;
    ForEachItemOf(text.substr(1, text.size() - 2), ';', [&](std::string_view item) {
        ++numbers;
        allNumbers = allNumbers && IsNumber(item);
    });
    return allNumbers && numbers == 3;
}

std::string JoinChoices(const std::vector<std::string>& choices) {
    // A long enumeration (shapes, national codes) is named by its start: the finding stays one line.
    constexpr std::size_t Listed = 12;
    std::string text;
    const std::size_t shown = choices.size() <= Listed ? choices.size() : Listed / 2;
    for (std::size_t index = 0; index < shown; ++index) {
        if (index > 0) {
            text += index + 1 == choices.size() ? " or " : ", ";
        }
        text += choices[index];
    }
    if (shown < choices.size()) {
        text += ", ... (" + std::to_string(choices.size()) + " values)";
    }
    return text;
}

} // namespace AnalysisApp
