#include "ByteOrder/LittleEndian.hpp"
#include "RSTestModules.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UInt16 IconType = 3;       // RT_ICON
constexpr UInt16 IconGroupType = 14; // RT_GROUP_ICON

// The add-on's icons are Windows resources of ordinal types: groups by string name, icons by number.
// This test program links the add-on's resources.
class ProgramWindowsResources : public testing::Test {
protected:
    void SetUp() override {
        module = RSInitModuleImageCache(RSTest::ModuleOf(&RSTest::Utf8));
        ASSERT_GE(module, 1);
    }
    void TearDown() override { RSRemoveModuleImageCache(module); }

    std::vector<UInt8> Find(UInt16 type, const char16_t* name, Int32 number) const {
        UInt32 size = 0;
        const UInt8* bytes = RSFindWindowsResource(module, type, name, number, &size);
        return bytes == nullptr ? std::vector<UInt8>() : std::vector<UInt8>(bytes, bytes + size);
    }

    GSResModule module = InvalidResModule;
};

UInt16 Word(const std::vector<UInt8>& bytes, std::size_t offset) {
    return LittleEndian::Read16(bytes.data() + offset);
}

UInt32 DoubleWord(const std::vector<UInt8>& bytes, std::size_t offset) {
    return LittleEndian::Read32(bytes.data() + offset);
}

TEST_F(ProgramWindowsResources, InformationIconGroupNamesAPngIconOfItsOwnSize) {
    const std::vector<UInt8> group = Find(IconGroupType, u"I32700&96", 0);
    // Directory: reserved 0, type 1 (icons), one 14-byte entry whose last word is the icon's number.
    ASSERT_EQ(group.size(), 6u + 14u);
    EXPECT_EQ(Word(group, 0), 0);
    EXPECT_EQ(Word(group, 2), 1);
    EXPECT_EQ(Word(group, 4), 1);
    const UInt16 iconNumber = Word(group, 6 + 12);
    EXPECT_EQ(iconNumber, 3);

    const std::vector<UInt8> icon = Find(IconType, nullptr, iconNumber);
    ASSERT_GE(icon.size(), 8u);
    EXPECT_EQ(std::vector<UInt8>(icon.begin(), icon.begin() + 8),
              (std::vector<UInt8>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    EXPECT_EQ(DoubleWord(group, 6 + 8), icon.size());
}

TEST_F(ProgramWindowsResources, GroupNamesCompareIgnoringCaseAndNeedTheirType) {
    const std::vector<UInt8> group = Find(IconGroupType, u"I32700&96", 0);
    ASSERT_FALSE(group.empty());
    EXPECT_EQ(Find(IconGroupType, u"i32700&96", 0), group);
    EXPECT_NE(Find(IconGroupType, u"I32700&192", 0), group);
    EXPECT_TRUE(Find(IconType, u"I32700&96", 0).empty());
    EXPECT_TRUE(Find(IconGroupType, u"I32700", 0).empty());
    EXPECT_TRUE(Find(IconGroupType, u"I32700&96X", 0).empty());
}

TEST_F(ProgramWindowsResources, NumberedLookUpsMissWhatIsNotThere) {
    EXPECT_FALSE(Find(IconType, nullptr, 11).empty());
    EXPECT_TRUE(Find(IconType, nullptr, 12).empty());
    EXPECT_TRUE(Find(IconType, nullptr, -1).empty());
    EXPECT_TRUE(Find(IconType, nullptr, 0x10003).empty());
    // Named host types are not reachable by an ordinal type.
    EXPECT_TRUE(Find(IconGroupType, nullptr, 7001).empty());
}

TEST(WindowsResourceOfClosedModule, IsNullWithSizeZero) {
    UInt32 size = 99;
    EXPECT_EQ(RSFindWindowsResource(InvalidResModule, IconType, nullptr, 3, &size), nullptr);
    EXPECT_EQ(size, 0u);
}

} // namespace
