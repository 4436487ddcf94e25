// The module's global allocation functions, seen through a probe library built like the module.

#include "MemoryManager.hpp"
#include "ModuleMemoryProbe.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {
// A memory owner of the test's own, current while it lives.
class CountingOwner {
public:
    CountingOwner() : owner(GS::MemoryManager::RegisterOwner("module memory test")), scope(owner) {}
    UInt64 Live() const { return GS::MemoryManager::GetLiveBlockCount(owner); }
    UInt64 LiveBytes() const { return GS::MemoryManager::GetLiveByteCount(owner); }

private:
    GS::MemoryOwner owner;
    GS::MemoryOwnerScope scope;
};

bool IsAligned(const void* block, std::size_t alignment) {
    return reinterpret_cast<std::uintptr_t>(block) % alignment == 0;
}
} // namespace

TEST(ModuleMemory, NewAndDeleteGoThroughTheHostsMemoryManager) {
    CountingOwner owner;
    void* single = ProbeNewObject();
    void* several = ProbeNewArray(100);
    void* quiet = ProbeNewNothrow();
    EXPECT_EQ(owner.Live(), 3u);
    ProbeDeleteObject(single);
    ProbeDeleteArray(several);
    ProbeDeleteNothrow(quiet);
    EXPECT_EQ(owner.Live(), 0u);
}

TEST(ModuleMemory, OverAlignedBlocksAreAlignedAndFreedWhole) {
    CountingOwner owner;
    void* single = ProbeNewCacheLine();
    void* several = ProbeNewCacheLines(3);
    void* raw = ProbeAllocateAligned(10, 256);
    EXPECT_TRUE(IsAligned(single, 64));
    EXPECT_TRUE(IsAligned(several, 64));
    EXPECT_TRUE(IsAligned(raw, 256));
    EXPECT_EQ(owner.Live(), 3u);
    ProbeDeleteCacheLine(single);
    ProbeDeleteCacheLines(several);
    ProbeFreeAligned(raw, 10, 256);
    EXPECT_EQ(owner.Live(), 0u);
}

TEST(ModuleMemory, AlignedBlocksAtEveryPlacementLeaveTheHostsAccountsBalanced) {
    // Whatever address the host hands out, the module's bookkeeping must stay inside the block.
    struct Block {
        void* address;
        std::size_t alignment;
    };
    CountingOwner owner;
    std::vector<Block> blocks;
    for (std::size_t alignment : {32u, 64u, 128u, 4096u}) {
        for (int i = 0; i < 16; ++i) {
            blocks.push_back({ProbeAllocateAligned(8, alignment), alignment});
            EXPECT_TRUE(IsAligned(blocks.back().address, alignment));
        }
    }
    for (const Block& block : blocks) {
        ProbeFreeAligned(block.address, 8, block.alignment);
    }
    EXPECT_EQ(owner.Live(), 0u);
    EXPECT_EQ(owner.LiveBytes(), 0u);
}

TEST(ModuleMemory, ZeroByteRequestsGiveDistinctBlocks) {
    void* first = ProbeAllocate(0);
    void* second = ProbeAllocate(0);
    EXPECT_NE(first, nullptr);
    EXPECT_NE(first, second);
    ProbeFree(first);
    ProbeFree(second);
}

TEST(ModuleMemory, TheHostMayFreeWhatTheModuleAllocatedAndTheOtherWayRound) {
    CountingOwner owner;
    void* fromModule = ProbeAllocate(24);
    EXPECT_EQ(owner.Live(), 1u);
    GS::MemoryManager::Free(fromModule);
    EXPECT_EQ(owner.Live(), 0u);
    void* fromHost = GS::MemoryManager::Allocate(24);
    EXPECT_EQ(owner.Live(), 1u);
    ProbeFree(fromHost);
    EXPECT_EQ(owner.Live(), 0u);
}
