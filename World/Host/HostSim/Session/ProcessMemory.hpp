#pragma once

#include "GSTypes.hpp"

namespace HostSim {

// The bytes of this process's memory that are resident now (the working set on Windows); 0 when the
// system does not say.
UInt64 ResidentBytes();

// Hands the memory freed so far back to the system where the allocator keeps it. Reading a big
// project or model builds a JSON tree of many small blocks and frees it; the allocator would hold
// those pages for the rest of the session, beside the model the host keeps.
void ReturnFreedMemory();

} // namespace HostSim
