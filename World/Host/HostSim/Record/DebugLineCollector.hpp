#pragma once

#include "Record/Transcript.hpp"

#include <functional>
#include <ostream>
#include <string>

namespace HostSim {

// The host's debug output while hostsim runs: the text goes to the console as it comes, and each
// complete line becomes one "debug" event (a module may build one line from several DBPrintf calls).
class DebugLineCollector {
public:
    using CallerName = std::function<std::string()>;

    DebugLineCollector(Transcript& transcript, std::ostream& console, CallerName callerName);
    ~DebugLineCollector();

    void Receive(const char* utf8Text);
    // Writes what is left of an unfinished line.
    void Flush();

private:
    void WriteLine(const std::string& line);

    Transcript& transcript;
    std::ostream& console;
    CallerName callerName;
    std::string partialLine;
    std::string partialLineModule;
};

// Installs the collector as the host's debug sink for the life of the scope.
class DebugSinkInstallation {
public:
    explicit DebugSinkInstallation(DebugLineCollector& collector);
    ~DebugSinkInstallation();
    DebugSinkInstallation(const DebugSinkInstallation&) = delete;
    DebugSinkInstallation& operator=(const DebugSinkInstallation&) = delete;
};

} // namespace HostSim
