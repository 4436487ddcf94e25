#pragma once

#include "DGExport.hpp"
#include "DialogModel.hpp"
#include "GSTypes.hpp"

#include <string>
#include <vector>

// How DG meets the user. Every alert and every modal dialog goes to the one driver the host
// installed; the driver shows it (to a person, or to a script) and answers. What DG hands a driver
// is DG's, read through const references for the length of the call.
namespace DG {

enum class AlertCall { DGAlert, WarningAlert };

struct AlertRequest {
    AlertCall call = AlertCall::DGAlert;
    bool hasAlertType = false; // DGAlert has one, WarningAlert none
    Int16 alertType = 0;
    // Every text in the call's argument order, UTF-8.
    std::vector<std::string> texts;
    // The three button texts (empty for a button that is not shown).
    std::vector<std::string> buttons;
};

// The dialog on screen during Invoke. Every action does what the user's action would, notifications
// included, and returns false, with the reason in Refusal(), when the user could not have done it.
class DG_API DialogSession {
public:
    virtual ~DialogSession();
    virtual const DialogModel& Model() const = 0;
    virtual bool IsCloseRequested() const = 0;
    virtual Int32 CloseResponse() const = 0;
    virtual const std::string& Refusal() const = 0;

    // The user picks entry `entry` of pop-up `item` (refused for a disabled entry or item).
    virtual bool Select(Int16 item, Int16 entry) = 0;
    // The user clicks a push button, or a check box (which toggles it); refused when disabled.
    virtual bool Click(Int16 item) = 0;
    virtual bool Check(Int16 item, bool checked) = 0;
    // The user drags the dialog's corner by (dx, dy); refused for a dialog that cannot grow.
    virtual bool Resize(Int16 dx, Int16 dy) = 0;
    // The user closes the window: observers hear PanelCloseRequested, then the dialog closes with
    // `response` (a positive number; 1 counts as OK).
    virtual bool Close(Int32 response) = 0;
};

struct DontShowAgainReport {
    Int32 dialog = 0;
    std::string key;
    bool shown = false;
    bool suppressedAfterwards = false; // what the store holds afterwards, not what was asked for
    bool ticked = false;               // the person ticked "Don't show this dialog again."
};

class DG_API UIDriver {
public:
    virtual ~UIDriver();
    // Returns the 1-based number of the button pressed; a number of a button without text counts as 1.
    virtual Int16 RunAlert(const AlertRequest& request) = 0;
    // Returns when the session's close was requested; a driver that returns earlier closes the dialog
    // with Cancel.
    virtual void RunModalDialog(DialogSession& session) = 0;
    // A dialog layout that could not be read (the message names resource, item and byte offset).
    virtual void DialogRejected(Int32 dialog, const std::string& message);
    // The don't-show-again utility decided about its dialog.
    virtual void DontShowAgainDecided(const DontShowAgainReport& report);
};

// Host-side. The driver must outlive its installation; null removes it. Alerts then answer their
// first button and dialogs close with Cancel.
DG_API void SetUIDriver(UIDriver* driver);
DG_API UIDriver* GetUIDriver();

// Host-side: while one exists (on this thread), DG's operations do not report themselves to the call
// monitor. The host's own libraries use it when they drive dialogs for an add-on (UD does), so that
// the transcript and --fail see the add-on's call, not the host's inner ones.
class DG_API HostWorkScope {
public:
    HostWorkScope();
    ~HostWorkScope();
    HostWorkScope(const HostWorkScope&) = delete;
    HostWorkScope& operator=(const HostWorkScope&) = delete;
};

class Panel;
// Host-side: the model of a dialog's panel; null for an invalid dialog.
DG_API const DialogModel* FindDialogModel(const Panel& panel);

} // namespace DG
