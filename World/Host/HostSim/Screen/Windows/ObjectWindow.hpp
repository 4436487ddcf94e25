#pragma once

#include "Win32Api.hpp"

namespace HostSim {

// The windows of the window face are objects of ours (a main window, a dialog, an alert). Their
// classes share one registration, and each window hands its messages to its object's Receive once
// AttachWindowObject has told it which object that is; before that, and after DetachWindowObject,
// Windows' default procedure answers.

// Registers the class `name` with the arrow cursor, `background` and `icon` (none when null); true
// when it is registered now or was before.
bool RegisterObjectWindowClass(const wchar_t* name, HBRUSH background, HICON icon = nullptr);

template <typename Object>
LRESULT CALLBACK ObjectWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = reinterpret_cast<Object*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return object != nullptr ? object->Receive(message, wParam, lParam)
                             : ::DefWindowProcW(window, message, wParam, lParam);
}

template <typename Object>
void AttachWindowObject(HWND window, Object* object) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ObjectWindowProcedure<Object>));
}

// The window's messages no longer reach its object, which is going away.
inline void DetachWindowObject(HWND window) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

} // namespace HostSim
