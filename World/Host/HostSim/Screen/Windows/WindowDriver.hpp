#pragma once

#include "Screen/ScreenDriver.hpp"
#include "Screen/Windows/AlertWindow.hpp"
#include "Screen/Windows/DialogWindow.hpp"

#include <memory>

namespace HostSim {

// hostsim's window face: every alert and dialog is a real window, owned by the main window and modal
// to it. A person answers with the mouse and keyboard; a script's lines are done to the windows'
// controls, whose notifications reach DG as a person's would. Either way the actions reach DG and the
// transcript through the same steps as the text face's, so a scripted run records the same events.
// Where Windows would not make a window (no display), the alert or dialog falls back to text.
class WindowDriver : public ScreenDriver {
public:
    // A `source` that is interactive stands for a person at the windows: its lines are never read.
    WindowDriver(CommandSource& source, Transcript& transcript, std::ostream& console,
                 ErrorReporter reportError);
    ~WindowDriver() override;

    void SetOwner(HWND window) { owner = window; }

    Int16 RunAlert(const DG::AlertRequest& request) override;
    void RunModalDialog(DG::DialogSession& session) override;

private:
    void Draw(const DG::AlertRequest& request) override;
    void Draw(const DG::DialogModel& model) override;
    void Carry(DG::DialogSession& session, const ScreenAction& action) override;
    Int16 Press(const DG::AlertRequest& request, Int16 button) override;
    // The person's turn: messages are dispatched until `done` says so (or the program is told to quit).
    template <typename Done>
    void WaitFor(HWND window, Done done);

    HWND owner = nullptr;
    DG::DialogSession* session = nullptr;
    std::unique_ptr<DialogWindow> dialog;
    std::unique_ptr<AlertWindow> alert;
};

} // namespace HostSim
