#include "ResName.hpp"

#include <cstdio>

namespace ResFormat {

namespace {

char16_t ToUpperAscii(char16_t unit) {
    return (unit >= u'a' && unit <= u'z') ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

} // namespace

ResName ResName::Ordinal(std::uint16_t ordinal) {
    ResName name;
    name.ordinal = ordinal;
    return name;
}

ResName ResName::Named(std::u16string text) {
    ResName name;
    name.isOrdinal = false;
    name.text = std::move(text);
    return name;
}

ResName ResName::NamedUpperCase(std::string_view asciiText) {
    std::u16string text;
    for (char c : asciiText) {
        text.push_back(ToUpperAscii(static_cast<char16_t>(static_cast<unsigned char>(c))));
    }
    return Named(std::move(text));
}

bool ResName::MatchesIgnoringCase(std::string_view asciiName) const {
    if (isOrdinal || text.size() != asciiName.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto wanted = static_cast<char16_t>(static_cast<unsigned char>(asciiName[i]));
        if (ToUpperAscii(text[i]) != ToUpperAscii(wanted)) {
            return false;
        }
    }
    return true;
}

std::string ResName::ToDisplayString() const {
    if (isOrdinal) {
        return std::to_string(ordinal);
    }
    std::string display = "\"";
    for (char16_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F && unit != u'"' && unit != u'\\') {
            display.push_back(static_cast<char>(unit));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(unit));
            display += escaped;
        }
    }
    return display + "\"";
}

} // namespace ResFormat
