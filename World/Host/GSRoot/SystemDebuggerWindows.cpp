#include "SystemDebugger.hpp"

#include "TextEncoding.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace GS {

void WriteToSystemDebugger(const std::string& utf8Text) {
    const std::u16string text = TextEncoding::Decode(utf8Text.data(), utf8Text.size(), CC_UTF8);
    const std::wstring wide(text.begin(), text.end());
    ::OutputDebugStringW(wide.c_str());
}

} // namespace GS
