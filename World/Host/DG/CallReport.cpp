#include "CallReport.hpp"

#include "CallDetails.hpp"
#include "UIDriver.hpp"

namespace DG {

namespace {
thread_local int hostWorkDepth = 0;
}

HostWorkScope::HostWorkScope() {
    ++hostWorkDepth;
}

HostWorkScope::~HostWorkScope() {
    --hostWorkDepth;
}

bool CallReport::Reporting() {
    return hostWorkDepth == 0 && GS::IsCallMonitorActive();
}

CallReport::~CallReport() {
    if (active && !resultGiven) {
        GS::ReportResult(operation, Refused() ? "refused" : "done");
    }
}

void CallReport::Result(const char* fixedResult) {
    if (active && !resultGiven) {
        resultGiven = true;
        GS::ReportResult(operation, fixedResult);
    }
}

std::string QuotedText(const std::string& utf8) {
    return GS::CallDetails::Quote(utf8);
}

} // namespace DG
