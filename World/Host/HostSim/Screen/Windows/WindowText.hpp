#pragma once

#include "Win32Api.hpp"

#include <string>

namespace HostSim {

// UTF-8 (hostsim's text everywhere) to the UTF-16 that Win32's wide functions take, and back.
std::wstring WideText(const std::string& utf8);
std::string Utf8Text(const std::wstring& wide);
// The text of a window (a control's caption, a combo box's entry is read elsewhere) in UTF-8.
std::string WindowCaption(HWND window);

// A system cursor's or icon's number (IDC_ARROW, IDI_WARNING, ...) for the wide functions, whichever
// character set the headers were told to name resources in.
template <typename Name>
const wchar_t* SystemResource(Name name) {
    return MAKEINTRESOURCEW(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
}

// The font Windows uses for message boxes and dialogs, made once for the life of the process.
HFONT DialogFont();

} // namespace HostSim
