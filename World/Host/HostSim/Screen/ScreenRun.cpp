#include "Screen/ScreenRun.hpp"

#include "Screen/ScreenDriver.hpp"
#include "Snapshots/ModuleIconImage.hpp"

#if defined(_WIN32)
#include "Screen/Windows/MainWindow.hpp"
#include "Screen/Windows/WindowDriver.hpp"

#include <sstream>
#endif

#include <iostream>

namespace HostSim {

namespace {

void Configure(ScreenDriver& driver, RunTimings& timings, const ScreenOptions& options) {
    if (options.snapshots) {
        driver.SetSnapshots(std::make_unique<SnapshotWriter>(*options.snapshots, ModuleIconPng));
    }
    if (timings.IsOpen()) {
        driver.SetTimings(&timings);
    }
}

bool RunWithDriver(ScreenDriver& driver, CommandInterpreter& interpreter, CommandSource& source,
                   RunTimings& timings, const ScreenOptions& options) {
    Configure(driver, timings, options);
    UIDriverInstallation installation(driver);
    const bool ranClean = interpreter.Run(source);
    return ranClean && !driver.ScriptAbandoned();
}

} // namespace

bool RunWithScreen(CommandInterpreter& interpreter, CommandSource& source, Transcript& transcript,
                   RunTimings& timings, const ScreenOptions& options) {
    auto report = [&interpreter](const std::string& file, unsigned line, const std::string& message,
                                 const std::string& text) {
        interpreter.ReportError(file, line, message, text);
    };
#if defined(_WIN32)
    if (options.face == ScreenFace::Windows) {
        WindowDriver driver(source, transcript, std::cerr, report);
        // The main window's commands are the lines a person would type, run as the script's are.
        MainWindow main(interpreter.Session(), [&interpreter](const std::string& line) {
            std::istringstream text(line);
            CommandSource command(text, "main window", nullptr);
            interpreter.Run(command);
        });
        driver.SetOwner(main.Window());
        if (!source.IsInteractive() || main.Window() == nullptr) {
            return RunWithDriver(driver, interpreter, source, timings, options);
        }
        // A person at the windows: the run lasts until the main window is closed.
        Configure(driver, timings, options);
        UIDriverInstallation installation(driver);
        main.RunUntilClosed();
        return true;
    }
#endif
    ScreenDriver driver(source, transcript, std::cerr, source.IsInteractive() ? &std::cout : nullptr, report);
    return RunWithDriver(driver, interpreter, source, timings, options);
}

} // namespace HostSim
