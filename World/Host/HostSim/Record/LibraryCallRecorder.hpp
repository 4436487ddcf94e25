#pragma once

#include "CallMonitor.hpp"
#include "Record/Transcript.hpp"
#include "Services/FaultPlan.hpp"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace HostSim {

// Watches the host libraries for the host: every library operation an add-on calls becomes a
// "library-call" event (operation, details, result, and the add-on that made it), and the fault plan
// may make it fail. The host's own library work runs inside a HostWork scope and is neither recorded
// nor failed, so `--fail` aims at the add-on alone.
class LibraryCallRecorder : public GS::CallMonitor {
public:
    using CallerName = std::function<std::string()>;

    LibraryCallRecorder(Transcript& transcript, FaultPlan& faults, CallerName callerName);
    ~LibraryCallRecorder() override;

    GSErrCode OnCall(const char* operation, const char* details) override;
    void OnResult(const char* operation, const char* result) override;

    // Writes the calls whose result never came (a failed call may end without reporting one).
    void Flush();

    class HostWork {
    public:
        explicit HostWork(LibraryCallRecorder& recorder);
        ~HostWork();
        HostWork(const HostWork&) = delete;
        HostWork& operator=(const HostWork&) = delete;

    private:
        LibraryCallRecorder& recorder;
    };

private:
    struct PendingCall {
        UInt64 sequence;
        std::string operation;
        std::string details;
        std::string module;
        std::optional<GSErrCode> injected;
    };

    void Write(const PendingCall& call, const std::optional<std::string>& result);
    void WriteLaunch(const PendingCall& call, const std::optional<std::string>& result);

    Transcript& transcript;
    FaultPlan& faults;
    CallerName callerName;
    std::vector<PendingCall> pending;
    UInt64 sequence = 0;
    int hostWorkDepth = 0;
};

// Installs a monitor for the life of the scope; the previous state (none) comes back at its end, so
// nothing reaches a destroyed monitor from code that runs later (a module's static destructors).
class CallMonitorInstallation {
public:
    explicit CallMonitorInstallation(GS::CallMonitor& monitor);
    ~CallMonitorInstallation();
    CallMonitorInstallation(const CallMonitorInstallation&) = delete;
    CallMonitorInstallation& operator=(const CallMonitorInstallation&) = delete;
};

} // namespace HostSim
