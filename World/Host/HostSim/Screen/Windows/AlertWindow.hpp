#pragma once

#include "ObjectWindow.hpp"
#include "UIDriver.hpp"
#include "Win32Api.hpp"

#include <vector>

namespace HostSim {

// An alert drawn by Windows as a message window: the system icon of its type, its texts (the first
// one in bold), and its buttons right-aligned in their order, the first the default one. The owner is
// disabled while it is up. Esc and the close box answer the last button, as a message box's Cancel.
class AlertWindow {
public:
    static constexpr const wchar_t* ClassName = L"HostSimAlert";
    // Button N's control id.
    static constexpr int ButtonIdBase = 1000;

    AlertWindow(HWND owner, const DG::AlertRequest& request, Int16 lastButton);
    ~AlertWindow();
    AlertWindow(const AlertWindow&) = delete;
    AlertWindow& operator=(const AlertWindow&) = delete;

    // Null when Windows would not make the window.
    HWND Window() const { return window; }
    // Button N (1-based), null when the alert has no button N.
    HWND Button(Int16 number) const;
    // The button pressed so far, 0 while none.
    Int16 Pressed() const { return pressed; }
    // Presses button N as a script does, with BM_CLICK; the button's notification sets Pressed().
    void Press(Int16 number);

private:
    template <typename Object>
    friend LRESULT CALLBACK ObjectWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Receive(UINT message, WPARAM wParam, LPARAM lParam);
    void Build(const DG::AlertRequest& request);

    HWND owner;
    HWND window = nullptr;
    HFONT headlineFont = nullptr;
    std::vector<HWND> buttons; // by number - 1; null for a button without text
    Int16 lastButton;
    Int16 pressed = 0;
    bool ownerWasEnabled = false;
};

} // namespace HostSim
