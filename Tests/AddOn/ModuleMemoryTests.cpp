// The module's global allocation functions, compiled into this test as they are into the module
// (and kept out of the process's other libraries the same way).

#include "MemoryManager.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <new>

namespace {
// Keeps the compiler from pairing up and dropping an allocation and its release.
void* volatile lastBlock = nullptr;
template <typename T>
T* Keep(T* block) {
    lastBlock = block;
    return block;
}

struct alignas(64) CacheLine {
    unsigned char bytes[64];
};

// A memory owner of the test's own, current while it lives; counts read without gtest in between.
class CountingOwner {
public:
    CountingOwner() : owner(GS::MemoryManager::RegisterOwner("module memory test")), scope(owner) {}
    UInt64 Live() const { return GS::MemoryManager::GetLiveBlockCount(owner); }
    UInt64 Total() const { return GS::MemoryManager::GetTotalAllocationCount(owner); }

private:
    GS::MemoryOwner owner;
    GS::MemoryOwnerScope scope;
};

bool IsAligned(const void* block, std::size_t alignment) {
    return reinterpret_cast<std::uintptr_t>(block) % alignment == 0;
}
} // namespace

TEST(ModuleMemory, NewAndDeleteGoThroughTheHostsMemoryManager) {
    UInt64 liveWhileHeld = 0;
    UInt64 liveAfter = 0;
    UInt64 total = 0;
    {
        CountingOwner owner;
        int* single = Keep(new int(42));
        char* several = Keep(new char[100]);
        int* quiet = Keep(new (std::nothrow) int(7));
        liveWhileHeld = owner.Live();
        delete single;
        delete[] several;
        ::operator delete(quiet, std::nothrow);
        liveAfter = owner.Live();
        total = owner.Total();
    }
    EXPECT_EQ(liveWhileHeld, 3u);
    EXPECT_EQ(liveAfter, 0u);
    EXPECT_EQ(total, 3u);
}

TEST(ModuleMemory, OverAlignedBlocksAreAlignedAndFreedWhole) {
    bool allAligned = true;
    UInt64 liveWhileHeld = 0;
    UInt64 liveAfter = 0;
    {
        CountingOwner owner;
        CacheLine* single = Keep(new CacheLine);
        CacheLine* several = Keep(new CacheLine[3]);
        CacheLine* quiet = Keep(new (std::nothrow) CacheLine);
        void* raw = Keep(::operator new (10, std::align_val_t{256}));
        allAligned =
            IsAligned(single, 64) && IsAligned(several, 64) && IsAligned(quiet, 64) && IsAligned(raw, 256);
        liveWhileHeld = owner.Live();
        delete single;
        delete[] several;
        ::operator delete (quiet, std::align_val_t{alignof(CacheLine)}, std::nothrow);
        ::operator delete (raw, 10, std::align_val_t{256});
        liveAfter = owner.Live();
    }
    EXPECT_TRUE(allAligned);
    EXPECT_EQ(liveWhileHeld, 4u);
    EXPECT_EQ(liveAfter, 0u);
}

TEST(ModuleMemory, ZeroByteRequestsGiveDistinctBlocks) {
    void* first = Keep(::operator new(0));
    void* second = Keep(::operator new(0));
    EXPECT_NE(first, nullptr);
    EXPECT_NE(first, second);
    ::operator delete(first);
    ::operator delete(second);
}

TEST(ModuleMemory, TheHostMayFreeWhatTheModuleAllocated) {
    UInt64 liveAfter = 1;
    {
        CountingOwner owner;
        GS::MemoryManager::Free(Keep(::operator new(24)));
        liveAfter = owner.Live();
    }
    EXPECT_EQ(liveAfter, 0u);
}
