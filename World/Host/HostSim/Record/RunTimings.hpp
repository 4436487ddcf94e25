#pragma once

#include "CallTimer.hpp"
#include "GSTypes.hpp"
#include "Record/Transcript.hpp"

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace HostSim {

using Nanoseconds = Int64;

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

// The parts of a menu command's time that are the host's work, not the add-on's.
struct HostShares {
    Nanoseconds save = 0;     // inside HostAutomate 'SAVE'
    Nanoseconds launcher = 0; // inside the application launcher (the process start)
    Nanoseconds uiWait = 0;   // the UI driver waiting for the user's next action (a script line)
};

// hostsim's in-run measurements (`--timings FILE`): one JSON object per line, "timing" first,
// written apart from the transcript so that timing needs none. Also the host's call timer, through
// which the application launcher's time is known without the libraries' call reports.
class RunTimings : public GS::CallTimer {
public:
    RunTimings() = default; // measures nothing
    explicit RunTimings(const std::string& utf8Path);

    bool IsOpen() const { return file != nullptr && file->is_open(); }
    // `fields` is an object; its members follow "timing" in their order.
    void Write(std::string_view kind, const Json& fields);

    void AddSave(Nanoseconds time) { shares.save += time; }
    void AddUiWait(Nanoseconds time) { shares.uiWait += time; }
    // What was added since the last call; counting starts again from zero.
    HostShares TakeShares();

    void Entered(const char* operation) override;
    void Left(const char* operation) override;

private:
    std::unique_ptr<std::ofstream> file;
    HostShares shares;
    int launcherDepth = 0;
    Stopwatch launcherWatch;
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
