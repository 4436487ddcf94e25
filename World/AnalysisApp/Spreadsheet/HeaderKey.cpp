#include "Spreadsheet/HeaderKey.hpp"

namespace AnalysisApp {

std::string HeaderKey(std::string_view header) {
    std::string key;
    int bracketDepth = 0;
    for (const char character : header) {
        if (character == '[') {
            ++bracketDepth;
        } else if (character == ']') {
            bracketDepth = bracketDepth > 0 ? bracketDepth - 1 : 0;
        } else if (bracketDepth == 0) {
            const auto byte = static_cast<unsigned char>(character);
            if (byte >= 'A' && byte <= 'Z') {
                key += static_cast<char>(byte - 'A' + 'a');
            } else if ((byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || byte >= 0x80) {
                key += character;
            }
        }
    }
    // A no-break space (C2 A0) is a blank too.
    for (std::size_t at = key.find("\xC2\xA0"); at != std::string::npos; at = key.find("\xC2\xA0")) {
        key.erase(at, 2);
    }
    return key;
}

std::string HeaderUnit(std::string_view header) {
    const std::size_t open = header.find('[');
    const std::size_t close = header.find(']', open == std::string_view::npos ? 0 : open);
    if (open == std::string_view::npos || close == std::string_view::npos) {
        return {};
    }
    return std::string(Trimmed(header.substr(open + 1, close - open - 1)));
}

std::string_view Trimmed(std::string_view text) {
    // Nearly every cell has no blank at either end: its first and last bytes say so.
    const auto cannotBeBlank = [](char character, char noBreakByte) {
        return character != ' ' && character != '\t' && character != '\r' && character != '\n' &&
               character != noBreakByte;
    };
    if (text.empty() || (cannotBeBlank(text.front(), '\xC2') && cannotBeBlank(text.back(), '\xA0'))) {
        return text;
    }
    const auto blankAt = [&](std::size_t at, bool fromEnd) -> std::size_t {
        const char character = text[at];
        if (character == ' ' || character == '\t' || character == '\r' || character == '\n') {
            return 1;
        }
        if (!fromEnd && text.substr(at, 2) == "\xC2\xA0") {
            return 2;
        }
        if (fromEnd && at >= 1 && text.substr(at - 1, 2) == "\xC2\xA0") {
            return 2;
        }
        return 0;
    };
    while (!text.empty()) {
        const std::size_t blank = blankAt(0, false);
        if (blank == 0) {
            break;
        }
        text.remove_prefix(blank);
    }
    while (!text.empty()) {
        const std::size_t blank = blankAt(text.size() - 1, true);
        if (blank == 0) {
            break;
        }
        text.remove_suffix(blank);
    }
    return text;
}

bool EqualsFolded(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    const auto fold = [](char character) {
        return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a') : character;
    };
    for (std::size_t index = 0; index < left.size(); ++index) {
        if (fold(left[index]) != fold(right[index])) {
            return false;
        }
    }
    return true;
}

std::string Folded(std::string_view text) {
    std::string folded(text);
    for (char& character : folded) {
        if (character >= 'A' && character <= 'Z') {
            character = static_cast<char>(character - 'A' + 'a');
        }
    }
    return folded;
}

} // namespace AnalysisApp
