#include "Record/DebugLineCollector.hpp"

#include "DebugOutput.hpp"

#include <utility>

namespace HostSim {

DebugLineCollector::DebugLineCollector(Transcript& output, std::ostream& consoleStream, CallerName caller)
    : transcript(output), console(consoleStream), callerName(std::move(caller)) {}

DebugLineCollector::~DebugLineCollector() {
    Flush();
}

void DebugLineCollector::Receive(const char* utf8Text) {
    if (utf8Text == nullptr) {
        return;
    }
    std::string text(utf8Text);
    console << text << std::flush;
    if (partialLine.empty()) {
        partialLineModule = callerName();
    }
    std::size_t start = 0;
    for (std::size_t newline = text.find('\n'); newline != std::string::npos;
         newline = text.find('\n', start)) {
        partialLine.append(text, start, newline - start);
        WriteLine(partialLine);
        partialLine.clear();
        partialLineModule = callerName();
        start = newline + 1;
    }
    partialLine.append(text, start, std::string::npos);
}

void DebugLineCollector::Flush() {
    if (!partialLine.empty()) {
        WriteLine(partialLine);
        partialLine.clear();
    }
}

void DebugLineCollector::WriteLine(const std::string& line) {
    Json fields;
    fields["text"] = line;
    if (!partialLineModule.empty()) {
        fields["module"] = partialLineModule;
    }
    transcript.Write("debug", fields);
}

namespace {

void ForwardToCollector(const char* utf8Text, void* context) {
    static_cast<DebugLineCollector*>(context)->Receive(utf8Text);
}

} // namespace

DebugSinkInstallation::DebugSinkInstallation(DebugLineCollector& collector) {
    GS::SetDebugSink(ForwardToCollector, &collector);
}

DebugSinkInstallation::~DebugSinkInstallation() {
    GS::SetDebugSink(nullptr, nullptr);
}

} // namespace HostSim
