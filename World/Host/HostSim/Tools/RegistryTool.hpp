#pragma once

#include "Tools/RegistryRequest.hpp"

#include <ostream>
#include <string>
#include <vector>

namespace HostSim {

// Carries out one registry request on the data folder's registry. Prints what `get` found on `out`,
// and every failure (with the store's own message when its file is malformed) on `err`. Returns the
// process exit code: 0 done, 1 failed.
int RunRegistryRequest(const RegistryRequest& request, std::ostream& out, std::ostream& err);

// `hostsim registry ...`: `arguments` after the word "registry". Returns the process exit code (64 for
// a wrong command line, with the usage).
int RunRegistryCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace HostSim
