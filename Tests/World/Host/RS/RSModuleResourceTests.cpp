#include "RSTestModules.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The host reads the module's dialog layouts, help records and identifier by type name and number
// from the same section as its string lists; this test program links those resources.
class ProgramHostResources : public testing::Test {
protected:
    void SetUp() override {
        module = RSInitModuleImageCache(RSTest::ModuleOf(&RSTest::Utf8));
        ASSERT_GE(module, 1);
    }
    void TearDown() override { RSRemoveModuleImageCache(module); }

    std::vector<UInt8> Find(const char* type, Int32 number) const {
        UInt32 size = 0;
        const UInt8* bytes = RSFindResource(module, type, number, &size);
        return bytes == nullptr ? std::vector<UInt8>() : std::vector<UInt8>(bytes, bytes + size);
    }

    GSResModule module = InvalidResModule;
};

TEST_F(ProgramHostResources, ExportSettingsLayoutBeginsWithItsCountAndHeaderWords) {
    const std::vector<UInt8> layout = Find("GSDG", 7001);
    ASSERT_EQ(layout.size(), 312u);
    // 308 = 0x134 bytes follow the count; then the header words 4, 0, 0, 0, width 360, height 150.
    EXPECT_EQ(std::vector<UInt8>(layout.begin(), layout.begin() + 16),
              (std::vector<UInt8>{0x34, 0x01, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0x68, 0x01, 0x96, 0}));
    EXPECT_EQ(Find("gsdg", 7001), layout);
}

TEST_F(ProgramHostResources, ModuleIdentifierIsItsTwelveBytes) {
    EXPECT_EQ(Find("MDID", 32500),
              (std::vector<UInt8>{0x08, 0, 0, 0, 0x2F, 0x6C, 0x47, 0x33, 0xCB, 0x50, 0x62, 0xF6}));
}

TEST_F(ProgramHostResources, LayoutsAndHelpRecordsByNumber) {
    EXPECT_EQ(Find("GSDG", 7000).size(), 330u);
    EXPECT_EQ(Find("DLGH", 7000).size(), 101u);
    EXPECT_EQ(Find("DLGH", 7001).size(), 136u);
    EXPECT_TRUE(Find("GSDG", 7002).empty());
    EXPECT_TRUE(Find("MDID", 32000).empty());
}

} // namespace
