#include "CallMonitor.hpp"

#include <atomic>

namespace GS {

namespace {

std::atomic<CallMonitor*> installedMonitor{nullptr};

// A monitor that itself calls a reporting library function (DBPrintf to log, say) must not be
// asked about that inner call again, or it would recurse without end.
thread_local bool insideMonitor = false;

class InsideMonitor {
public:
    InsideMonitor() { insideMonitor = true; }
    ~InsideMonitor() { insideMonitor = false; }
    InsideMonitor(const InsideMonitor&) = delete;
    InsideMonitor& operator=(const InsideMonitor&) = delete;
};

} // namespace

CallMonitor::~CallMonitor() = default;

void CallMonitor::OnResult(const char* /*operation*/, const char* /*result*/) {}

void SetCallMonitor(CallMonitor* monitor) {
    installedMonitor.store(monitor);
}

bool IsCallMonitorActive() {
    return !insideMonitor && installedMonitor.load() != nullptr;
}

GSErrCode ReportCall(const char* operation, const char* details) {
    CallMonitor* monitor = installedMonitor.load();
    if (monitor == nullptr || insideMonitor) {
        return NoError;
    }
    InsideMonitor guard;
    return monitor->OnCall(operation != nullptr ? operation : "", details != nullptr ? details : "");
}

void ReportResult(const char* operation, const char* result) {
    CallMonitor* monitor = installedMonitor.load();
    if (monitor == nullptr || insideMonitor) {
        return;
    }
    InsideMonitor guard;
    monitor->OnResult(operation != nullptr ? operation : "", result != nullptr ? result : "");
}

} // namespace GS
