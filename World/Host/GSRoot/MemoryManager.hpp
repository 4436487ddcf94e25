#pragma once

#include "GSRootExport.hpp"
#include "GSTypes.hpp"

#include <cstddef>

namespace GS {

// Who caused an allocation. The host is owner 0; the host hands every add-on its own owners when it
// loads it. The current owner is per thread: the host switches it to an add-on's owner whenever it
// calls into that add-on, and back to itself whenever the add-on calls the host.
using MemoryOwner = UInt32;
constexpr MemoryOwner HostMemoryOwner = 0;

// The one heap that both sides of the add-on boundary use, so that a block made on one side can be
// freed on the other. Every block remembers the owner that was current when it was allocated, and
// the owner's counts go down when the block is freed, whoever frees it.
class GSROOT_API MemoryManager {
public:
    // Never null: an allocation that cannot be satisfied ends the process, as the host's does.
    // Blocks are aligned for any fundamental type.
    static void* Allocate(std::size_t size);
    // Accepts null. Freeing a block twice or one that this manager did not make ends the process.
    static void Free(void* block);

    // A new owner id, never reused in this process; `name` is for reports only.
    static MemoryOwner RegisterOwner(const char* name);
    // Returns the owner that was current before.
    static MemoryOwner SetCurrentOwner(MemoryOwner owner);

    static UInt64 GetLiveBlockCount(MemoryOwner owner);
    static UInt64 GetLiveByteCount(MemoryOwner owner);
};

// Makes `owner` current for the life of the scope.
class GSROOT_API MemoryOwnerScope {
public:
    explicit MemoryOwnerScope(MemoryOwner owner);
    ~MemoryOwnerScope();
    MemoryOwnerScope(const MemoryOwnerScope&) = delete;
    MemoryOwnerScope& operator=(const MemoryOwnerScope&) = delete;

private:
    MemoryOwner previous;
};

} // namespace GS
