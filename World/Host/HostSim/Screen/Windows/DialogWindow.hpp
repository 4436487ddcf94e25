#pragma once

#include "DialogModel.hpp"
#include "ObjectWindow.hpp"
#include "Screen/ScreenAction.hpp"
#include "Win32Api.hpp"

#include <functional>
#include <optional>
#include <vector>

namespace HostSim {

// A modal dialog drawn by Windows from the model DG read from the module's layout: a window with the
// layout's title and client size, one child control per item at the item's rectangle (push buttons,
// the first one the default; check boxes; a drop-down list per pop-up, its disabled entries greyed;
// static texts; etched separators; the module's icon images), a sizing border for a dialog that may
// grow, and its owner disabled while it is up.
//
// What the user does to the controls becomes the same action the command language names ("click 1",
// "select 4 2", ...), handed to `act`; the owner of the window then shows the model again, since DG's
// observers may have changed it.
class DialogWindow {
public:
    using ActionSink = std::function<void(const ScreenAction&)>;
    // The window class's name, for tools that look for the window.
    static constexpr const wchar_t* ClassName = L"HostSimDialog";
    // A control's id is its item's number plus this, clear of IDOK and IDCANCEL (Enter and Esc).
    static constexpr int ControlIdBase = 1000;

    DialogWindow(HWND owner, const DG::DialogModel& model, ActionSink act);
    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Null when Windows would not make the window.
    HWND Window() const { return window; }
    HWND Control(Int16 item) const;

    enum class Carried { OnControl, NotPossible, Unanswered };
    // Does a script's action to the control it names, as a person would: BM_CLICK on a button, a
    // check box's state or a drop-down list's selection set with the notification its parent hears,
    // the window resized, WM_CLOSE. NotPossible when no control can take it (no such item, another
    // kind, disabled, an entry outside the list, a dialog that cannot grow); Unanswered when the
    // control was given it but no notification came back.
    Carried Carry(const ScreenAction& action);
    // Brings the window and its controls to `model`.
    void Show(const DG::DialogModel& model);

private:
    template <typename Object>
    friend LRESULT CALLBACK ObjectWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Receive(UINT message, WPARAM wParam, LPARAM lParam);
    void Command(int id, int code, HWND control);
    void Hand(const ScreenAction& action);
    void CreateItem(const DG::ItemModel& item);
    void ShowItem(const DG::ItemModel& item);
    void FitPopUpHeight(HWND combo, Int16 height);
    void DrawEntry(const DRAWITEMSTRUCT& draw) const;
    SIZE WindowSizeFor(Int16 clientWidth, Int16 clientHeight) const;
    SIZE ClientSize() const;
    const DG::ItemModel* ShownItem(Int16 item) const;

    HWND owner;
    HWND window = nullptr;
    ActionSink act;
    DG::DialogModel shown;
    std::vector<HWND> controls; // by item number - 1
    std::vector<HICON> icons;
    std::optional<ScreenAction> carried;
    SIZE minimum{};
    bool showing = false;
    bool sizing = false;
    bool ownerWasEnabled = false;
};

} // namespace HostSim
