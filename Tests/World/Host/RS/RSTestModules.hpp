#pragma once

#include "RS.hpp"
#include "UniString.hpp"
#include "Win32Api.hpp"

#include <string>

extern "C" int GarbageResourceModuleAnchor();
extern "C" int MalformedListModuleAnchor();
extern "C" int TruncatedResourceModuleAnchor();

namespace RSTest {

// The loaded module that holds `address`, by its load address as the host knows modules.
HINSTANCE ModuleAt(const void* address);
// This test program's file name as the platform names it.
extern const char* const ProgramFileName;

template <typename Function>
HINSTANCE ModuleOf(Function* function) {
    return ModuleAt(reinterpret_cast<const void*>(function));
}

inline std::string Utf8(const GS::UniString& text) {
    return text.ToUTF8().Get();
}

inline std::string Text(GSResModule module, GSResID list, Int32 index) {
    return Utf8(RSGetIndString_ParamAdapter(GS_SOURCE_LOCATION, list, index, module, RST_Default));
}

struct Lookup {
    bool found;
    std::string text;
};

// The pointer form, into a string that holds something beforehand, to see that a miss empties it.
inline Lookup TextByPointer(GSResModule module, GSResID list, Int32 index) {
    GS::UniString text("left over");
    const bool found =
        RSGetIndString_ParamAdapter(GS_SOURCE_LOCATION, &text, list, index, module, RST_Default);
    return Lookup{found, Utf8(text)};
}

} // namespace RSTest
