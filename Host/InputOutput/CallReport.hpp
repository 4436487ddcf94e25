#pragma once

#include "CallDetails.hpp"
#include "CallMonitor.hpp"
#include "UniString.hpp"

#include <string>

// How the InputOutput operations describe themselves to the call monitor.
namespace IO::CallReport {

inline std::string Quoted(const GS::UniString& text) {
    return GS::CallDetails::Quote(text.ToUTF8().Get());
}

// Reports `operation` when a monitor is installed; the monitor's answer, or NoError.
inline GSErrCode Begin(const char* operation, const std::string& details) {
    return GS::IsCallMonitorActive() ? GS::ReportCall(operation, details.c_str()) : NoError;
}

inline void End(const char* operation, const std::string& result) {
    if (GS::IsCallMonitorActive()) {
        GS::ReportResult(operation, result.c_str());
    }
}

} // namespace IO::CallReport
