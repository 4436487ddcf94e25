#include "Screen/Windows/DialogWindow.hpp"

#include "Screen/Windows/ModuleIcon.hpp"
#include "Screen/Windows/WindowPlacement.hpp"
#include "Screen/Windows/WindowText.hpp"

#include <type_traits>

namespace HostSim {

namespace {

constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD DialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int PopUpListHeight = 200;

DWORD StyleFor(const DG::DialogModel& model) {
    return model.growType == DG::NoGrow ? DialogStyle : DialogStyle | WS_THICKFRAME;
}

// The first push button is the default one (Enter presses it), as the host marks OK.
Int16 DefaultButton(const DG::DialogModel& model) {
    for (const DG::ItemModel& item : model.items) {
        if (item.kind == DG::ItemKind::PushButton) {
            return item.number;
        }
    }
    return 0;
}

} // namespace

DialogWindow::DialogWindow(HWND ownerWindow, const DG::DialogModel& model, ActionSink sink)
    : owner(ownerWindow), act(std::move(sink)), shown(model) {
    if (!RegisterObjectWindowClass(ClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
        return;
    }
    const SIZE size = WindowSizeFor(model.width, model.height);
    minimum = size;
    const POINT place = CentredOver(owner, size);
    window =
        ::CreateWindowExW(DialogExStyle, ClassName, WideText(model.title).c_str(), StyleFor(model), place.x,
                          place.y, size.cx, size.cy, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return;
    }
    AttachWindowObject(window, this);
    controls.assign(model.items.size(), nullptr);
    icons.assign(model.items.size(), nullptr);
    for (const DG::ItemModel& item : model.items) {
        CreateItem(item);
    }
    Show(model);
    if (owner != nullptr) {
        ownerWasEnabled = ::EnableWindow(owner, FALSE) == 0;
    }
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    if (HWND first = Control(DefaultButton(model))) {
        ::SetFocus(first);
    }
}

DialogWindow::~DialogWindow() {
    // The owner comes back before the dialog goes, so that Windows activates it and not another program.
    if (owner != nullptr && ownerWasEnabled) {
        ::EnableWindow(owner, TRUE);
    }
    if (window != nullptr) {
        DetachWindowObject(window);
        ::DestroyWindow(window);
    }
    for (HICON icon : icons) {
        if (icon != nullptr) {
            ::DestroyIcon(icon);
        }
    }
}

HWND DialogWindow::Control(Int16 item) const {
    return item >= 1 && static_cast<std::size_t>(item) <= controls.size()
               ? controls[static_cast<std::size_t>(item - 1)]
               : nullptr;
}

const DG::ItemModel* DialogWindow::ShownItem(Int16 item) const {
    return item >= 1 && static_cast<std::size_t>(item) <= shown.items.size()
               ? &shown.items[static_cast<std::size_t>(item - 1)]
               : nullptr;
}

SIZE DialogWindow::WindowSizeFor(Int16 clientWidth, Int16 clientHeight) const {
    RECT frame{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&frame, StyleFor(shown), FALSE, DialogExStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

SIZE DialogWindow::ClientSize() const {
    RECT client{};
    ::GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

void DialogWindow::CreateItem(const DG::ItemModel& item) {
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    Int16 height = item.height;
    switch (item.kind) {
    case DG::ItemKind::PushButton:
        windowClass = L"BUTTON";
        style |= WS_TABSTOP | (item.number == DefaultButton(shown) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
    case DG::ItemKind::CheckBox:
        windowClass = L"BUTTON";
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
        break;
    case DG::ItemKind::PopUp:
        windowClass = L"COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        height = static_cast<Int16>(item.height + PopUpListHeight); // the open list hangs below
        break;
    case DG::ItemKind::StaticText:
        style |= SS_LEFT | SS_NOPREFIX;
        break;
    case DG::ItemKind::Separator:
        style |= SS_ETCHEDHORZ;
        break;
    case DG::ItemKind::Icon:
        style |= SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL;
        break;
    }
    HWND control = ::CreateWindowExW(
        0, windowClass, WideText(item.text).c_str(), style, item.left, item.top, item.width, height, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdBase + item.number)),
        ::GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        return;
    }
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    const auto index = static_cast<std::size_t>(item.number - 1);
    controls[index] = control;
    if (item.kind == DG::ItemKind::PopUp) {
        FitPopUpHeight(control, item.height);
    }
    if (item.kind == DG::ItemKind::Icon) {
        icons[index] = ModuleIcon(shown.module, item.iconNumber, item.width, item.height);
        ::SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icons[index]), 0);
    }
}

// A drop-down list's closed height is its selection field's plus a border that Windows decides: the
// field is made so that the closed list takes exactly the layout's height (measured, then corrected
// once more for a border that changes with the field).
void DialogWindow::FitPopUpHeight(HWND combo, Int16 height) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT closed{};
        ::GetWindowRect(combo, &closed);
        const int difference = height - (closed.bottom - closed.top);
        const auto field =
            static_cast<int>(::SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        if (difference == 0 || field + difference < 1) {
            return;
        }
        ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + difference);
    }
}

void DialogWindow::Show(const DG::DialogModel& model) {
    if (window == nullptr) {
        return;
    }
    showing = true;
    shown = model;
    if (WindowCaption(window) != model.title) {
        ::SetWindowTextW(window, WideText(model.title).c_str());
    }
    const SIZE client = ClientSize();
    if (client.cx != model.width || client.cy != model.height) {
        const SIZE size = WindowSizeFor(model.width, model.height);
        ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const DG::ItemModel& item : model.items) {
        ShowItem(item);
    }
    showing = false;
}

void DialogWindow::ShowItem(const DG::ItemModel& item) {
    HWND control = Control(item.number);
    if (control == nullptr) {
        return;
    }
    RECT now{};
    ::GetWindowRect(control, &now);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&now), 2);
    if (item.kind != DG::ItemKind::PopUp &&
        (now.left != item.left || now.top != item.top || now.right - now.left != item.width ||
         now.bottom - now.top != item.height)) {
        ::SetWindowPos(control, nullptr, item.left, item.top, item.width, item.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (item.kind == DG::ItemKind::PopUp &&
               (now.left != item.left || now.top != item.top || now.right - now.left != item.width)) {
        ::SetWindowPos(control, nullptr, item.left, item.top, item.width, item.height + PopUpListHeight,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (item.kind != DG::ItemKind::PopUp && item.kind != DG::ItemKind::Icon &&
        WindowCaption(control) != item.text) {
        ::SetWindowTextW(control, WideText(item.text).c_str());
    }
    if ((::IsWindowEnabled(control) != 0) != item.enabled) {
        ::EnableWindow(control, item.enabled ? TRUE : FALSE);
    }
    if (item.kind == DG::ItemKind::CheckBox) {
        ::SendMessageW(control, BM_SETCHECK, item.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (item.kind == DG::ItemKind::PopUp) {
        const auto count = static_cast<std::size_t>(::SendMessageW(control, CB_GETCOUNT, 0, 0));
        bool same = count == item.entries.size();
        for (std::size_t index = 0; same && index < count; ++index) {
            std::wstring text(
                static_cast<std::size_t>(::SendMessageW(control, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
            ::SendMessageW(control, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
            same = Utf8Text(text.c_str()) == item.entries[index].text;
        }
        if (!same) {
            ::SendMessageW(control, CB_RESETCONTENT, 0, 0);
            for (const DG::PopUpEntryModel& entry : item.entries) {
                ::SendMessageW(control, CB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(WideText(entry.text).c_str()));
            }
        }
        ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(item.selected - 1), 0);
    }
}

DialogWindow::Carried DialogWindow::Carry(const ScreenAction& action) {
    Carried outcome = Carried::NotPossible;
    std::visit(
        [&](const auto& what) {
            using Kind = std::decay_t<decltype(what)>;
            if constexpr (std::is_same_v<Kind, ClickItem> || std::is_same_v<Kind, CheckItem> ||
                          std::is_same_v<Kind, SelectEntry>) {
                const DG::ItemModel* item = ShownItem(what.item);
                HWND control = Control(what.item);
                if (item == nullptr || control == nullptr || !item->enabled) {
                    return;
                }
                const int id = ControlIdBase + what.item;
                if constexpr (std::is_same_v<Kind, ClickItem>) {
                    if (item->kind != DG::ItemKind::PushButton && item->kind != DG::ItemKind::CheckBox) {
                        return;
                    }
                    carried = action;
                    ::SendMessageW(control, BM_CLICK, 0, 0);
                } else if constexpr (std::is_same_v<Kind, CheckItem>) {
                    if (item->kind != DG::ItemKind::CheckBox) {
                        return;
                    }
                    carried = action;
                    ::SendMessageW(control, BM_SETCHECK, what.checked ? BST_CHECKED : BST_UNCHECKED, 0);
                    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                   reinterpret_cast<LPARAM>(control));
                } else {
                    const auto count = ::SendMessageW(control, CB_GETCOUNT, 0, 0);
                    if (item->kind != DG::ItemKind::PopUp || what.entry < 1 || what.entry > count) {
                        return;
                    }
                    carried = action;
                    ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(what.entry - 1), 0);
                    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                                   reinterpret_cast<LPARAM>(control));
                }
            } else if constexpr (std::is_same_v<Kind, ResizeDialog>) {
                if (shown.growType == DG::NoGrow) {
                    return;
                }
                carried = action;
                const SIZE size = WindowSizeFor(static_cast<Int16>(shown.width + what.dx),
                                                static_cast<Int16>(shown.height + what.dy));
                ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
                if (carried) {
                    // The size did not change (a border it cannot cross): DG still hears the drag.
                    Hand(*carried);
                }
            } else if constexpr (std::is_same_v<Kind, CloseDialog>) {
                carried = action;
                ::SendMessageW(window, WM_CLOSE, 0, 0);
            }
            outcome = carried ? Carried::Unanswered : Carried::OnControl;
        },
        action);
    carried.reset();
    return outcome;
}

void DialogWindow::Hand(const ScreenAction& action) {
    carried.reset();
    act(action);
}

void DialogWindow::Command(int id, int code, HWND control) {
    if (id == IDCANCEL) { // Esc
        Hand(carried.value_or(CloseDialog{DG::Cancel}));
        return;
    }
    const auto number = static_cast<Int16>(id - ControlIdBase);
    const DG::ItemModel* item = ShownItem(number);
    if (item == nullptr || control != Control(number)) {
        return;
    }
    if (carried) {
        if ((code == BN_CLICKED && item->kind != DG::ItemKind::PopUp) ||
            (code == CBN_SELCHANGE && item->kind == DG::ItemKind::PopUp)) {
            Hand(*carried);
        }
        return;
    }
    if (code == BN_CLICKED && item->kind == DG::ItemKind::PushButton) {
        Hand(ClickItem{number});
    } else if (code == BN_CLICKED && item->kind == DG::ItemKind::CheckBox) {
        Hand(CheckItem{number, ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED});
    } else if (code == CBN_SELCHANGE && item->kind == DG::ItemKind::PopUp) {
        Hand(SelectEntry{number, static_cast<Int16>(::SendMessageW(control, CB_GETCURSEL, 0, 0) + 1)});
    }
}

void DialogWindow::DrawEntry(const DRAWITEMSTRUCT& draw) const {
    const DG::ItemModel* item = ShownItem(static_cast<Int16>(draw.CtlID - ControlIdBase));
    const bool inList = item != nullptr && draw.itemID < item->entries.size();
    const bool enabled = inList && item->entries[draw.itemID].enabled && item->enabled;
    const bool highlighted = (draw.itemState & ODS_SELECTED) != 0 && enabled;
    ::FillRect(draw.hDC, &draw.rcItem, ::GetSysColorBrush(highlighted ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (!inList) {
        return;
    }
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::SetTextColor(draw.hDC, ::GetSysColor(!enabled      ? COLOR_GRAYTEXT
                                           : highlighted ? COLOR_HIGHLIGHTTEXT
                                                         : COLOR_WINDOWTEXT));
    RECT text = draw.rcItem;
    text.left += 3;
    const std::wstring entry = WideText(item->entries[draw.itemID].text);
    ::DrawTextW(draw.hDC, entry.c_str(), static_cast<int>(entry.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((draw.itemState & ODS_FOCUS) != 0 && (draw.itemState & ODS_NOFOCUSRECT) == 0) {
        ::DrawFocusRect(draw.hDC, &draw.rcItem);
    }
}

LRESULT DialogWindow::Receive(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case DM_GETDEFID:
        if (const Int16 button = DefaultButton(shown); button != 0) {
            return MAKELRESULT(ControlIdBase + button, DC_HASDEFID);
        }
        return 0;
    case WM_CLOSE:
        Hand(carried.value_or(CloseDialog{DG::Cancel}));
        return 0;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = POINT{minimum.cx, minimum.cy};
        if (shown.growType == DG::HGrow) {
            limits->ptMaxTrackSize.y = minimum.cy;
        } else if (shown.growType == DG::VGrow) {
            limits->ptMaxTrackSize.x = minimum.cx;
        }
        return 0;
    }
    case WM_ENTERSIZEMOVE:
        sizing = true;
        return 0;
    case WM_EXITSIZEMOVE:
    case WM_SIZE: {
        if (message == WM_EXITSIZEMOVE) {
            sizing = false;
        }
        const SIZE client = ClientSize();
        const bool changed = client.cx != shown.width || client.cy != shown.height;
        if (carried && std::holds_alternative<ResizeDialog>(*carried)) {
            Hand(*carried);
        } else if (changed && !showing && !sizing && wParam != SIZE_MINIMIZED && !carried) {
            Hand(ResizeDialog{static_cast<Int16>(client.cx - shown.width),
                              static_cast<Int16>(client.cy - shown.height)});
        }
        return 0;
    }
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measure->itemHeight = 18;
        return TRUE;
    }
    case WM_DRAWITEM:
        DrawEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace HostSim
