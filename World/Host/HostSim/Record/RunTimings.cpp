#include "Record/RunTimings.hpp"

#include "Record/LaunchEvent.hpp"
#include "Record/PathText.hpp"

#include <cstring>

namespace HostSim {

RunTimings::RunTimings(const std::string& utf8Path)
    : file(std::make_unique<std::ofstream>(PathFromUtf8(utf8Path), std::ios::binary | std::ios::trunc)) {}

void RunTimings::Write(std::string_view kind, const Json& fields) {
    if (!IsOpen()) {
        return;
    }
    Json line = Json::object();
    line["timing"] = std::string(kind);
    line.update(fields);
    *file << line.dump() << '\n';
    file->flush();
}

// A launch and a service are each timed from their outermost entry: the launcher does not call
// itself today, nor a service another, but a nested report must not count twice.
void RunTimings::Entered(const char* operation) {
    if (std::strcmp(operation, HostServiceOperation) == 0) {
        if (!ledger.InService()) {
            serviceWatch = Stopwatch();
        }
        ledger.ServiceEntered();
        return;
    }
    if (std::strcmp(operation, ApplicationLaunchOperation) != 0) {
        return;
    }
    if (launcherDepth++ == 0) {
        launcherWatch = Stopwatch();
    }
}

void RunTimings::Left(const char* operation) {
    if (std::strcmp(operation, HostServiceOperation) == 0) {
        ledger.ServiceLeft(serviceWatch.Elapsed());
        return;
    }
    if (std::strcmp(operation, ApplicationLaunchOperation) != 0 || launcherDepth == 0) {
        return;
    }
    if (--launcherDepth == 0) {
        ledger.AddLauncher(launcherWatch.Elapsed());
    }
}

CallTimerInstallation::CallTimerInstallation(RunTimings& timings) : installed(timings.IsOpen()) {
    if (installed) {
        GS::SetCallTimer(&timings);
    }
}

CallTimerInstallation::~CallTimerInstallation() {
    if (installed) {
        GS::SetCallTimer(nullptr);
    }
}

} // namespace HostSim
