#pragma once

#include "GSTypes.hpp"

namespace HostSim {

// The bytes of this process's memory that are resident now (the working set on Windows); 0 when the
// system does not say.
UInt64 ResidentBytes();

} // namespace HostSim
