#include "Xml/XmlCharacters.hpp"

#include <algorithm>
#include <cstring>

namespace AnalysisApp {
namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The bytes a character beyond ASCII takes after its lead byte, and the range of its second byte
// (which rules out overlong forms, surrogates and code points beyond U+10FFFF). Length 0: no lead.
struct CharacterShape {
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
};

CharacterShape ShapeOf(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return {2, 0x80, 0xBF};
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return {3, static_cast<unsigned char>(lead == 0xE0 ? 0xA0 : 0x80),
                static_cast<unsigned char>(lead == 0xED ? 0x9F : 0xBF)};
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return {4, static_cast<unsigned char>(lead == 0xF0 ? 0x90 : 0x80),
                static_cast<unsigned char>(lead == 0xF4 ? 0x8F : 0xBF)};
    }
    return {};
}

// Whether the `size` bytes at `bytes` (at least one) begin a legal character, up to `size` of them.
bool BeginsCharacter(const unsigned char* bytes, std::size_t size, const CharacterShape& shape) {
    if (shape.length == 0 || (size > 1 && (bytes[1] < shape.low || bytes[1] > shape.high))) {
        return false;
    }
    for (std::size_t index = 2; index < std::min(size, shape.length); ++index) {
        if (!IsContinuation(bytes[index])) {
            return false;
        }
    }
    return true;
}

// The length of the legal character at the start of `bytes` (which holds at least one byte), or 0.
std::size_t LegalCharacterLength(const unsigned char* bytes, std::size_t size) {
    const unsigned char lead = bytes[0];
    if (lead < 0x80) {
        return lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r' ? 1 : 0;
    }
    const CharacterShape shape = ShapeOf(lead);
    if (size < shape.length || !BeginsCharacter(bytes, shape.length, shape)) {
        return 0;
    }
    // U+FFFE and U+FFFF: EF BF BE, EF BF BF.
    if (lead == 0xEF && bytes[1] == 0xBF && bytes[2] >= 0xBE) {
        return 0;
    }
    return shape.length;
}

// A legal character's first bytes, cut short by the end of what has arrived.
bool CutShort(const unsigned char* bytes, std::size_t size) {
    const CharacterShape shape = ShapeOf(bytes[0]);
    return size < shape.length && BeginsCharacter(bytes, size, shape);
}

} // namespace

bool IsXmlCharacter(std::uint32_t codePoint) {
    return codePoint == 0x9 || codePoint == 0xA || codePoint == 0xD ||
           (codePoint >= 0x20 && codePoint <= 0xD7FF) || (codePoint >= 0xE000 && codePoint <= 0xFFFD) ||
           (codePoint >= 0x10000 && codePoint <= 0x10FFFF);
}

XmlCharacterScan ScanXmlCharacters(std::string_view text, bool complete) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    // A word of printable ASCII has no byte below 0x20 (which borrows into its high bit) or from 0x80.
    const auto printable = [](std::uint64_t word) { return ((word | (word - ones * 0x20)) & highs) == 0; };
    std::size_t index = 0;
    while (index < size) {
        // Plain printable ASCII, sixteen bytes at a time: nearly all of a workbook's parts.
        while (index + 16 <= size) {
            std::uint64_t first = 0;
            std::uint64_t second = 0;
            std::memcpy(&first, bytes + index, 8);
            std::memcpy(&second, bytes + index + 8, 8);
            if (!printable(first) || !printable(second)) {
                break;
            }
            index += 16;
        }
        // Then byte by byte up to the next character that is not printable ASCII, or a fresh stretch.
        const std::size_t stretch = std::min(size, index + 16);
        while (index < stretch && bytes[index] >= 0x20 && bytes[index] < 0x80) {
            ++index;
        }
        if (index >= size) {
            break;
        }
        if (bytes[index] >= 0x20 && bytes[index] < 0x80) {
            continue;
        }
        const std::size_t length = LegalCharacterLength(bytes + index, size - index);
        if (length == 0) {
            // A character beyond ASCII cut by the end of what has arrived is judged when the rest has.
            if (!complete && CutShort(bytes + index, size - index)) {
                return {std::string_view::npos, index};
            }
            return {index, index};
        }
        index += length;
    }
    return {std::string_view::npos, size};
}

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace AnalysisApp
