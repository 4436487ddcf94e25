#include "Record/ReadableText.hpp"

#include <cstdint>
#include <cstdio>

namespace HostSim {

std::string FormatResultCodeHex(GSErrCode code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(static_cast<UInt32>(code)));
    return text;
}

std::string DescribeResultCode(GSErrCode code) {
    struct Known {
        GSErrCode code;
        const char* words;
    };
    static constexpr Known known[] = {
        {GSErr::Generic, "failed"},
        {GSErr::NotInitialised, "not initialised"},
        {GSErr::MissingSlot, "not provided"},
        {GSErr::BadParameter, "bad parameter"},
        {GSErr::NotFound, "not found"},
        {GSErr::OutOfMemory, "out of memory"},
        {GSErr::IOError, "input/output error"},
        {GSErr::BadData, "bad data"},
    };
    for (const Known& entry : known) {
        if (entry.code == code) {
            return std::string(entry.words) + ", " + FormatResultCodeHex(code);
        }
    }
    return FormatResultCodeHex(code);
}

std::string FourLetterText(UInt32 code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char letter = static_cast<char>((code >> shift) & 0xFF);
        if (letter < 0x20 || letter > 0x7E) {
            return FormatResultCodeHex(static_cast<GSErrCode>(code));
        }
        text += letter;
    }
    return text;
}

std::string HexOf(const UInt8* bytes, std::size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

} // namespace HostSim
