#pragma once

#include <string>
#include <vector>

namespace HostSim {

// Process exit codes of a hostsim run.
namespace ExitCode {
constexpr int Success = 0;
constexpr int AddOnFault = 1;     // a module could not be used, or an add-on broke the lifecycle
constexpr int ScriptError = 2;    // a command line could not be used (the run still shut down cleanly)
constexpr int ProjectRefused = 3; // the --project file is not a usable project; nothing ran
constexpr int Usage = 64;
} // namespace ExitCode

// `arguments` excludes the program name.
int RunHostSim(const std::vector<std::string>& arguments);

} // namespace HostSim
