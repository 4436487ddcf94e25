#include "XmlCharacters.hpp"

#include <cstring>

namespace AnalysisApp {
namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the legal character at the start of `bytes` (which holds at least one byte), or 0.
std::size_t LegalCharacterLength(const unsigned char* bytes, std::size_t size) {
    const unsigned char lead = bytes[0];
    if (lead < 0x80) {
        return lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r' ? 1 : 0;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (size < length || bytes[1] < low || bytes[1] > high) {
        return 0;
    }
    for (std::size_t index = 2; index < length; ++index) {
        if (!IsContinuation(bytes[index])) {
            return 0;
        }
    }
    // U+FFFE and U+FFFF: EF BF BE, EF BF BF.
    if (lead == 0xEF && bytes[1] == 0xBF && bytes[2] >= 0xBE) {
        return 0;
    }
    return length;
}

bool IsNameStart(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || byte == '_' || byte == ':' ||
           byte >= 0x80;
}

} // namespace

bool IsXmlCharacter(std::uint32_t codePoint) {
    return codePoint == 0x9 || codePoint == 0xA || codePoint == 0xD ||
           (codePoint >= 0x20 && codePoint <= 0xD7FF) || (codePoint >= 0xE000 && codePoint <= 0xFFFD) ||
           (codePoint >= 0x10000 && codePoint <= 0x10FFFF);
}

std::size_t FirstIllegalXmlByte(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t index = 0;
    while (index < size) {
        // Plain printable ASCII, eight bytes at a time: no byte below 0x20 or from 0x80.
        while (index + 8 <= size) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes + index, 8);
            constexpr std::uint64_t ones = 0x0101010101010101ULL;
            constexpr std::uint64_t highs = 0x8080808080808080ULL;
            if (((word | (word - ones * 0x20)) & highs) != 0) {
                break;
            }
            index += 8;
        }
        // Then byte by byte while it stays printable ASCII, as in a short token.
        while (index < size && bytes[index] >= 0x20 && bytes[index] < 0x80) {
            ++index;
            if ((index & 7) == 0) {
                break;
            }
        }
        if (index >= size) {
            break;
        }
        if (bytes[index] >= 0x20 && bytes[index] < 0x80) {
            continue;
        }
        const std::size_t length = LegalCharacterLength(bytes + index, size - index);
        if (length == 0) {
            return index;
        }
        index += length;
    }
    return std::string_view::npos;
}

bool IsXmlName(std::string_view name) {
    if (name.empty() || !IsNameStart(static_cast<unsigned char>(name[0]))) {
        return false;
    }
    for (const char character : name.substr(1)) {
        const auto byte = static_cast<unsigned char>(character);
        if (!IsNameStart(byte) && !(byte >= '0' && byte <= '9') && byte != '-' && byte != '.') {
            return false;
        }
    }
    return true;
}

bool IsQualifiedName(std::string_view name) {
    const std::size_t colon = name.find(':');
    return IsXmlName(name) &&
           (colon == std::string_view::npos ||
            (colon > 0 && colon + 1 < name.size() && name.find(':', colon + 1) == std::string_view::npos));
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
