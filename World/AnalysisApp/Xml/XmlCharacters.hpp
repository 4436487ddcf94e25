#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The characters an XML 1.0 document may hold, in UTF-8, and the names it may use.
namespace AnalysisApp {

inline bool IsXmlSpace(char character) {
    return character == ' ' || character == '\t' || character == '\n' || character == '\r';
}

// A code point that XML allows in a document (a reference to any other is not well-formed).
bool IsXmlCharacter(std::uint32_t codePoint);

// How far `bytes` hold legal characters in well-formed UTF-8 (no control characters, surrogates,
// U+FFFE and U+FFFF or overlong forms). `illegal` is the offset of the first byte that does not
// begin or continue one, or npos. When more bytes may follow (`complete` false), a character cut
// short at the end is left unjudged: `checked` stops before it; otherwise it is all the bytes.
struct XmlCharacterScan {
    std::size_t illegal = std::string_view::npos;
    std::size_t checked = 0;
};
XmlCharacterScan ScanXmlCharacters(std::string_view bytes, bool complete);

// A name as XML spells one, its ASCII characters checked exactly; any character beyond ASCII is
// taken as a name character (the bytes are checked as characters on their own). Qualified: one that
// namespaces can read, with no colon or one with a name on either side ("x:row").
// The local part is what follows the last colon ("x:row" -> "row").
enum class XmlNameKind { NotAName, Qualified, UnqualifiedColon };
struct XmlNameClass {
    XmlNameKind kind = XmlNameKind::NotAName;
    std::size_t localStart = 0;
};
inline XmlNameClass ClassifyXmlName(std::string_view name); // below, with the byte table

inline bool IsXmlName(std::string_view name) {
    return ClassifyXmlName(name).kind != XmlNameKind::NotAName;
}

inline bool IsQualifiedName(std::string_view name) {
    return ClassifyXmlName(name).kind == XmlNameKind::Qualified;
}

// What each byte can be in a name, looked up rather than compared, as every tag asks for each byte.
namespace XmlByte {
constexpr std::uint8_t NameStart = 1; // letters, '_', ':' and every byte beyond ASCII
constexpr std::uint8_t NameChar = 2;  // the starts, digits, '-' and '.'
constexpr std::uint8_t EndsName = 4;  // space, '/', '>', '=' and NUL end a name as the parser reads one

constexpr std::array<std::uint8_t, 256> MakeClasses() {
    std::array<std::uint8_t, 256> classes{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        const bool start = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || byte == '_' ||
                           byte == ':' || byte >= 0x80;
        const bool other = (byte >= '0' && byte <= '9') || byte == '-' || byte == '.';
        const bool ends = byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '/' ||
                          byte == '>' || byte == '=' || byte == 0;
        classes[byte] = static_cast<std::uint8_t>((start ? NameStart | NameChar : 0) |
                                                  (other ? NameChar : 0) | (ends ? EndsName : 0));
    }
    return classes;
}
inline constexpr std::array<std::uint8_t, 256> Classes = MakeClasses();
} // namespace XmlByte

inline bool EndsXmlName(char character) {
    return (XmlByte::Classes[static_cast<unsigned char>(character)] & XmlByte::EndsName) != 0;
}

void AppendUtf8(std::string& out, std::uint32_t codePoint);

// Inline, with the table: the parser asks it for every element and attribute name.
inline XmlNameClass ClassifyXmlName(std::string_view name) {
    if (name.empty() || (XmlByte::Classes[static_cast<unsigned char>(name[0])] & XmlByte::NameStart) == 0) {
        return {};
    }
    std::size_t colons = 0;
    std::size_t colon = 0;
    std::uint8_t all = XmlByte::NameChar;
    for (std::size_t index = 0; index < name.size(); ++index) {
        all &= XmlByte::Classes[static_cast<unsigned char>(name[index])];
        if (name[index] == ':') {
            ++colons;
            colon = index;
        }
    }
    if (all == 0) {
        return {};
    }
    const bool qualified = colons == 0 || (colons == 1 && colon > 0 && colon + 1 < name.size());
    return {qualified ? XmlNameKind::Qualified : XmlNameKind::UnqualifiedColon, colons == 0 ? 0 : colon + 1};
}

} // namespace AnalysisApp
