#include "JsonFault.hpp"

namespace SAF {

std::string Utf8Of(const GS::UniString& text) {
    const GS::UniString::CStr utf8 = text.ToUTF8();
    return std::string(utf8.Get(), utf8.GetLength());
}

} // namespace SAF
