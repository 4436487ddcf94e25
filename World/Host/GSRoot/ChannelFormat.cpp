#include "ChannelFormat.hpp"

#include "ByteOrder/LittleEndian.hpp"

namespace GS::ChannelFormat {

std::string EncodeUniString(const char16_t* units, std::size_t count) {
    std::string out;
    out.reserve(UniStringHeaderSize + 2 * count);
    LittleEndian::Append16(out, UniStringVersion);
    LittleEndian::Append32(out, static_cast<UInt32>(count));
    for (std::size_t index = 0; index < count; ++index) {
        LittleEndian::Append16(out, units[index]);
    }
    return out;
}

DecodedUniString DecodeUniString(const unsigned char* bytes, std::size_t size) {
    DecodedUniString decoded;
    if (bytes == nullptr || size < UniStringHeaderSize || LittleEndian::Read16(bytes) != UniStringVersion) {
        decoded.result = GSErr::BadData;
        return decoded;
    }
    const std::size_t count = LittleEndian::Read32(bytes + 2);
    // Compared as a count of units so that a huge count cannot overflow the byte arithmetic.
    if (count > (size - UniStringHeaderSize) / 2) {
        decoded.result = GSErr::BadData;
        return decoded;
    }
    decoded.units.resize(count);
    const unsigned char* unit = bytes + UniStringHeaderSize;
    for (std::size_t index = 0; index < count; ++index, unit += 2) {
        decoded.units[index] = static_cast<char16_t>(LittleEndian::Read16(unit));
    }
    decoded.consumed = UniStringHeaderSize + 2 * count;
    return decoded;
}

} // namespace GS::ChannelFormat
