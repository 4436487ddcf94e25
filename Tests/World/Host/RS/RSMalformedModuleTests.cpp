#include "RSTestModules.hpp"

#include <gtest/gtest.h>

namespace {

using RSTest::Text;
using RSTest::TextByPointer;

// A section is only read at the first lookup: one that turns out to be no resource file, or a
// resource file cut short, opens, answers every lookup with nothing, and closes.
TEST(RSModuleImages, SectionThatIsNoResourceFileOrIsCutShortFindsNothing) {
    for (HINSTANCE instance :
         {RSTest::ModuleOf(&GarbageResourceModuleAnchor), RSTest::ModuleOf(&TruncatedResourceModuleAnchor)}) {
        const GSResModule module = RSInitModuleImageCache(instance);
        ASSERT_GE(module, 1);
        UInt32 size = 99;
        EXPECT_EQ(RSFindResource(module, "STRS", 1, &size), nullptr);
        EXPECT_EQ(size, 0u);
        EXPECT_EQ(RSFindWindowsResource(module, 14, nullptr, 1, &size), nullptr);
        const RSTest::Lookup lookup = TextByPointer(module, 1, 1);
        EXPECT_FALSE(lookup.found);
        EXPECT_EQ(lookup.text, "");
        RSRemoveModuleImageCache(module);
    }
}

TEST(RSModuleImages, ModulesWithDifferentResourcesDoNotShareTheirReading) {
    const GSResModule program = RSInitModuleImageCache(RSTest::ModuleOf(&RSTest::Utf8));
    const GSResModule malformed = RSInitModuleImageCache(RSTest::ModuleOf(&MalformedListModuleAnchor));
    ASSERT_GE(program, 1);
    ASSERT_GE(malformed, 1);
    EXPECT_EQ(RSTest::Text(malformed, 5, 1), "OK");
    EXPECT_EQ(RSTest::Text(program, 5, 1), "");
    EXPECT_EQ(RSTest::Text(malformed, 32600, 2), "");
    EXPECT_EQ(RSTest::Text(program, 32600, 2), "Open in VELD Engineer...");
    RSRemoveModuleImageCache(program);
    RSRemoveModuleImageCache(malformed);
}

class MalformedStringLists : public testing::Test {
protected:
    void SetUp() override {
        module = RSInitModuleImageCache(RSTest::ModuleOf(&MalformedListModuleAnchor));
        ASSERT_GE(module, 1);
    }
    void TearDown() override { RSRemoveModuleImageCache(module); }

    GSResModule module = InvalidResModule;
};

TEST_F(MalformedStringLists, BrokenListsGiveNoTextAtAnyIndex) {
    for (GSResID list : {GSResID{1}, GSResID{2}, GSResID{3}}) {
        for (Int32 index : {1, 2, 3}) {
            EXPECT_EQ(Text(module, list, index), "") << list << "/" << index;
            const RSTest::Lookup lookup = TextByPointer(module, list, index);
            EXPECT_FALSE(lookup.found) << list << "/" << index;
            EXPECT_EQ(lookup.text, "");
        }
    }
}

TEST_F(MalformedStringLists, GoodListBesideThemStillReads) {
    EXPECT_EQ(Text(module, 5, 1), "OK");
    EXPECT_TRUE(TextByPointer(module, 5, 1).found);
    EXPECT_EQ(Text(module, 5, 2), "");
}

TEST_F(MalformedStringLists, ResourcesInOtherLanguagesAreNotThere) {
    UInt32 size = 0;
    EXPECT_EQ(RSFindResource(module, "STRS", 4, &size), nullptr);
    EXPECT_EQ(Text(module, 4, 1), "");
}

TEST_F(MalformedStringLists, HostGetsTheRawBytesOfABrokenList) {
    UInt32 size = 0;
    const UInt8* bytes = RSFindResource(module, "STRS", 1, &size);
    ASSERT_NE(bytes, nullptr);
    ASSERT_EQ(size, 7u);
    EXPECT_EQ(bytes[0], 9);
    EXPECT_EQ(bytes[5], 'K');
}

} // namespace
