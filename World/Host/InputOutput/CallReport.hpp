#pragma once

#include "CallDetails.hpp"
#include "CallMonitor.hpp"
#include "UniString.hpp"

#include <string>
#include <type_traits>

// How the InputOutput operations describe themselves to the call monitor. The texts are made only
// when a monitor is installed: a host that records nothing pays nothing for them.
namespace IO::CallReport {

inline std::string Quoted(const GS::UniString& text) {
    return GS::CallDetails::Quote(text.ToUTF8().Get());
}

// `text` is a fixed text, or a function that makes it.
template <typename Text>
std::string MakeText(Text&& text) {
    if constexpr (std::is_invocable_v<Text>) {
        return std::string(text());
    } else {
        return std::string(text);
    }
}

// Reports `operation` when a monitor is installed; the monitor's answer, or NoError.
template <typename Details>
GSErrCode Begin(const char* operation, Details&& details) {
    return GS::IsCallMonitorActive() ? GS::ReportCall(operation, MakeText(details).c_str()) : NoError;
}

template <typename Result>
void End(const char* operation, Result&& result) {
    if (GS::IsCallMonitorActive()) {
        GS::ReportResult(operation, MakeText(result).c_str());
    }
}

} // namespace IO::CallReport
