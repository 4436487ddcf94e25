#pragma once

#include "TextEncoding.hpp"
#include "UniString.hpp"

#include <string>

// Item texts live in the dialog model as UTF-8 (what UI drivers read). They are converted whole, by
// length: a text holding a NUL unit reads back as it was set. Unpaired surrogates, which UTF-8
// cannot hold, read back as U+FFFD.
namespace DG {

// ASCII, which most item texts are, is copied unit by unit; anything else goes through the encoder.
inline std::string ModelText(const GS::UniString& text) {
    const char16_t* units = text.ToUStr();
    std::string utf8(text.GetLength(), '\0');
    for (UIndex index = 0; index < text.GetLength(); ++index) {
        if (units[index] >= 0x80) {
            return GS::TextEncoding::EncodeUtf8Lossy(units, text.GetLength());
        }
        utf8[index] = static_cast<char>(units[index]);
    }
    return utf8;
}

inline GS::UniString FromModelText(const std::string& utf8) {
    return GS::UniString::FromUTF8(utf8.data(), static_cast<UIndex>(utf8.size()));
}

} // namespace DG
