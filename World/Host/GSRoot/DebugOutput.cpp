#include "DebugOutput.hpp"

#include "CallDetails.hpp"
#include "CallMonitor.hpp"
#include "DebugFormat.hpp"
#include "SystemDebugger.hpp"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

namespace GS {

namespace {

struct SinkSetting {
    std::mutex mutex;
    DebugSink sink = nullptr;
    void* context = nullptr;
};

SinkSetting& GetSinkSetting() {
    static SinkSetting* setting = new SinkSetting;
    return *setting;
}

void Emit(const std::string& text) {
    WriteToSystemDebugger(text);
    SinkSetting& setting = GetSinkSetting();
    DebugSink sink = nullptr;
    void* context = nullptr;
    {
        std::lock_guard lock(setting.mutex);
        sink = setting.sink;
        context = setting.context;
    }
    if (sink != nullptr) {
        sink(text.c_str(), context);
    } else {
        std::fputs(text.c_str(), stderr);
        std::fflush(stderr);
    }
}

} // namespace

void SetDebugSink(DebugSink sink, void* context) {
    SinkSetting& setting = GetSinkSetting();
    std::lock_guard lock(setting.mutex);
    setting.sink = sink;
    setting.context = context;
}

} // namespace GS

void DBPrintf(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    const std::string text = GS::FormatDebugText(format, arguments);
    va_end(arguments);
    // Debug output cannot fail: the monitor's answer is not asked for.
    const bool monitored = GS::IsCallMonitorActive();
    if (monitored) {
        GS::ReportCall("DBPrintf", ("text=" + GS::CallDetails::Quote(text)).c_str());
    }
    GS::Emit(text);
    if (monitored) {
        GS::ReportResult("DBPrintf", "printed");
    }
}
