#include "Session/ProcessMemory.hpp"

#include <windows.h>

#include <psapi.h>

namespace HostSim {

UInt64 ResidentBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) {
        return 0;
    }
    return static_cast<UInt64>(counters.WorkingSetSize);
}

void ReturnFreedMemory() {
    HeapCompact(GetProcessHeap(), 0);
}

} // namespace HostSim
