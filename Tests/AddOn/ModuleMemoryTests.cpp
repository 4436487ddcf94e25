// The module's global allocation functions, seen through a probe library built like the module.

#include "MemoryManager.hpp"
#include "ModuleMemoryProbe.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
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

TEST(ModuleMemory, EveryAllocationFormGoesThroughTheHostsManagerAndItsReleaseGivesTheBlockBack) {
    CountingOwner owner;
    constexpr std::size_t Size = 100;
    for (std::size_t variant = 0; variant < ProbeVariantCount(); ++variant) {
        const char* name = ProbeVariantName(variant);
        void* block = ProbeVariantAllocate(variant, Size);
        EXPECT_EQ(owner.Live(), 1u) << name;
        EXPECT_GE(owner.LiveBytes(), Size) << name;
        EXPECT_TRUE(IsAligned(block, ProbeVariantAlignment(variant))) << name;
        std::memset(block, 0xA5, Size); // the whole block is the caller's
        ProbeVariantRelease(variant, block, Size);
        EXPECT_EQ(owner.Live(), 0u) << name;
        EXPECT_EQ(owner.LiveBytes(), 0u) << name;
        ProbeVariantRelease(variant, nullptr, Size); // releasing null is allowed and does nothing
        EXPECT_EQ(owner.Live(), 0u) << name;
    }
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

TEST(ModuleMemoryDeathTest, OverAlignedSizesBeyondTheAddressSpaceAreRefusedAsTheHostRefusesThem) {
    // Each size plus its alignment padding passes SIZE_MAX: wrapped round, the sum would ask the host
    // for a few bytes and the back-pointer would be written outside them.
    struct Request {
        std::size_t size;
        std::size_t alignment;
    };
    const Request impossible[] = {
        {SIZE_MAX, 64},
        {SIZE_MAX - 8, 64},                      // the padded sum wraps to 63 bytes
        {SIZE_MAX - 64 - sizeof(void*) + 1, 64}, // the first size whose sum wraps, to zero
        {SIZE_MAX - 4096, 4096},
    };
    for (const Request& request : impossible) {
        EXPECT_DEATH((ProbeCountCoverageAtAbort(),
                      static_cast<void>(ProbeAllocateAligned(request.size, request.alignment))),
                     "allocation size out of range")
            << request.size << " bytes aligned to " << request.alignment;
    }
}
