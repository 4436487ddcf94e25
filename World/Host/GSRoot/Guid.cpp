#include "Guid.hpp"
#include "HexDigits.hpp"

#include <cstdio>
#include <cstring>
#include <random>

namespace GS {

Guid::Guid() : data1(0), data2(0), data3(0), data4{} {}

Guid::Guid(UInt32 d1, UInt16 d2, UInt16 d3, const UInt8 (&d4)[8]) : data1(d1), data2(d2), data3(d3), data4{} {
    std::memcpy(data4, d4, sizeof(data4));
}

Guid Guid::Generate() {
    // std::random_device reads the operating system's entropy source on both targets
    // (getrandom or /dev/urandom on Linux, rand_s on Windows).
    thread_local std::random_device source;
    UInt8 bytes[16];
    for (std::size_t i = 0; i < sizeof(bytes); i += 4) {
        const UInt32 word = source();
        std::memcpy(bytes + i, &word, 4);
    }
    Guid result;
    std::memcpy(&result.data1, bytes, 4);
    std::memcpy(&result.data2, bytes + 4, 2);
    std::memcpy(&result.data3, bytes + 6, 2);
    std::memcpy(result.data4, bytes + 8, 8);
    // Version 4 (random), variant 1, as RFC 4122 defines them.
    result.data3 = static_cast<UInt16>((result.data3 & 0x0FFFu) | 0x4000u);
    result.data4[0] = static_cast<UInt8>((result.data4[0] & 0x3Fu) | 0x80u);
    return result;
}

namespace {

// Reads `digits` hex digits; false at the first that is not one.
bool ReadHex(const char* text, int digits, UInt64& value) {
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const int digit = GS::HexDigitValue(text[i]);
        if (digit < 0) {
            return false;
        }
        value = (value << 4) | static_cast<UInt64>(digit);
    }
    return true;
}

constexpr std::size_t GuidTextLength = 36;

bool ParseBare(const char* text, Guid& result) {
    constexpr std::size_t dashes[] = {8, 13, 18, 23};
    for (std::size_t dash : dashes) {
        if (text[dash] != '-') {
            return false;
        }
    }
    UInt64 d1 = 0;
    UInt64 d2 = 0;
    UInt64 d3 = 0;
    UInt64 d4High = 0;
    UInt64 d4Low = 0;
    if (!ReadHex(text, 8, d1) || !ReadHex(text + 9, 4, d2) || !ReadHex(text + 14, 4, d3) ||
        !ReadHex(text + 19, 4, d4High) || !ReadHex(text + 24, 12, d4Low)) {
        return false;
    }
    result.data1 = static_cast<UInt32>(d1);
    result.data2 = static_cast<UInt16>(d2);
    result.data3 = static_cast<UInt16>(d3);
    result.data4[0] = static_cast<UInt8>(d4High >> 8);
    result.data4[1] = static_cast<UInt8>(d4High);
    for (int i = 0; i < 6; ++i) {
        result.data4[2 + i] = static_cast<UInt8>(d4Low >> (40 - 8 * i));
    }
    return true;
}

} // namespace

bool Guid::Parse(const char* text, Guid& result) {
    result = Guid();
    if (text == nullptr) {
        return false;
    }
    const std::size_t length = std::strlen(text);
    Guid parsed;
    bool ok = false;
    if (length == GuidTextLength) {
        ok = ParseBare(text, parsed);
    } else if (length == GuidTextLength + 2 && text[0] == '{' && text[length - 1] == '}') {
        ok = ParseBare(text + 1, parsed);
    }
    if (ok) {
        result = parsed;
    }
    return ok;
}

bool Guid::IsNull() const {
    return *this == Guid();
}

bool Guid::operator==(const Guid& other) const {
    return data1 == other.data1 && data2 == other.data2 && data3 == other.data3 &&
           std::memcmp(data4, other.data4, sizeof(data4)) == 0;
}

UniString Guid::ToUniString() const {
    char text[GuidTextLength + 1];
    std::snprintf(text, sizeof(text), "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", data1, data2, data3,
                  data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
    return UniString(text, CC_ASCII);
}

} // namespace GS
