#include "RSTestModules.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using RSTest::Text;
using RSTest::TextByPointer;

// This test program links the add-on's resources, so it reads them as the add-on does.
class ProgramStringLists : public testing::Test {
protected:
    void SetUp() override {
        module = RSInitModuleImageCache(RSTest::ModuleOf(&RSTest::Utf8));
        ASSERT_GE(module, 1);
    }
    void TearDown() override { RSRemoveModuleImageCache(module); }

    GSResModule module = InvalidResModule;
};

TEST_F(ProgramStringLists, AllTwelveMessagesInBothForms) {
    const std::vector<std::string> messages = {
        "OK",
        "No supported VELD Engineer version available.",
        "Please make sure you have installed VELD Engineer (version xx or above).",
        "Could not save SAF file.",
        "Please make sure the SAF add-on is available, and/or that you have permission to save to the "
        "selected "
        "folder.",
        "VELD Engineer was unable to open the SAF file.",
        "You might not have permission to use VELD Engineer. Please check with your administrator.",
        "Select translator",
        "The model could not be opened in VELD Engineer. Please check the followings, then try again:",
        "- VELD Engineer Export Settings",
        "VELD Engineer Export Settings...",
        "Cancel",
    };
    for (Int32 index = 1; index <= 12; ++index) {
        const std::string& expected = messages[static_cast<std::size_t>(index - 1)];
        EXPECT_EQ(Text(module, 32300, index), expected) << index;
        const RSTest::Lookup lookup = TextByPointer(module, 32300, index);
        EXPECT_TRUE(lookup.found) << index;
        EXPECT_EQ(lookup.text, expected) << index;
    }
}

TEST_F(ProgramStringLists, NameAndDescriptionAreTheSameText) {
    EXPECT_EQ(Text(module, 32000, 1), "VELD Engineer In-Out: Export/Import add-on");
    EXPECT_EQ(Text(module, 32000, 2), Text(module, 32000, 1));
}

TEST_F(ProgramStringLists, IndexesOutsideTheListGiveEmptyAndFalse) {
    for (Int32 index : {0, 15, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(Text(module, 32300, index), "") << index;
        const RSTest::Lookup lookup = TextByPointer(module, 32300, index);
        EXPECT_FALSE(lookup.found) << index;
        EXPECT_EQ(lookup.text, "") << index;
    }
}

TEST_F(ProgramStringLists, ListsTheModuleDoesNotHoldGiveEmptyAndFalse) {
    for (GSResID list : {GSResID{32001}, GSResID{0}, GSResID{-32300}, GSResID{7000}}) {
        EXPECT_EQ(Text(module, list, 1), "") << list;
        EXPECT_FALSE(TextByPointer(module, list, 1).found) << list;
    }
}

TEST_F(ProgramStringLists, PointerFormWithoutAStringFindsNothing) {
    EXPECT_FALSE(RSGetIndString_ParamAdapter(GS_SOURCE_LOCATION, nullptr, 32300, 1, module, RST_Default));
}

TEST_F(ProgramStringLists, HostFindsMenuListsByTypeNameInAnyCase) {
    UInt32 size = 0;
    const UInt8* menu = RSFindResource(module, "STRS", 32500, &size);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(size, 123u);
    EXPECT_EQ(RSFindResource(module, "strs", 32500, &size), menu);
    EXPECT_EQ(RSFindResource(module, "Strs", 32500, &size), menu);
    ASSERT_NE(RSFindResource(module, "STRS", 32600, &size), nullptr);
    EXPECT_EQ(size, 87u);
}

TEST_F(ProgramStringLists, HostFindsNothingForOtherTypesOrNumbers) {
    UInt32 size = 99;
    EXPECT_EQ(RSFindResource(module, "STR", 32500, &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(RSFindResource(module, "GSDG", 7002, &size), nullptr);
    EXPECT_EQ(RSFindResource(module, "STRS", 32500 + 65536, &size), nullptr);
    EXPECT_EQ(RSFindResource(module, "STRS", -1, &size), nullptr);
    EXPECT_EQ(RSFindResource(module, nullptr, 32500, &size), nullptr);
    EXPECT_EQ(RSFindResource(module + 1000, "STRS", 32500, &size), nullptr);
}

TEST_F(ProgramStringLists, EachOpeningIsItsOwnModuleUntilRemoved) {
    const GSResModule second = RSInitModuleImageCache(RSTest::ModuleOf(&RSTest::Utf8));
    ASSERT_GT(second, module);
    EXPECT_EQ(Text(second, 32300, 12), "Cancel");

    RSRemoveModuleImageCache(second);
    EXPECT_EQ(Text(second, 32300, 12), "");
    EXPECT_FALSE(TextByPointer(second, 32300, 12).found);
    EXPECT_EQ(Text(module, 32300, 12), "Cancel");

    RSRemoveModuleImageCache(second);
    RSRemoveModuleImageCache(InvalidResModule);
    EXPECT_EQ(Text(module, 32300, 1), "OK");

    // A number is never handed out again, so a stale one cannot reach a newer module.
    const GSResModule third = RSInitModuleImageCache(RSTest::ModuleOf(&RSTest::Utf8));
    EXPECT_GT(third, second);
    RSRemoveModuleImageCache(third);
}

TEST(RSModules, ModulesNeverOpenedHoldNothing) {
    EXPECT_EQ(Text(InvalidResModule, 32300, 1), "");
    EXPECT_FALSE(TextByPointer(987654, 32300, 1).found);
}

} // namespace
