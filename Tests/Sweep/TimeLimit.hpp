#pragma once

#include <string>
#include <vector>

namespace Sweep {

// `command` wrapped so that it is ended when it runs longer than `seconds`: a failure that makes
// hostsim wait for ever must fail its sweep step, not hang the sweep.
std::vector<std::string> UnderTimeLimit(const std::vector<std::string>& command, int seconds);

// The exit code a command ended by its time limit reports.
int TimeLimitExitCode();

} // namespace Sweep
