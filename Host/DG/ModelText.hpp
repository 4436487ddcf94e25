#pragma once

#include "TextEncoding.hpp"
#include "UniString.hpp"

#include <string>

// Item texts live in the dialog model as UTF-8 (what UI drivers read). They are converted whole, by
// length: a text holding a NUL unit reads back as it was set. Unpaired surrogates, which UTF-8
// cannot hold, read back as U+FFFD.
namespace DG {

inline std::string ModelText(const GS::UniString& text) {
    return GS::TextEncoding::EncodeUtf8Lossy(text.ToUStr(), text.GetLength());
}

inline GS::UniString FromModelText(const std::string& utf8) {
    return GS::UniString::FromUTF8(utf8.data(), static_cast<UIndex>(utf8.size()));
}

} // namespace DG
