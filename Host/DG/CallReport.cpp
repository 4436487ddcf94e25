#include "CallReport.hpp"

#include "CallDetails.hpp"
#include "CallMonitor.hpp"
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

CallReport::CallReport(const char* name, const std::string& details) : operation(name), active(Reporting()) {
    if (active) {
        answer = GS::ReportCall(operation, details.c_str());
    }
}

CallReport::~CallReport() {
    if (active && !resultGiven) {
        GS::ReportResult(operation, Refused() ? "refused" : "done");
    }
}

void CallReport::Result(const std::string& result) {
    if (active && !resultGiven) {
        resultGiven = true;
        GS::ReportResult(operation, result.c_str());
    }
}

std::string ItemDetails(Int32 dialog, Int16 item) {
    return "dialog=" + std::to_string(dialog) + " item=" + std::to_string(item);
}

std::string QuotedText(const std::string& utf8) {
    return GS::CallDetails::Quote(utf8);
}

} // namespace DG
