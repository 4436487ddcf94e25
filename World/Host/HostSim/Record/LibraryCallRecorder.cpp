#include "Record/LibraryCallRecorder.hpp"

#include "Record/LaunchEvent.hpp"
#include "Record/ReadableText.hpp"

#include <utility>

namespace HostSim {

LibraryCallRecorder::LibraryCallRecorder(Transcript& output, FaultPlan& plan, CallerName caller)
    : transcript(output), faults(plan), callerName(std::move(caller)) {}

LibraryCallRecorder::~LibraryCallRecorder() {
    Flush();
}

GSErrCode LibraryCallRecorder::OnCall(const char* operation, const char* details) {
    if (hostWorkDepth > 0) {
        return NoError;
    }
    PendingCall call{++sequence, operation != nullptr ? operation : "", details != nullptr ? details : "",
                     callerName(), std::nullopt};
    call.injected = faults.OnCall(call.operation);
    const GSErrCode answer = call.injected.value_or(NoError);
    pending.push_back(std::move(call));
    return answer;
}

void LibraryCallRecorder::OnResult(const char* operation, const char* result) {
    if (hostWorkDepth > 0) {
        return;
    }
    const std::string name = operation != nullptr ? operation : "";
    for (std::size_t index = pending.size(); index-- > 0;) {
        if (pending[index].operation != name) {
            continue;
        }
        // Calls opened after this one and never closed are written first, without a result.
        for (std::size_t inner = index + 1; inner < pending.size(); ++inner) {
            Write(pending[inner], std::nullopt);
        }
        Write(pending[index], std::string(result != nullptr ? result : ""));
        pending.resize(index);
        return;
    }
}

void LibraryCallRecorder::Flush() {
    for (const PendingCall& call : pending) {
        Write(call, std::nullopt);
    }
    pending.clear();
}

void LibraryCallRecorder::Write(const PendingCall& call, const std::optional<std::string>& result) {
    Json fields;
    fields["op"] = call.operation;
    fields["details"] = call.details;
    if (result) {
        fields["result"] = *result;
    } else if (call.injected) {
        fields["result"] = FormatResultCodeHex(*call.injected);
    } else {
        fields["result"] = nullptr;
    }
    if (call.injected) {
        fields["injected"] = *call.injected;
    }
    if (!call.module.empty()) {
        fields["module"] = call.module;
    }
    fields["sequence"] = call.sequence;
    transcript.Write("library-call", fields);
    if (call.operation == ApplicationLaunchOperation) {
        WriteLaunch(call, result);
    }
}

// The process start on its own line, with the arguments as the started program receives them.
void LibraryCallRecorder::WriteLaunch(const PendingCall& call, const std::optional<std::string>& result) {
    Json fields;
    if (!call.module.empty()) {
        fields["module"] = call.module;
    }
    if (std::optional<Json> launch = LaunchEventFields(call.details, result)) {
        fields.update(*launch);
    } else {
        fields["result"] = "unknown";
        fields["details"] = call.details;
    }
    if (call.injected) {
        fields["injected"] = *call.injected;
    }
    transcript.Write("launch", fields);
}

LibraryCallRecorder::HostWork::HostWork(LibraryCallRecorder& owner) : recorder(owner) {
    ++recorder.hostWorkDepth;
}

LibraryCallRecorder::HostWork::~HostWork() {
    --recorder.hostWorkDepth;
}

CallMonitorInstallation::CallMonitorInstallation(GS::CallMonitor& monitor) {
    GS::SetCallMonitor(&monitor);
}

CallMonitorInstallation::~CallMonitorInstallation() {
    GS::SetCallMonitor(nullptr);
}

} // namespace HostSim
