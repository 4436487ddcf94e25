#include "Screen/Windows/AlertWindow.hpp"

#include "Screen/DialogJson.hpp"
#include "Screen/Windows/WindowPlacement.hpp"
#include "Screen/Windows/WindowText.hpp"

#include <algorithm>

namespace HostSim {

namespace {

constexpr DWORD AlertStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD AlertExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int Margin = 16;
constexpr int IconSize = 32;
constexpr int TextLeft = Margin + IconSize + 14;
constexpr int TextWidth = 340;
constexpr int ButtonWidth = 96;
constexpr int ButtonHeight = 26;
constexpr int ButtonGap = 8;

const wchar_t* SystemIconFor(const DG::AlertRequest& request) {
    if (!request.hasAlertType || request.alertType == 1) {
        return SystemResource(IDI_WARNING);
    }
    return SystemResource(request.alertType == -1  ? IDI_ERROR
                          : request.alertType == 0 ? IDI_INFORMATION
                                                   : IDI_APPLICATION);
}

// The size `text` takes in `font`: wrapped at TextWidth, or on one line.
SIZE TextSize(HWND window, HFONT font, const std::wstring& text, bool wrapped) {
    HDC context = ::GetDC(window);
    HGDIOBJ previous = ::SelectObject(context, font);
    RECT bounds{0, 0, TextWidth, 0};
    ::DrawTextW(context, text.c_str(), static_cast<int>(text.size()), &bounds,
                DT_CALCRECT | DT_NOPREFIX | (wrapped ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(context, previous);
    ::ReleaseDC(window, context);
    return SIZE{bounds.right, std::max<LONG>(bounds.bottom, 16)};
}

HWND Child(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style, RECT place, int id,
           HFONT font) {
    HWND child = ::CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleW(nullptr), nullptr);
    if (child != nullptr) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return child;
}

} // namespace

AlertWindow::AlertWindow(HWND ownerWindow, const DG::AlertRequest& request, Int16 last)
    : owner(ownerWindow), lastButton(last) {
    if (!RegisterObjectWindowClass(ClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
        return;
    }
    window = ::CreateWindowExW(AlertExStyle, ClassName, WideText(AlertTitle(request)).c_str(), AlertStyle, 0,
                               0, 200, 100, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return;
    }
    AttachWindowObject(window, this);
    Build(request);
    if (owner != nullptr) {
        ownerWasEnabled = ::EnableWindow(owner, FALSE) == 0;
    }
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    if (HWND first = Button(1)) {
        ::SetFocus(first);
    }
}

AlertWindow::~AlertWindow() {
    if (owner != nullptr && ownerWasEnabled) {
        ::EnableWindow(owner, TRUE);
    }
    if (window != nullptr) {
        DetachWindowObject(window);
        ::DestroyWindow(window);
    }
    if (headlineFont != nullptr) {
        ::DeleteObject(headlineFont);
    }
}

void AlertWindow::Build(const DG::AlertRequest& request) {
    LOGFONTW bold{};
    ::GetObjectW(DialogFont(), sizeof(bold), &bold);
    bold.lfWeight = FW_BOLD;
    headlineFont = ::CreateFontIndirectW(&bold);
    HWND icon = Child(window, L"STATIC", L"", SS_ICON,
                      RECT{Margin, Margin, Margin + IconSize, Margin + IconSize}, -1, DialogFont());
    ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, SystemIconFor(request))),
                   0);

    int top = Margin;
    const std::size_t textCount = request.texts.size() - request.buttons.size();
    for (std::size_t index = 0; index < textCount; ++index) {
        if (request.texts[index].empty()) {
            continue;
        }
        HFONT font = top == Margin && headlineFont != nullptr ? headlineFont : DialogFont();
        const std::wstring text = WideText(request.texts[index]);
        const int height = TextSize(window, font, text, true).cy;
        Child(window, L"STATIC", text, SS_LEFT | SS_NOPREFIX,
              RECT{TextLeft, top, TextLeft + TextWidth, top + height}, -1, font);
        top += height + 10;
    }
    const int clientWidth = TextLeft + TextWidth + Margin;
    const int buttonTop = std::max(top, Margin + IconSize + 10) + 6;
    // Each button as wide as its text needs, at least the usual width; the row ends at the right margin.
    std::vector<int> widths(request.buttons.size(), 0);
    int rowWidth = -ButtonGap;
    for (std::size_t index = 0; index < request.buttons.size(); ++index) {
        if (!request.buttons[index].empty()) {
            widths[index] = std::max<int>(
                ButtonWidth, TextSize(window, DialogFont(), WideText(request.buttons[index]), false).cx + 24);
            rowWidth += widths[index] + ButtonGap;
        }
    }
    int left = clientWidth - Margin - rowWidth;
    buttons.assign(request.buttons.size(), nullptr);
    for (std::size_t index = 0; index < request.buttons.size(); ++index) {
        if (request.buttons[index].empty()) {
            continue;
        }
        const DWORD style = WS_TABSTOP | (index == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        buttons[index] = Child(window, L"BUTTON", WideText(request.buttons[index]), style,
                               RECT{left, buttonTop, left + widths[index], buttonTop + ButtonHeight},
                               ButtonIdBase + static_cast<int>(index) + 1, DialogFont());
        left += widths[index] + ButtonGap;
    }
    RECT frame{0, 0, clientWidth, buttonTop + ButtonHeight + Margin};
    ::AdjustWindowRectEx(&frame, AlertStyle, FALSE, AlertExStyle);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    const POINT place = CentredOver(owner, size);
    ::SetWindowPos(window, nullptr, place.x, place.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND AlertWindow::Button(Int16 number) const {
    return number >= 1 && static_cast<std::size_t>(number) <= buttons.size()
               ? buttons[static_cast<std::size_t>(number - 1)]
               : nullptr;
}

void AlertWindow::Press(Int16 number) {
    if (HWND button = Button(number)) {
        ::SendMessageW(button, BM_CLICK, 0, 0);
    }
}

LRESULT AlertWindow::Receive(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDCANCEL) {
            pressed = lastButton;
        } else if (id > ButtonIdBase && Button(static_cast<Int16>(id - ButtonIdBase)) != nullptr) {
            pressed = static_cast<Int16>(id - ButtonIdBase);
        }
        return 0;
    }
    case DM_GETDEFID:
        return Button(1) != nullptr ? MAKELRESULT(ButtonIdBase + 1, DC_HASDEFID) : 0;
    case WM_CLOSE:
        pressed = lastButton;
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace HostSim
