#include "MemoryManager.hpp"

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace GS {

namespace {

// Every block starts with this header; the caller's bytes follow it. 16 bytes keep the caller's
// bytes as aligned as malloc's (16 on the 64-bit targets).
struct BlockHeader {
    UInt32 magic;
    MemoryOwner owner;
    UInt64 size;
};
static_assert(sizeof(BlockHeader) == 16);
static_assert(alignof(std::max_align_t) <= sizeof(BlockHeader));

// The magic word catches a header that was overwritten (a write before the block's start); the set
// of live blocks catches double frees and foreign pointers without reading memory that is not ours.
constexpr UInt32 LiveBlockMagic = 0x4753424Cu; // "GSBL"

struct OwnerCounts {
    std::string name;
    UInt64 liveBlocks = 0;
    UInt64 liveBytes = 0;
};

struct Registry {
    std::mutex mutex;
    std::unordered_map<MemoryOwner, OwnerCounts> owners;
    std::unordered_set<const void*> liveBlocks;
    MemoryOwner lastOwner = HostMemoryOwner;
};

// Never destroyed: blocks are still freed while other libraries' statics are torn down.
Registry& GetRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

thread_local MemoryOwner currentOwner = HostMemoryOwner;

[[noreturn]] void Die(const char* what, const void* block) {
    std::fprintf(stderr, "GS::MemoryManager: %s (block %p)\n", what, block);
    std::fflush(stderr);
    std::abort();
}

} // namespace

void* MemoryManager::Allocate(std::size_t size) {
    if (size > SIZE_MAX - sizeof(BlockHeader)) {
        Die("allocation size out of range", nullptr);
    }
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (header == nullptr) {
        Die("out of memory", nullptr);
    }
    header->magic = LiveBlockMagic;
    header->owner = currentOwner;
    header->size = size;
    {
        Registry& registry = GetRegistry();
        std::lock_guard lock(registry.mutex);
        registry.liveBlocks.insert(header + 1);
        OwnerCounts& counts = registry.owners[header->owner];
        ++counts.liveBlocks;
        counts.liveBytes += size;
    }
    return header + 1;
}

void MemoryManager::Free(void* block) {
    if (block == nullptr) {
        return;
    }
    BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
    {
        Registry& registry = GetRegistry();
        std::lock_guard lock(registry.mutex);
        if (registry.liveBlocks.erase(block) == 0) {
            Die("freeing a block that is not live: freed twice, or not allocated by this memory manager",
                block);
        }
        if (header->magic != LiveBlockMagic) {
            Die("the block's header was overwritten", block);
        }
        header->magic = 0;
        OwnerCounts& counts = registry.owners[header->owner];
        // The block was counted to its owner when it was made and is still live: the owner's counts
        // hold it, so that hostsim's leak report never wraps below zero.
        assert(counts.liveBlocks > 0 && counts.liveBytes >= header->size);
        --counts.liveBlocks;
        counts.liveBytes -= header->size;
    }
    std::free(header);
}

MemoryOwner MemoryManager::RegisterOwner(const char* name) {
    Registry& registry = GetRegistry();
    std::lock_guard lock(registry.mutex);
    const MemoryOwner owner = ++registry.lastOwner;
    registry.owners[owner].name = name != nullptr ? name : "";
    return owner;
}

MemoryOwner MemoryManager::SetCurrentOwner(MemoryOwner owner) {
    const MemoryOwner previous = currentOwner;
    currentOwner = owner;
    return previous;
}

namespace {
template <typename Member>
UInt64 ReadCount(MemoryOwner owner, Member member) {
    Registry& registry = GetRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.owners.find(owner);
    return found == registry.owners.end() ? 0 : found->second.*member;
}
} // namespace

UInt64 MemoryManager::GetLiveBlockCount(MemoryOwner owner) {
    return ReadCount(owner, &OwnerCounts::liveBlocks);
}

UInt64 MemoryManager::GetLiveByteCount(MemoryOwner owner) {
    return ReadCount(owner, &OwnerCounts::liveBytes);
}

MemoryOwnerScope::MemoryOwnerScope(MemoryOwner owner) : previous(MemoryManager::SetCurrentOwner(owner)) {}

MemoryOwnerScope::~MemoryOwnerScope() {
    MemoryManager::SetCurrentOwner(previous);
}

} // namespace GS
