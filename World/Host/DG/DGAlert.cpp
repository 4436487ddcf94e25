#include "DGAlert.hpp"

#include "CallReport.hpp"
#include "UIDriver.hpp"

#include <array>

namespace DG {

namespace {

std::string Utf8(const GS::UniString& text) {
    return text.ToUTF8().Get();
}

bool HasButton(const AlertRequest& request, Int16 number) {
    return number >= 1 && number <= 3 && !request.buttons[static_cast<std::size_t>(number - 1)].empty();
}

Int16 LastButton(const AlertRequest& request) {
    for (Int16 number = 3; number > 1; --number) {
        if (HasButton(request, number)) {
            return number;
        }
    }
    return 1;
}

std::string Describe(const AlertRequest& request) {
    std::string details;
    if (request.hasAlertType) {
        details = "type=" + std::to_string(request.alertType) + " ";
    }
    details += "texts=[";
    for (std::size_t index = 0; index < request.texts.size(); ++index) {
        details += (index > 0 ? " " : "") + QuotedText(request.texts[index]);
    }
    return details + "]";
}

// Shows the alert through the driver; the answer is always a button the alert has.
Int16 RunAlert(const char* operation, AlertRequest& request) {
    bool anyButton = false;
    for (const std::string& button : request.buttons) {
        anyButton = anyButton || !button.empty();
    }
    if (!anyButton) {
        request.buttons[0] = "OK";
    }
    CallReport report(operation, [&] { return Describe(request); });
    Int16 answer = 1;
    if (report.Refused()) {
        answer = LastButton(request);
        report.Result([&] { return "shown=false button=" + std::to_string(answer); });
        return answer;
    }
    if (UIDriver* driver = GetUIDriver()) {
        answer = driver->RunAlert(request);
        if (!HasButton(request, answer)) {
            answer = 1;
        }
    }
    report.Result([&] { return "button=" + std::to_string(answer); });
    return answer;
}

} // namespace

AlertResponse WarningAlert(const GS::UniString& largeText, const GS::UniString& smallText,
                           const GS::UniString& button1, const GS::UniString& button2,
                           const GS::UniString& button3) {
    AlertRequest request;
    request.call = AlertCall::WarningAlert;
    request.texts = {Utf8(largeText), Utf8(smallText), Utf8(button1), Utf8(button2), Utf8(button3)};
    request.buttons = {request.texts[2], request.texts[3], request.texts[4]};
    return static_cast<AlertResponse>(RunAlert("DG::WarningAlert", request));
}

} // namespace DG

Int16 DGAlert(Int16 alertType, const GS::UniString& largeText, const GS::UniString& smallText,
              const GS::UniString& moreText, const GS::UniString& button1, const GS::UniString& button2,
              const GS::UniString& button3) {
    DG::AlertRequest request;
    request.call = DG::AlertCall::DGAlert;
    request.hasAlertType = true;
    request.alertType = alertType;
    request.texts = {DG::Utf8(largeText), DG::Utf8(smallText), DG::Utf8(moreText),
                     DG::Utf8(button1),   DG::Utf8(button2),   DG::Utf8(button3)};
    request.buttons = {request.texts[3], request.texts[4], request.texts[5]};
    return DG::RunAlert("DGAlert", request);
}
