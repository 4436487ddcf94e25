#pragma once

#include "GSTypes.hpp"

#include <cstddef>
#include <string>

// The host's serialization of one GS::UniString on a channel, all numbers little-endian:
//
//   offset 0   UInt16  format version, 1
//   offset 2   UInt32  n, the number of UTF-16 code units
//   offset 6   n x UInt16  the code units, unpaired surrogates included, no terminating NUL
//
// so a string of n units takes 6 + 2n bytes. Decoding works on plain bytes (it is what a fuzzer
// feeds) and never reads past `size`.
namespace GS::ChannelFormat {

constexpr UInt16 UniStringVersion = 1;
constexpr std::size_t UniStringHeaderSize = 6;

std::string EncodeUniString(const char16_t* units, std::size_t count);

struct DecodedUniString {
    // 0, or GSErr::BadData for bytes that are too few for their header or their count, or that carry
    // another version. On failure `units` is empty and `consumed` is 0.
    GSErrCode result = NoError;
    std::u16string units;
    std::size_t consumed = 0;
};

DecodedUniString DecodeUniString(const unsigned char* bytes, std::size_t size);

} // namespace GS::ChannelFormat
