#include "MemoryManager.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

using GS::MemoryManager;
using GS::MemoryOwner;
using GS::MemoryOwnerScope;

namespace {
// Whether a block allocated now is counted under `owner`, which is how an allocation learns the
// current owner.
bool IsCurrent(MemoryOwner owner) {
    const UInt64 before = MemoryManager::GetLiveBlockCount(owner);
    void* probe = MemoryManager::Allocate(1);
    const bool counted = MemoryManager::GetLiveBlockCount(owner) == before + 1;
    MemoryManager::Free(probe);
    return counted;
}
} // namespace

TEST(MemoryManagerOwners, RegisteredOwnersAreNewAndNeverTheHost) {
    const MemoryOwner first = MemoryManager::RegisterOwner("first");
    const MemoryOwner second = MemoryManager::RegisterOwner("second");
    EXPECT_GE(first, 1u);
    EXPECT_GT(second, first);
    EXPECT_EQ(MemoryManager::GetLiveBlockCount(second), 0u);
    EXPECT_EQ(MemoryManager::GetLiveByteCount(second), 0u);
}

TEST(MemoryManagerOwners, ScopeSetsAndRestoresTheCurrentOwner) {
    const MemoryOwner addOn = MemoryManager::RegisterOwner("add-on");
    ASSERT_TRUE(IsCurrent(GS::HostMemoryOwner));
    {
        MemoryOwnerScope scope(addOn);
        EXPECT_TRUE(IsCurrent(addOn));
        {
            MemoryOwnerScope host(GS::HostMemoryOwner);
            EXPECT_TRUE(IsCurrent(GS::HostMemoryOwner));
            EXPECT_FALSE(IsCurrent(addOn));
        }
        EXPECT_TRUE(IsCurrent(addOn));
    }
    EXPECT_TRUE(IsCurrent(GS::HostMemoryOwner));
}

TEST(MemoryManagerOwners, TheCurrentOwnerBelongsToOneThread) {
    const MemoryOwner addOn = MemoryManager::RegisterOwner("add-on");
    MemoryOwnerScope scope(addOn);
    bool otherThreadAllocatesAsHost = false;
    std::thread([&] { otherThreadAllocatesAsHost = IsCurrent(GS::HostMemoryOwner); }).join();
    EXPECT_TRUE(otherThreadAllocatesAsHost);
    EXPECT_TRUE(IsCurrent(addOn));
}

TEST(MemoryManagerAccounting, CountsBlocksAndBytesOfTheOwnerThatAllocated) {
    const MemoryOwner addOn = MemoryManager::RegisterOwner("add-on");
    void* small = nullptr;
    void* large = nullptr;
    {
        MemoryOwnerScope scope(addOn);
        small = MemoryManager::Allocate(10);
        large = MemoryManager::Allocate(1000);
    }
    EXPECT_EQ(MemoryManager::GetLiveBlockCount(addOn), 2u);
    EXPECT_EQ(MemoryManager::GetLiveByteCount(addOn), 1010u);

    // The host frees the add-on's block: the add-on's counts go down, not the host's.
    const UInt64 hostBlocks = MemoryManager::GetLiveBlockCount(GS::HostMemoryOwner);
    MemoryManager::Free(small);
    EXPECT_EQ(MemoryManager::GetLiveBlockCount(addOn), 1u);
    EXPECT_EQ(MemoryManager::GetLiveByteCount(addOn), 1000u);
    EXPECT_EQ(MemoryManager::GetLiveBlockCount(GS::HostMemoryOwner), hostBlocks);
    {
        MemoryOwnerScope scope(addOn);
        MemoryManager::Free(large);
    }
    EXPECT_EQ(MemoryManager::GetLiveBlockCount(addOn), 0u);
    EXPECT_EQ(MemoryManager::GetLiveByteCount(addOn), 0u);
}

TEST(MemoryManagerAccounting, FreeingNullChangesNothing) {
    const MemoryOwner addOn = MemoryManager::RegisterOwner("add-on");
    MemoryOwnerScope scope(addOn);
    MemoryManager::Free(nullptr);
    EXPECT_EQ(MemoryManager::GetLiveBlockCount(addOn), 0u);
}

TEST(MemoryManagerAccounting, CountsStayExactUnderManyThreads) {
    const MemoryOwner shared = MemoryManager::RegisterOwner("shared");
    constexpr int threadCount = 4;
    constexpr int allocationsPerThread = 2000;
    std::vector<std::vector<void*>> kept(threadCount);
    std::vector<std::thread> threads;
    for (std::vector<void*>& blocks : kept) {
        threads.emplace_back([shared, &blocks] {
            MemoryOwnerScope scope(shared);
            for (int i = 0; i < allocationsPerThread; ++i) {
                blocks.push_back(MemoryManager::Allocate(static_cast<std::size_t>(i % 64)));
                if (i % 3 == 0) {
                    MemoryManager::Free(blocks.back());
                    blocks.pop_back();
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    // Each thread freed every third block at once, starting with its first.
    constexpr int keptPerThread = allocationsPerThread - (allocationsPerThread + 2) / 3;
    EXPECT_EQ(MemoryManager::GetLiveBlockCount(shared), static_cast<UInt64>(threadCount * keptPerThread));
    threads.clear();
    for (std::vector<void*>& blocks : kept) {
        threads.emplace_back([&blocks] {
            for (void* block : blocks) {
                MemoryManager::Free(block);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(MemoryManager::GetLiveBlockCount(shared), 0u);
    EXPECT_EQ(MemoryManager::GetLiveByteCount(shared), 0u);
}

TEST(MemoryManagerBlocks, AreAlignedForAnyFundamentalType) {
    std::vector<void*> blocks;
    for (std::size_t size = 0; size <= 100; ++size) {
        void* block = MemoryManager::Allocate(size);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u) << size;
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16, 0u) << size;
        std::memset(block, 0xAB, size);
        blocks.push_back(block);
    }
    for (void* block : blocks) {
        MemoryManager::Free(block);
    }
}

TEST(MemoryManagerBlocks, EmptyAllocationsAreDistinctBlocks) {
    void* first = MemoryManager::Allocate(0);
    void* second = MemoryManager::Allocate(0);
    EXPECT_NE(first, nullptr);
    EXPECT_NE(first, second);
    MemoryManager::Free(first);
    MemoryManager::Free(second);
}

TEST(MemoryManagerDeathTest, FreeingABlockTwiceEndsTheProcess) {
    EXPECT_DEATH(
        {
            void* block = MemoryManager::Allocate(32);
            MemoryManager::Free(block);
            MemoryManager::Free(block);
        },
        "freed twice");
}

TEST(MemoryManagerDeathTest, FreeingAForeignBlockEndsTheProcess) {
    EXPECT_DEATH(
        {
            auto* foreign = static_cast<unsigned char*>(std::calloc(1, 64));
            MemoryManager::Free(foreign + 16);
        },
        "not allocated by this memory manager");
}

TEST(MemoryManagerDeathTest, AnOverwrittenHeaderEndsTheProcess) {
    EXPECT_DEATH(
        {
            auto* block = static_cast<unsigned char*>(MemoryManager::Allocate(32));
            std::memset(block - 16, 0, 4); // a write just before the block's start
            MemoryManager::Free(block);
        },
        "header was overwritten");
}
