#include "ChannelFormat.hpp"

namespace GS::ChannelFormat {

namespace {

void AppendLittleEndian(std::string& out, UInt64 value, std::size_t byteCount) {
    for (std::size_t index = 0; index < byteCount; ++index) {
        out.push_back(static_cast<char>((value >> (8 * index)) & 0xFFu));
    }
}

UInt32 ReadLittleEndian(const unsigned char* bytes, std::size_t byteCount) {
    UInt32 value = 0;
    for (std::size_t index = byteCount; index-- > 0;) {
        value = (value << 8) | bytes[index];
    }
    return value;
}

} // namespace

std::string EncodeUniString(const char16_t* units, std::size_t count) {
    std::string out;
    out.reserve(UniStringHeaderSize + 2 * count);
    AppendLittleEndian(out, UniStringVersion, 2);
    AppendLittleEndian(out, count, 4);
    for (std::size_t index = 0; index < count; ++index) {
        AppendLittleEndian(out, units[index], 2);
    }
    return out;
}

DecodedUniString DecodeUniString(const unsigned char* bytes, std::size_t size) {
    DecodedUniString decoded;
    if (bytes == nullptr || size < UniStringHeaderSize || ReadLittleEndian(bytes, 2) != UniStringVersion) {
        decoded.result = GSErr::BadData;
        return decoded;
    }
    const std::size_t count = ReadLittleEndian(bytes + 2, 4);
    // Compared as a count of units so that a huge count cannot overflow the byte arithmetic.
    if (count > (size - UniStringHeaderSize) / 2) {
        decoded.result = GSErr::BadData;
        return decoded;
    }
    decoded.units.resize(count);
    const unsigned char* unit = bytes + UniStringHeaderSize;
    for (std::size_t index = 0; index < count; ++index, unit += 2) {
        decoded.units[index] = static_cast<char16_t>(ReadLittleEndian(unit, 2));
    }
    decoded.consumed = UniStringHeaderSize + 2 * count;
    return decoded;
}

} // namespace GS::ChannelFormat
