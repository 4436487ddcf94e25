#pragma once

#include "Record/RunTimings.hpp"
#include "Record/Transcript.hpp"
#include "Screen/CommandSource.hpp"
#include "Screen/ScreenAction.hpp"
#include "Snapshots/DialogSnapshot.hpp"
#include "UIDriver.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace HostSim {

// hostsim's one UI driver, with two faces on the same command language: a script's lines, or a person
// at the terminal, who sees each alert and dialog drawn as text (`screen`) before typing. Every alert
// and dialog is recorded in the transcript (alert, dialog-open, dialog-action, dialog-state,
// dialog-close, dialog-error, dont-show-again).
//
// A line that does not fit what is on screen is an error naming both. In a script it ends the script:
// the alert then answers its last button, open dialogs close with Cancel (2), alerts and dialogs
// that follow answer at once the same way, and no further line is read. A script that ends while an
// alert or dialog is up is an error naming it, with the same consequences.
class ScreenDriver : public DG::UIDriver {
public:
    // Reports an unusable line: source name, line number, message, the line.
    using ErrorReporter =
        std::function<void(const std::string&, unsigned, const std::string&, const std::string&)>;

    ScreenDriver(CommandSource& source, Transcript& transcript, std::ostream& console, std::ostream* screen,
                 ErrorReporter reportError);
    ~ScreenDriver() override;

    void SetSnapshots(std::unique_ptr<SnapshotWriter> writer) { snapshots = std::move(writer); }
    // Where the time spent waiting for the user's actions is added; null: not measured.
    void SetTimings(RunTimings* runTimings) { timings = runTimings; }
    // True once a script was given up (the run is then a script error).
    bool ScriptAbandoned() const { return abandoned; }

    Int16 RunAlert(const DG::AlertRequest& request) override;
    void RunModalDialog(DG::DialogSession& session) override;
    void DialogRejected(Int32 dialog, const std::string& message) override;
    void DontShowAgainDecided(const DG::DontShowAgainReport& report) override;

protected:
    // The next action for what is up, or nothing when the script was given up.
    std::optional<ScreenAction> NextAction(Screen screen, const std::string& onScreen);
    std::optional<ScreenAction> WaitForAction(Screen screen, const std::string& onScreen);
    void Abandon(const std::string& message, const std::string& line);
    // Hands the action to DG and records it with the dialog's state after it.
    void Perform(DG::DialogSession& session, const ScreenAction& action);
    void RecordDialog(const char* event, const DG::DialogModel& model, Json extra = Json::object());
    void RecordAlert(const DG::AlertRequest& request, Int16 answer);
    void RecordClose(Int32 dialog, const std::string& title, Int32 response);
    // Draws on the terminal; for a script nothing is drawn, nor even made. Another face draws elsewhere.
    virtual void Draw(const DG::AlertRequest& request);
    virtual void Draw(const DG::DialogModel& model);
    // What becomes of a script's action on what is drawn: here it goes to DG at once; another face
    // may do it to its own controls first.
    virtual void Carry(DG::DialogSession& session, const ScreenAction& action);
    // The script chose the alert's button `button`: the answer. Another face presses its own button.
    virtual Int16 Press(const DG::AlertRequest& request, Int16 button);
    // `show`: draws on the terminal, or for a script on the console.
    void Show(const std::string& picture);
    bool IsPerson() const { return source.IsInteractive(); }
    std::ostream& Console() { return console; }

private:
    CommandSource& source;
    Transcript& transcript;
    std::ostream& console;
    std::ostream* screen;
    ErrorReporter reportError;
    std::unique_ptr<SnapshotWriter> snapshots;
    RunTimings* timings = nullptr;
    bool abandoned = false;
};

// Installs a driver for the life of the scope.
class UIDriverInstallation {
public:
    explicit UIDriverInstallation(DG::UIDriver& driver);
    ~UIDriverInstallation();
    UIDriverInstallation(const UIDriverInstallation&) = delete;
    UIDriverInstallation& operator=(const UIDriverInstallation&) = delete;
};

// The button an alert answers when nobody presses one: its last button with a text.
Int16 LastAlertButton(const DG::AlertRequest& request);
// "Warning \"HEADLINE\"": the alert as a message names it.
std::string AlertName(const DG::AlertRequest& request);

} // namespace HostSim
