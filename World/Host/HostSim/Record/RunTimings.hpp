#pragma once

#include "CallTimer.hpp"
#include "GSTypes.hpp"
#include "Record/HostShares.hpp"
#include "Record/Transcript.hpp"

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace HostSim {

// The name under which the host function table's entries report to the call timer: the host's
// services to its add-ons, timed apart from the add-on's own code.
constexpr const char* HostServiceOperation = "HostSim host function table";

// Monotonic time since construction.
class Stopwatch {
public:
    Stopwatch() : start(std::chrono::steady_clock::now()) {}
    Nanoseconds Elapsed() const {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start)
            .count();
    }

private:
    std::chrono::steady_clock::time_point start;
};

// hostsim's in-run measurements (`--timings FILE`): one JSON object per line, "timing" first,
// written apart from the transcript so that timing needs none. Also the host's call timer, through
// which the application launcher's time and that of the host's own services (the function table's
// entries) are known without the libraries' call reports.
class RunTimings : public GS::CallTimer {
public:
    RunTimings() = default; // measures nothing
    explicit RunTimings(const std::string& utf8Path);

    bool IsOpen() const { return file != nullptr && file->is_open(); }
    // `fields` is an object; its members follow "timing" in their order.
    void Write(std::string_view kind, const Json& fields);

    void AddSave(Nanoseconds time) { ledger.AddSave(time); }
    void AddUiWait(Nanoseconds time) { ledger.AddUiWait(time); }
    // What was added since the last call; counting starts again from zero.
    HostShares TakeShares() { return ledger.Take(); }

    void Entered(const char* operation) override;
    void Left(const char* operation) override;

private:
    std::unique_ptr<std::ofstream> file;
    HostShareLedger ledger;
    int launcherDepth = 0;
    Stopwatch launcherWatch;
    Stopwatch serviceWatch; // from the outermost service's entry
};

// Installs the timings as the host's call timer for the life of the scope, when they are written.
class CallTimerInstallation {
public:
    explicit CallTimerInstallation(RunTimings& timings);
    ~CallTimerInstallation();
    CallTimerInstallation(const CallTimerInstallation&) = delete;
    CallTimerInstallation& operator=(const CallTimerInstallation&) = delete;

private:
    bool installed;
};

} // namespace HostSim
