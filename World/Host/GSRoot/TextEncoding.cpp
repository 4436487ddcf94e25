#include "TextEncoding.hpp"

#include <array>

namespace GS::TextEncoding {

namespace {

// Code page 1252 bytes 0x80-0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> WindowsLatin1High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendCodePoint(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
    } else {
        const char32_t offset = codePoint - 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// The lead byte decides how many continuation bytes follow and the range the first of them must
// fall in (which rules out overlong forms, encoded surrogates and values above U+10FFFF).
struct LeadByte {
    int continuationCount;
    char32_t initialBits;
    UInt8 firstLow;
    UInt8 firstHigh;
};

bool ClassifyLead(UInt8 byte, LeadByte& lead) {
    if (byte >= 0xC2 && byte <= 0xDF) {
        lead = {1, static_cast<char32_t>(byte & 0x1F), 0x80, 0xBF};
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        lead = {2, static_cast<char32_t>(byte & 0x0F), static_cast<UInt8>(byte == 0xE0 ? 0xA0 : 0x80),
                static_cast<UInt8>(byte == 0xED ? 0x9F : 0xBF)};
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        lead = {3, static_cast<char32_t>(byte & 0x07), static_cast<UInt8>(byte == 0xF0 ? 0x90 : 0x80),
                static_cast<UInt8>(byte == 0xF4 ? 0x8F : 0xBF)};
    } else {
        return false;
    }
    return true;
}

std::u16string DecodeUtf8(const UInt8* bytes, std::size_t count) {
    std::u16string out;
    out.reserve(count);
    std::size_t i = 0;
    while (i < count) {
        const UInt8 byte = bytes[i];
        if (byte < 0x80) {
            out.push_back(byte);
            ++i;
            continue;
        }
        LeadByte lead{};
        if (!ClassifyLead(byte, lead)) {
            out.push_back(ReplacementCharacter);
            ++i;
            continue;
        }
        char32_t codePoint = lead.initialBits;
        std::size_t next = i + 1;
        int taken = 0;
        for (; taken < lead.continuationCount && next < count; ++taken, ++next) {
            const UInt8 low = taken == 0 ? lead.firstLow : UInt8{0x80};
            const UInt8 high = taken == 0 ? lead.firstHigh : UInt8{0xBF};
            if (bytes[next] < low || bytes[next] > high) {
                break;
            }
            codePoint = (codePoint << 6) | (bytes[next] & 0x3Fu);
        }
        if (taken < lead.continuationCount) {
            out.push_back(ReplacementCharacter);
        } else {
            AppendCodePoint(out, codePoint);
        }
        i = next;
    }
    return out;
}

char16_t DecodeWindowsLatin1(UInt8 byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        const char16_t mapped = WindowsLatin1High[byte - 0x80u];
        return mapped != 0 ? mapped : ReplacementCharacter;
    }
    return byte;
}

bool EncodeWindowsLatin1(char32_t codePoint, char& out) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        out = static_cast<char>(codePoint);
        return true;
    }
    for (std::size_t i = 0; i < WindowsLatin1High.size(); ++i) {
        if (WindowsLatin1High[i] != 0 && WindowsLatin1High[i] == codePoint) {
            out = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

// Reads one character starting at `units[i]`; advances `i`. Unpaired surrogates come back as
// themselves, for the caller to judge.
char32_t NextCodePoint(const char16_t* units, std::size_t count, std::size_t& i) {
    const char32_t unit = units[i++];
    if (IsHighSurrogate(unit) && i < count && IsLowSurrogate(units[i])) {
        const char32_t low = units[i++];
        return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    return unit;
}

} // namespace

std::u16string Decode(const char* bytes, std::size_t byteCount, GSCharCode charCode) {
    if (bytes == nullptr || byteCount == 0) {
        return {};
    }
    const auto* raw = reinterpret_cast<const UInt8*>(bytes);
    switch (charCode) {
    case CC_WindowsLatin1: {
        std::u16string out(byteCount, u'\0');
        for (std::size_t i = 0; i < byteCount; ++i) {
            out[i] = DecodeWindowsLatin1(raw[i]);
        }
        return out;
    }
    case CC_ASCII: {
        std::u16string out(byteCount, u'\0');
        for (std::size_t i = 0; i < byteCount; ++i) {
            out[i] = raw[i] < 0x80 ? raw[i] : ReplacementCharacter;
        }
        return out;
    }
    case CC_Default:
    case CC_UTF8:
    default:
        return DecodeUtf8(raw, byteCount);
    }
}

std::string Encode(const char16_t* units, std::size_t count, GSCharCode charCode, char errorChar) {
    std::string out;
    out.reserve(count);
    std::size_t i = 0;
    while (i < count) {
        const char32_t codePoint = NextCodePoint(units, count, i);
        const bool unpaired = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        char single = 0;
        bool encoded = false;
        if (!unpaired) {
            switch (charCode) {
            case CC_WindowsLatin1:
                encoded = EncodeWindowsLatin1(codePoint, single);
                break;
            case CC_ASCII:
                encoded = codePoint < 0x80;
                single = static_cast<char>(codePoint);
                break;
            case CC_Default:
            case CC_UTF8:
            default:
                AppendUtf8(out, codePoint);
                continue;
            }
        }
        if (encoded) {
            out.push_back(single);
        } else if (errorChar != 0) {
            out.push_back(errorChar);
        }
    }
    return out;
}

std::string EncodeUtf8Lossy(const char16_t* units, std::size_t count) {
    std::string out;
    out.reserve(count);
    std::size_t i = 0;
    while (i < count) {
        const char32_t codePoint = NextCodePoint(units, count, i);
        AppendUtf8(out,
                   codePoint >= 0xD800 && codePoint <= 0xDFFF ? char32_t{ReplacementCharacter} : codePoint);
    }
    return out;
}

} // namespace GS::TextEncoding
