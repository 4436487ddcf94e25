#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ResFormat {

// A resource type or name as a .res file holds it: a 16-bit ordinal, or a UTF-16 name.
class ResName {
public:
    static ResName Ordinal(std::uint16_t ordinal);
    static ResName Named(std::u16string text);
    // Windows tools store names upper-case; only ASCII letters change.
    static ResName NamedUpperCase(std::string_view asciiText);

    bool IsOrdinal() const { return isOrdinal; }
    std::uint16_t GetOrdinal() const { return ordinal; }
    const std::u16string& GetText() const { return text; }

    // An ordinal matches nothing; a name matches `asciiName` ignoring the case of ASCII letters.
    bool MatchesIgnoringCase(std::string_view asciiName) const;
    // 32300 for an ordinal, "STRS" (quoted) for a name; units outside printable ASCII as \uXXXX.
    std::string ToDisplayString() const;

    bool operator==(const ResName& other) const = default;

private:
    bool isOrdinal = true;
    std::uint16_t ordinal = 0;
    std::u16string text;
};

} // namespace ResFormat
