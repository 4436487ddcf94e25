#include "Screen/ScreenRun.hpp"

#include "Screen/ScreenDriver.hpp"
#include "Snapshots/ModuleIconImage.hpp"

#include <iostream>

namespace HostSim {

bool RunWithScreen(CommandInterpreter& interpreter, CommandSource& source, Transcript& transcript,
                   RunTimings& timings, const ScreenOptions& options) {
    auto report = [&interpreter](const std::string& file, unsigned line, const std::string& message,
                                 const std::string& text) {
        interpreter.ReportError(file, line, message, text);
    };
    ScreenDriver driver(source, transcript, std::cerr, source.IsInteractive() ? &std::cout : nullptr, report);
    if (options.snapshots) {
        driver.SetSnapshots(std::make_unique<SnapshotWriter>(*options.snapshots, ModuleIconPng));
    }
    if (timings.IsOpen()) {
        driver.SetTimings(&timings);
    }
    UIDriverInstallation installation(driver);
    const bool ranClean = interpreter.Run(source);
    return ranClean && !driver.ScriptAbandoned();
}

} // namespace HostSim
