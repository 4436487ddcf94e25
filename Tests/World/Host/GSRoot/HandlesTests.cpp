#include "Handles.hpp"
#include "MemoryManager.hpp"

#include <gtest/gtest.h>

#include <cstring>

using GS::MemoryManager;

TEST(Handles, HoldACopyOfTheBytesAndTheirSize) {
    const char bytes[] = {'V', 'E', 'L', 'D', '\0', '\x7F'};
    GSHandle handle = nullptr;
    ASSERT_EQ(BMPtrToHandle(bytes, &handle, sizeof(bytes)), NoError);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(BMGetHandleSize(handle), static_cast<GSSize>(sizeof(bytes)));
    EXPECT_NE(*handle, bytes);
    EXPECT_EQ(std::memcmp(*handle, bytes, sizeof(bytes)), 0);
    EXPECT_EQ(BMKillHandle(&handle), NoError);
    EXPECT_EQ(handle, nullptr);
}

TEST(Handles, AnEmptyHandleIsStillAHandle) {
    GSHandle handle = nullptr;
    ASSERT_EQ(BMPtrToHandle(nullptr, &handle, 0), NoError);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(BMGetHandleSize(handle), 0);
    EXPECT_EQ(BMKillHandle(&handle), NoError);
}

TEST(Handles, BadArgumentsLeaveTheHandleAlone) {
    GSHandle untouched = reinterpret_cast<GSHandle>(0x1234);
    const char byte = 'x';
    EXPECT_EQ(BMPtrToHandle(nullptr, &untouched, 4), GSErr::BadParameter);
    EXPECT_EQ(BMPtrToHandle(&byte, &untouched, -1), GSErr::BadParameter);
    EXPECT_EQ(untouched, reinterpret_cast<GSHandle>(0x1234));
    EXPECT_EQ(BMPtrToHandle(&byte, nullptr, 1), GSErr::BadParameter);
}

TEST(Handles, NullHandlesAreAccepted) {
    GSHandle none = nullptr;
    EXPECT_EQ(BMGetHandleSize(nullptr), 0);
    EXPECT_EQ(BMKillHandle(&none), NoError);
    EXPECT_EQ(BMKillHandle(nullptr), NoError);
}

TEST(Handles, AHandleMadeByTheAddOnAndKilledByTheHostLeavesNothing) {
    const GS::MemoryOwner addOn = MemoryManager::RegisterOwner("add-on");
    GSHandle handle = nullptr;
    {
        GS::MemoryOwnerScope scope(addOn);
        const char data[100] = {};
        ASSERT_EQ(BMPtrToHandle(data, &handle, sizeof(data)), NoError);
    }
    EXPECT_EQ(MemoryManager::GetLiveBlockCount(addOn), 2u); // the handle record and its data
    EXPECT_GE(MemoryManager::GetLiveByteCount(addOn), 100u);
    BMKillHandle(&handle);
    EXPECT_EQ(MemoryManager::GetLiveBlockCount(addOn), 0u);
    EXPECT_EQ(MemoryManager::GetLiveByteCount(addOn), 0u);
}

TEST(HandlesDeathTest, KillingSomethingThatIsNoHandleEndsTheProcess) {
    EXPECT_DEATH(
        {
            void* block = MemoryManager::Allocate(64);
            GSHandle notAHandle = static_cast<GSHandle>(block);
            BMKillHandle(&notAHandle);
        },
        "not a live handle");
}

TEST(BNFillMemory, FillsExactlyTheGivenBytes) {
    unsigned char buffer[8];
    std::memset(buffer, 0xEE, sizeof(buffer));
    BNFillMemory(buffer + 2, 4, 0);
    const unsigned char expected[8] = {0xEE, 0xEE, 0, 0, 0, 0, 0xEE, 0xEE};
    EXPECT_EQ(std::memcmp(buffer, expected, sizeof(buffer)), 0);
    BNFillMemory(buffer, 0, 0x11);
    BNFillMemory(buffer, -5, 0x11);
    BNFillMemory(nullptr, 4, 0x11);
    EXPECT_EQ(std::memcmp(buffer, expected, sizeof(buffer)), 0);
}
