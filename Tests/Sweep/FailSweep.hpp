#pragma once

#include "SweepOutcome.hpp"
#include "SweptCall.hpp"

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace Sweep {

// Runs a command once cleanly, then once more for every call the add-on made in that run with
// exactly that call failed, each time in a fresh copy of the same data folder and project, and checks
// every rerun against the add-on's rules: no crash, an outcome allowed for the failed call, no live
// block, every SAF bracket closed, no lifecycle fault, the project and the registry intact.
class FailSweep : public Scenarios::ScenarioTest {
protected:
    struct Step {
        Scenarios::HostSimRun run;
        std::filesystem::path folder;
        std::filesystem::path project;
    };
    using Classifier = std::function<Outcome(const Step&)>;
    using Rules = std::function<std::set<Outcome>(const SweptCall&)>;

    // Keeps the data folder and the project file (if any) as they are now: every step starts there.
    void KeepTemplate(const std::filesystem::path& project);
    // hostsim on `script` in a fresh copy of the template; `options` may name "{project}" and "{export}".
    Step RunStep(const std::string& name, const std::string& script, const std::vector<std::string>& options);
    // The same without judging anything, so that several may run at once on threads of their own.
    Step RunStepProcess(const std::string& name, const std::string& script,
                        const std::vector<std::string>& options) const;

    // The whole sweep: the clean run must end in `expected`; returns the number of calls swept.
    std::size_t SweepCalls(const std::string& script, const std::vector<std::string>& options,
                           Outcome expected, const Classifier& classify, const Rules& allowed);

    // What no failure may change: the registry (its store files, or on Windows the system's
    // registry), the SAF add-on's translator store.
    void ExpectDataFolderUnchanged(const Step& step, const std::string& label) const;
    // `closeRefused`: the host's table refused the add-on's 'FADA', so one handle stays open.
    static void ExpectCleanBookkeeping(const Step& step, const std::string& label, bool closeRefused);

    std::filesystem::path templateFolder;
    std::filesystem::path templateProject; // empty: the command starts without a project file
    std::string templateRegistry;          // ScenarioRegistryText() when the template was kept
};

// The project file's add-on objects as [name, content] pairs; null when there is no file. Fails the test when
// it does not parse.
Scenarios::Json ProjectObjects(const std::filesystem::path& project, const std::string& label);

} // namespace Sweep
