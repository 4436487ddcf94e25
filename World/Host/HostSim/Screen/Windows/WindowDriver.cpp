#include "Screen/Windows/WindowDriver.hpp"

namespace HostSim {

WindowDriver::WindowDriver(CommandSource& commandSource, Transcript& output, std::ostream& consoleStream,
                           ErrorReporter reporter)
    : ScreenDriver(commandSource, output, consoleStream, nullptr, std::move(reporter)) {}

WindowDriver::~WindowDriver() = default;

template <typename Done>
void WindowDriver::WaitFor(HWND window, Done done) {
    MSG message{};
    while (!done()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT belongs to the main loop: it is posted again for it once this window is gone.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got < 0) {
            return;
        }
        if (!::IsDialogMessageW(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

Int16 WindowDriver::RunAlert(const DG::AlertRequest& request) {
    if (!IsPerson()) {
        const Int16 answer = ScreenDriver::RunAlert(request); // draws and presses through this face
        alert.reset();
        return answer;
    }
    const Int16 last = LastAlertButton(request);
    AlertWindow window(owner, request, last);
    if (window.Window() == nullptr) {
        Console() << "hostsim: Windows would not make the alert's window; it answers " << last << std::endl;
        RecordAlert(request, last);
        return last;
    }
    WaitFor(window.Window(), [&window] { return window.Pressed() != 0; });
    const Int16 answer = window.Pressed() != 0 ? window.Pressed() : last;
    RecordAlert(request, answer);
    return answer;
}

void WindowDriver::Draw(const DG::AlertRequest& request) {
    alert = std::make_unique<AlertWindow>(owner, request, LastAlertButton(request));
    if (alert->Window() == nullptr) {
        Console() << "hostsim: Windows would not make the window of the alert " << AlertName(request)
                  << std::endl;
        alert.reset();
    }
}

Int16 WindowDriver::Press(const DG::AlertRequest& request, Int16 button) {
    if (!alert) {
        return button;
    }
    alert->Press(button);
    if (alert->Pressed() != button) {
        Console() << "hostsim: button " << button << " of the alert " << AlertName(request)
                  << " did not answer its click" << std::endl;
    }
    return button;
}

void WindowDriver::RunModalDialog(DG::DialogSession& current) {
    DG::DialogSession* const outer = session;
    std::unique_ptr<DialogWindow> outerWindow = std::move(dialog);
    session = &current;
    if (!IsPerson()) {
        ScreenDriver::RunModalDialog(current); // draws and carries out the script's lines through this face
    } else {
        const DG::DialogModel& model = current.Model();
        const Int32 number = model.number;
        const std::string title = model.title;
        RecordDialog("dialog-open", model);
        Draw(model);
        if (dialog) {
            WaitFor(dialog->Window(), [&current] { return current.IsCloseRequested(); });
        } else {
            Console() << "hostsim: Windows would not make the dialog's window; it closes with Cancel"
                      << std::endl;
        }
        RecordClose(number, title, current.IsCloseRequested() ? current.CloseResponse() : DG::Cancel);
    }
    dialog = std::move(outerWindow);
    session = outer;
}

void WindowDriver::Draw(const DG::DialogModel& model) {
    if (dialog) {
        dialog->Show(model);
        return;
    }
    DG::DialogSession* const current = session;
    dialog = std::make_unique<DialogWindow>(owner, model, [this, current](const ScreenAction& action) {
        Perform(*current, action);
        if (!current->IsCloseRequested() && dialog) {
            dialog->Show(current->Model());
        }
    });
    if (dialog->Window() == nullptr) {
        Console() << "hostsim: Windows would not make the window of the dialog " << model.number << std::endl;
        dialog.reset();
    }
}

void WindowDriver::Carry(DG::DialogSession& current, const ScreenAction& action) {
    const DialogWindow::Carried carried = dialog ? dialog->Carry(action) : DialogWindow::Carried::NotPossible;
    if (carried == DialogWindow::Carried::OnControl) {
        return;
    }
    if (carried == DialogWindow::Carried::Unanswered) {
        Console() << "hostsim: " << DescribeAction(action) << ": the dialog's control did not answer"
                  << std::endl;
    }
    // Nothing on screen could take it (a disabled item, one that does not exist, ...): DG hears it as
    // it would from the text face, and refuses it for the same reason.
    Perform(current, action);
}

} // namespace HostSim
