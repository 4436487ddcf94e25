#pragma once

#include "ScenarioHarness.hpp"

#include <string>
#include <vector>

namespace Sweep {

using Scenarios::HostSimRun;
using Scenarios::Json;

// One call the add-on made in a clean run, and how hostsim is told to fail exactly that call again.
struct SweptCall {
    enum class Kind { Host, Library, SafAnswer };
    Kind kind = Kind::Host;
    // As the transcript names it: "HostCommandCall", "GSPref::ReadStringValue", a SAF command "LADA".
    std::string operation;
    // What tells two calls of one operation apart: the SAF command, the library call's details.
    std::string detail;
    // Among the calls of `operation`, from 1: hostsim counts every operation on its own.
    unsigned ordinal = 1;
    // Made while a menu command ran, not while the module was loaded, registered or started.
    bool duringCommand = false;
    // What the failed call answers: a result code, or "throw" for the application launcher.
    std::string failure;

    std::vector<std::string> FailOptions() const;
    std::string Label() const;
};

// Every host table call and library call of `module` in `run`, in the order the add-on made them,
// then one SAF refusal per distinct command it sent, then the launcher throwing instead of
// answering. `failureCode` is what a failed call answers.
std::vector<SweptCall> CallsToSweep(const HostSimRun& run, const std::string& module,
                                    const std::string& failureCode);

// The events of `run` whose `injected` field is set: the calls that the fault plan failed.
std::vector<Json> InjectedFaults(const HostSimRun& run);

} // namespace Sweep
