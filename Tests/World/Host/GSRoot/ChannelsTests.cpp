#include "ChannelFormat.hpp"
#include "Channels.hpp"
#include "MemoryManager.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using GS::MemoryIChannel32;
using GS::MemoryOChannel32;
using GS::UniString;

namespace {

// What the add-on does: write one string with the arguments it passes, copy the bytes out.
std::vector<char> Serialize(const UniString& text) {
    MemoryOChannel32 out(0, 0, GS::StandardAllocation);
    EXPECT_EQ(out.Write(text), NoError);
    const char* bytes = out.GetDestination(GS::RetainOwnership);
    return std::vector<char>(bytes, bytes + out.GetDataSize());
}

GSErrCode Deserialize(const std::vector<char>& bytes, UniString& text) {
    MemoryIChannel32 in(bytes.data(), static_cast<GSSize>(bytes.size()), GS::RetainOwnership, nullptr, 0,
                        GS::StandardAllocation);
    return in.Read(text);
}

UniString Repeated(const char16_t* unit, UIndex times) {
    UniString text;
    for (UIndex index = 0; index < times; ++index) {
        text.Append(unit, 1);
    }
    return text;
}

} // namespace

TEST(ChannelFormat, AStringIsVersionCountAndLittleEndianUnits) {
    const std::vector<char> bytes = Serialize(UniString(u"A\u00E9"));
    const std::vector<char> expected = {1, 0, 2, 0, 0, 0, 'A', 0, '\xE9', 0};
    EXPECT_EQ(bytes, expected);
}

TEST(ChannelFormat, TheEmptyStringIsItsHeaderAlone) {
    const std::vector<char> expected = {1, 0, 0, 0, 0, 0};
    EXPECT_EQ(Serialize(UniString()), expected);
}

TEST(Channels, NonAsciiSurrogatePairsAndUnpairedSurrogatesComeBackUnchanged) {
    const char16_t units[] = {u'T', 0x00FC, 0x4E2D, 0xD83D, 0xDE00, 0xDC00, u'x', 0xD800};
    const UniString written(units, 8);
    UniString read(u"stale");
    ASSERT_EQ(Deserialize(Serialize(written), read), NoError);
    EXPECT_TRUE(read.IsEqual(written));
    EXPECT_EQ(read.GetLength(), 8u);
}

TEST(Channels, AThousandCharactersComeBackUnchanged) {
    const UniString written = Repeated(u"\u0151", 1000);
    const std::vector<char> bytes = Serialize(written);
    EXPECT_EQ(bytes.size(), 6u + 2000u);
    UniString read;
    ASSERT_EQ(Deserialize(bytes, read), NoError);
    EXPECT_TRUE(read.IsEqual(written));
}

TEST(Channels, SeveralStringsOnOneChannelReadBackInOrder) {
    MemoryOChannel32 out(16, 8, GS::FixedGrowthAllocation);
    ASSERT_EQ(out.Write(UniString("first")), NoError);
    ASSERT_EQ(out.Write(UniString()), NoError);
    ASSERT_EQ(out.Write(UniString("third")), NoError);
    MemoryIChannel32 in(out.GetDestination(GS::RetainOwnership), out.GetDataSize(), GS::RetainOwnership,
                        nullptr, 0, GS::StandardAllocation);
    UniString first, second, third, beyond;
    EXPECT_EQ(in.Read(first), NoError);
    EXPECT_EQ(in.Read(second), NoError);
    EXPECT_EQ(in.Read(third), NoError);
    EXPECT_EQ(in.GetAvailable(), 0);
    EXPECT_EQ(in.Read(beyond), GSErr::BadData);
    EXPECT_TRUE(first.IsEqual(UniString("first")));
    EXPECT_TRUE(second.IsEmpty());
    EXPECT_TRUE(third.IsEqual(UniString("third")));
}

TEST(Channels, EveryTruncationIsRefusedWithAnEmptyStringAndNothingConsumed) {
    const std::vector<char> whole = Serialize(UniString(u"Tr\u00E4ger \U0001F600"));
    for (std::size_t length = 0; length < whole.size(); ++length) {
        // A block of exactly `length` bytes, so that a read past it is caught by the sanitizers.
        std::vector<char> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        cut.shrink_to_fit();
        MemoryIChannel32 in(cut.data(), static_cast<GSSize>(cut.size()), GS::RetainOwnership, nullptr, 0,
                            GS::StandardAllocation);
        UniString read(u"previous");
        EXPECT_EQ(in.Read(read), GSErr::BadData) << length << " bytes";
        EXPECT_TRUE(read.IsEmpty()) << length << " bytes";
        EXPECT_EQ(in.GetAvailable(), static_cast<GSSize>(length));
    }
}

TEST(Channels, ForeignBytesAreRefused) {
    UniString read(u"previous");
    EXPECT_EQ(Deserialize({'V', 'E', 'L', 'D', 'X', 'Y', 'Z', 'W'}, read), GSErr::BadData);
    EXPECT_TRUE(read.IsEmpty());
    // Version 2 with a valid count and units.
    EXPECT_EQ(Deserialize({2, 0, 1, 0, 0, 0, 'a', 0}, read), GSErr::BadData);
    // A count near 2^32 over a handful of bytes.
    EXPECT_EQ(Deserialize({1, 0, '\xFF', '\xFF', '\xFF', '\xFF', 'a', 0}, read), GSErr::BadData);
    EXPECT_EQ(Deserialize({}, read), GSErr::BadData);
}

TEST(Channels, ANullBlockReadsAsNoBytes) {
    MemoryIChannel32 in(nullptr, 40, GS::RetainOwnership, nullptr, 0, GS::StandardAllocation);
    UniString read;
    EXPECT_EQ(in.Read(read), GSErr::BadData);
    EXPECT_EQ(in.GetAvailable(), 0);
}

TEST(ChannelFormat, DecodingStopsAtItsOwnCountAndReportsWhatItUsed) {
    const unsigned char bytes[] = {1, 0, 1, 0, 0, 0, 'z', 0, 0xEE, 0xEE};
    const GS::ChannelFormat::DecodedUniString decoded =
        GS::ChannelFormat::DecodeUniString(bytes, sizeof(bytes));
    EXPECT_EQ(decoded.result, NoError);
    EXPECT_EQ(decoded.units, u"z");
    EXPECT_EQ(decoded.consumed, 8u);
}

TEST(MemoryChannels, AllocateThroughTheMemoryManagerAndFreeEverything) {
    const GS::MemoryOwner owner = GS::MemoryManager::RegisterOwner("channel test");
    {
        GS::MemoryOwnerScope scope(owner);
        MemoryOChannel32 out(0, 0, GS::StandardAllocation);
        ASSERT_EQ(out.Write(Repeated(u"q", 300)), NoError);
        EXPECT_GE(GS::MemoryManager::GetLiveBlockCount(owner), 1u);
        MemoryIChannel32 in(out.GetDestination(GS::RetainOwnership), out.GetDataSize(), GS::RetainOwnership,
                            nullptr, 0, GS::StandardAllocation);
        UniString read;
        EXPECT_EQ(in.Read(read), NoError);
    }
    EXPECT_EQ(GS::MemoryManager::GetLiveBlockCount(owner), 0u);
}

TEST(MemoryChannels, PassingOwnershipHandsTheBlockOverAndEmptiesTheChannel) {
    MemoryOChannel32 out(0, 0, GS::StandardAllocation);
    ASSERT_EQ(out.Write(UniString("kept")), NoError);
    const GSSize size = out.GetDataSize();
    const char* block = out.GetDestination(GS::PassOwnership);
    EXPECT_EQ(out.GetDataSize(), 0);
    EXPECT_EQ(out.GetDestination(GS::RetainOwnership), nullptr);
    // The input channel takes the block over in turn and frees it.
    MemoryIChannel32 in(block, size, GS::PassOwnership, nullptr, 0, GS::StandardAllocation);
    UniString read;
    EXPECT_EQ(in.Read(read), NoError);
    EXPECT_TRUE(read.IsEqual(UniString("kept")));
}
