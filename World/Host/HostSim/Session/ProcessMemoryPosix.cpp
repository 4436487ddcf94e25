#include "Session/ProcessMemory.hpp"

#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <fstream>

namespace HostSim {

UInt64 ResidentBytes() {
    // /proc/self/statm: total pages, then resident pages.
    std::ifstream statm("/proc/self/statm");
    UInt64 totalPages = 0;
    UInt64 residentPages = 0;
    if (!(statm >> totalPages >> residentPages)) {
        return 0;
    }
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pageSize > 0 ? residentPages * static_cast<UInt64>(pageSize) : 0;
}

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace HostSim
