#pragma once

#include "GSTypes.hpp"

#include <cstddef>
#include <string>

// Conversions between 8-bit encodings and UTF-16, on plain standard strings (the callers copy the
// result into memory-manager blocks where it must cross the add-on boundary).
namespace GS::TextEncoding {

constexpr char16_t ReplacementCharacter = u'\xFFFD';

// Bytes that are not valid in `charCode` become U+FFFD. For UTF-8 each maximal ill-formed
// subsequence becomes one U+FFFD (the Unicode recommendation), so no valid character is swallowed.
std::u16string Decode(const char* bytes, std::size_t byteCount, GSCharCode charCode);

// A character that `charCode` cannot hold (an unpaired surrogate never can) becomes `errorChar`, or
// is left out when `errorChar` is 0.
std::string Encode(const char16_t* units, std::size_t count, GSCharCode charCode, char errorChar);

// UTF-8 with unpaired surrogates written as U+FFFD: for text meant to be read, never to fail.
std::string EncodeUtf8Lossy(const char16_t* units, std::size_t count);

inline bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace GS::TextEncoding
