#pragma once

#include "GSTypes.hpp"

#include <string>

namespace DG {

// One DG operation as the host's call monitor sees it: reported when made, its result when done.
// Inside a HostWorkScope nothing is reported and nothing fails.
class CallReport {
public:
    CallReport(const char* operation, const std::string& details);
    ~CallReport();
    CallReport(const CallReport&) = delete;
    CallReport& operator=(const CallReport&) = delete;

    // The code the monitor answered: the call must fail as its operation documents.
    bool Refused() const { return answer != NoError; }
    GSErrCode Answer() const { return answer; }
    void Result(const std::string& result);

    static bool Reporting();

private:
    const char* operation;
    bool active;
    bool resultGiven = false;
    GSErrCode answer = NoError;
};

// `dialog=7001 item=4`, the way every item operation describes its item.
std::string ItemDetails(Int32 dialog, Int16 item);
// A quoted, escaped text for details and results.
std::string QuotedText(const std::string& utf8);

} // namespace DG
