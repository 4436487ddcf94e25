#pragma once

#include "CallMonitor.hpp"
#include "GSTypes.hpp"

#include <concepts>
#include <string>

namespace DG {

// One DG operation as the host's call monitor sees it: reported when made, its result when done.
// Inside a HostWorkScope nothing is reported and nothing fails. Details and results are handed over
// as formatters (callables answering the text) that run only while a monitor watches, so a call that
// nobody records formats nothing: a pop-up filled with thousands of entries builds no text at all.
class CallReport {
public:
    template <std::invocable Format>
    CallReport(const char* operationName, Format&& formatDetails)
        : operation(operationName), active(Reporting()) {
        if (active) {
            const std::string details = formatDetails();
            answer = GS::ReportCall(operation, details.c_str());
        }
    }
    ~CallReport();
    CallReport(const CallReport&) = delete;
    CallReport& operator=(const CallReport&) = delete;

    // The code the monitor answered: the call must fail as its operation documents.
    bool Refused() const { return answer != NoError; }
    GSErrCode Answer() const { return answer; }

    // Only the first result given counts; without one, the report ends with "done" or "refused".
    void Result(const char* fixedResult);
    template <std::invocable Format>
    void Result(Format&& formatResult) {
        if (active && !resultGiven) {
            const std::string result = formatResult();
            Result(result.c_str());
        }
    }

    static bool Reporting();

private:
    const char* operation;
    bool active;
    bool resultGiven = false;
    GSErrCode answer = NoError;
};

// A quoted, escaped text for details and results.
std::string QuotedText(const std::string& utf8);

} // namespace DG
