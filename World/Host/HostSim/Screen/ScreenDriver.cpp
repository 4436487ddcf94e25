#include "Screen/ScreenDriver.hpp"

#include "Screen/DialogJson.hpp"
#include "Screen/DialogText.hpp"

#include <type_traits>

namespace HostSim {

Int16 LastAlertButton(const DG::AlertRequest& request) {
    for (std::size_t index = request.buttons.size(); index > 1; --index) {
        if (!request.buttons[index - 1].empty()) {
            return static_cast<Int16>(index);
        }
    }
    return 1;
}

std::string AlertName(const DG::AlertRequest& request) {
    const std::string headline = request.texts.empty() ? std::string() : request.texts[0];
    return AlertTitle(request) + (headline.empty() ? "" : " \"" + headline + "\"");
}

ScreenDriver::ScreenDriver(CommandSource& commandSource, Transcript& output, std::ostream& consoleStream,
                           std::ostream* screenStream, ErrorReporter reporter)
    : source(commandSource), transcript(output), console(consoleStream), screen(screenStream),
      reportError(std::move(reporter)) {}

ScreenDriver::~ScreenDriver() = default;

void ScreenDriver::Draw(const DG::AlertRequest& request) {
    if (screen != nullptr) {
        *screen << AlertAsText(request) << std::flush;
    }
}

void ScreenDriver::Draw(const DG::DialogModel& model) {
    if (screen != nullptr) {
        *screen << DialogAsText(model) << std::flush;
    }
}

void ScreenDriver::Show(const std::string& picture) {
    std::ostream& out = screen != nullptr ? *screen : console;
    out << picture << std::flush;
}

void ScreenDriver::Abandon(const std::string& message, const std::string& line) {
    reportError(source.Name(), source.LineNumber(), message, line);
    abandoned = true;
    source.Stop();
}

std::optional<ScreenAction> ScreenDriver::NextAction(Screen what, const std::string& onScreen) {
    const Stopwatch watch;
    std::optional<ScreenAction> action = WaitForAction(what, onScreen);
    if (timings != nullptr) {
        timings->AddUiWait(watch.Elapsed());
    }
    return action;
}

std::optional<ScreenAction> ScreenDriver::WaitForAction(Screen what, const std::string& onScreen) {
    while (!abandoned) {
        std::optional<std::string> line = source.NextLine();
        if (!line) {
            Abandon(std::string("the commands ended while ") +
                        (what == Screen::Alert ? "an alert" : "a dialog") + " is up: " + onScreen,
                    "");
            return std::nullopt;
        }
        if (IsHelpLine(*line)) {
            console << "hostsim: " << (what == Screen::Alert ? "an alert" : "a dialog")
                    << " is up: " << onScreen << "; it accepts " << AcceptedCommands(what) << std::endl;
            continue;
        }
        ScreenLine parsed = ParseScreenLine(*line, what);
        if (parsed.empty) {
            continue;
        }
        if (!parsed.IsError()) {
            return parsed.action;
        }
        const std::string message = parsed.error + ": " + onScreen;
        if (!source.IsInteractive()) {
            Abandon(message, *line);
            return std::nullopt;
        }
        reportError(source.Name(), source.LineNumber(), message, *line);
        // A person is told what would be taken, and how to be done with what is up.
        console << "hostsim: it accepts " << AcceptedCommands(what)
                << (what == Screen::Alert ? " (a button closes the alert)"
                                          : " (close RESPONSE closes the dialog)")
                << std::endl;
    }
    return std::nullopt;
}

Int16 ScreenDriver::RunAlert(const DG::AlertRequest& request) {
    Int16 answer = LastAlertButton(request);
    Draw(request);
    while (std::optional<ScreenAction> action = NextAction(Screen::Alert, AlertName(request))) {
        if (std::holds_alternative<ShowScreen>(*action)) {
            Show(AlertAsText(request));
            continue;
        }
        const Int16 pressed = std::get<PressButton>(*action).button;
        if (request.buttons[static_cast<std::size_t>(pressed - 1)].empty()) {
            const std::string message =
                "the alert has no button " + std::to_string(pressed) + ": " + AlertName(request);
            if (!source.IsInteractive()) {
                Abandon(message, DescribeAction(*action));
                break;
            }
            reportError(source.Name(), source.LineNumber(), message, DescribeAction(*action));
            continue;
        }
        answer = Press(request, pressed);
        break;
    }
    RecordAlert(request, answer);
    return answer;
}

Int16 ScreenDriver::Press(const DG::AlertRequest& /*request*/, Int16 button) {
    return button;
}

void ScreenDriver::RecordAlert(const DG::AlertRequest& request, Int16 answer) {
    if (transcript.IsOpen()) {
        Json fields = AlertFields(request);
        fields["response"] = answer;
        if (abandoned) {
            fields["abandoned"] = true;
        }
        transcript.Write("alert", fields);
    }
}

void ScreenDriver::RecordDialog(const char* event, const DG::DialogModel& model, Json extra) {
    if (transcript.IsOpen()) {
        Json fields = DialogFields(model);
        fields.update(extra);
        transcript.Write(event, fields);
    }
    if (snapshots) {
        if (std::string error = snapshots->Write(model, event); !error.empty()) {
            console << "hostsim: " << error << std::endl;
        }
    }
}

void ScreenDriver::Perform(DG::DialogSession& session, const ScreenAction& action) {
    bool accepted = true;
    std::visit(
        [&](const auto& what) {
            using Kind = std::decay_t<decltype(what)>;
            if constexpr (std::is_same_v<Kind, SelectEntry>) {
                accepted = session.Select(what.item, what.entry);
            } else if constexpr (std::is_same_v<Kind, ClickItem>) {
                accepted = session.Click(what.item);
            } else if constexpr (std::is_same_v<Kind, CheckItem>) {
                accepted = session.Check(what.item, what.checked);
            } else if constexpr (std::is_same_v<Kind, ResizeDialog>) {
                accepted = session.Resize(what.dx, what.dy);
            } else if constexpr (std::is_same_v<Kind, CloseDialog>) {
                accepted = session.Close(what.response);
            }
        },
        action);
    if (!accepted) {
        console << "hostsim: " << DescribeAction(action) << ": " << session.Refusal() << std::endl;
    }
    if (transcript.IsOpen()) {
        Json fields;
        fields["dialog"] = session.Model().number;
        fields["command"] = DescribeAction(action);
        fields["accepted"] = accepted;
        if (!accepted) {
            fields["refusal"] = session.Refusal();
        }
        transcript.Write("dialog-action", fields);
    }
    RecordDialog("dialog-state", session.Model());
}

void ScreenDriver::RunModalDialog(DG::DialogSession& session) {
    const Int32 number = session.Model().number;
    const std::string name = session.Model().title;
    RecordDialog("dialog-open", session.Model());
    Draw(session.Model());
    while (!session.IsCloseRequested()) {
        std::optional<ScreenAction> action = NextAction(Screen::Dialog, name);
        if (!action) {
            break;
        }
        if (std::holds_alternative<ShowScreen>(*action)) {
            Show(DialogAsText(session.Model()));
            continue;
        }
        Carry(session, *action);
        if (!session.IsCloseRequested()) {
            Draw(session.Model());
        }
    }
    RecordClose(number, name, session.IsCloseRequested() ? session.CloseResponse() : DG::Cancel);
}

void ScreenDriver::Carry(DG::DialogSession& session, const ScreenAction& action) {
    Perform(session, action);
}

void ScreenDriver::RecordClose(Int32 dialog, const std::string& title, Int32 response) {
    Json fields;
    fields["dialog"] = dialog;
    fields["title"] = title;
    fields["response"] = response;
    if (abandoned) {
        fields["abandoned"] = true;
    }
    transcript.Write("dialog-close", fields);
}

void ScreenDriver::DialogRejected(Int32 dialog, const std::string& message) {
    Json fields;
    fields["dialog"] = dialog;
    fields["message"] = message;
    transcript.Write("dialog-error", fields);
    console << "hostsim: dialog " << dialog << " cannot be shown: " << message << std::endl;
}

void ScreenDriver::DontShowAgainDecided(const DG::DontShowAgainReport& report) {
    Json fields;
    fields["dialog"] = report.dialog;
    fields["key"] = report.key;
    fields["shown"] = report.shown;
    fields["suppressed"] = report.suppressedAfterwards;
    fields["ticked"] = report.ticked;
    transcript.Write("dont-show-again", fields);
}

UIDriverInstallation::UIDriverInstallation(DG::UIDriver& driver) {
    DG::SetUIDriver(&driver);
}

UIDriverInstallation::~UIDriverInstallation() {
    DG::SetUIDriver(nullptr);
}

} // namespace HostSim
