#include "DialogLayout.hpp"
#include "LayoutBytes.hpp"

#include <gtest/gtest.h>

namespace {

using DG::ItemKind;
using DG::ParseDialogLayout;

std::span<const std::uint8_t> Span(const std::vector<std::uint8_t>& bytes) {
    return {bytes.data(), bytes.size()};
}

TEST(DialogLayoutParse, ExportSettingsLayoutReadsItemByItemToItsLastByte) {
    const std::vector<std::uint8_t> bytes = DGTest::ExportSettingsLayout();
    ASSERT_EQ(bytes.size(), 312u);
    const DG::LayoutParse parsed = ParseDialogLayout(Span(bytes), 7001);
    ASSERT_TRUE(parsed.layout) << parsed.error.Describe();
    const DG::DialogLayout& layout = *parsed.layout;
    EXPECT_EQ(layout.title, "VELD Engineer Export Settings");
    EXPECT_EQ(layout.width, 360);
    EXPECT_EQ(layout.height, 150);
    ASSERT_EQ(layout.items.size(), 8u);
    const std::vector<ItemKind> kinds{ItemKind::PushButton, ItemKind::PushButton, ItemKind::StaticText,
                                      ItemKind::PopUp,      ItemKind::PushButton, ItemKind::Icon,
                                      ItemKind::StaticText, ItemKind::Separator};
    for (std::size_t index = 0; index < kinds.size(); ++index) {
        EXPECT_EQ(layout.items[index].kind, kinds[index]) << "item " << index + 1;
        EXPECT_EQ(layout.items[index].number, static_cast<Int16>(index + 1));
    }
    EXPECT_EQ(layout.items[1].text, "Cancel");
    EXPECT_EQ(layout.items[5].iconNumber, 32700);
    // The pop-up occupies its closed height, the row it shares with "Details...".
    EXPECT_EQ(layout.items[3].height, 23);
    EXPECT_EQ(layout.items[3].width, 230);
    EXPECT_EQ(layout.items[7].left, 15);
    EXPECT_EQ(layout.items[7].top, 105);
}

TEST(DialogLayoutParse, InformationLayoutEndsWithItsCheckBox) {
    const std::vector<std::uint8_t> bytes = DGTest::InformationLayout();
    ASSERT_EQ(bytes.size(), 330u);
    const DG::LayoutParse parsed = ParseDialogLayout(Span(bytes), 7000);
    ASSERT_TRUE(parsed.layout) << parsed.error.Describe();
    ASSERT_EQ(parsed.layout->items.size(), 5u);
    EXPECT_EQ(parsed.layout->items[4].kind, ItemKind::CheckBox);
    EXPECT_EQ(parsed.layout->items[4].text, "Don't show this dialog again.");
}

TEST(DialogLayoutParse, EveryTruncationIsAnErrorInsideTheBytes) {
    const std::vector<std::uint8_t> whole = DGTest::ExportSettingsLayout();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        std::vector<std::uint8_t> prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        const DG::LayoutParse parsed = ParseDialogLayout(Span(prefix), 7001);
        EXPECT_FALSE(parsed.layout) << "length " << length;
        EXPECT_LE(parsed.error.offset, length) << "length " << length;
    }
}

// The count is fixed to fit, so that the parse goes as far as the item the test breaks.
std::vector<std::uint8_t> WithCountFixed(std::vector<std::uint8_t> bytes) {
    const auto count = static_cast<std::uint32_t>(bytes.size() - 4);
    for (std::size_t index = 0; index < 4; ++index) {
        bytes[index] = static_cast<std::uint8_t>((count >> (8 * index)) & 0xFFu);
    }
    return bytes;
}

TEST(DialogLayoutParse, AnItemCutShortNamesItsItemAndOffset) {
    std::vector<std::uint8_t> bytes = DGTest::ExportSettingsLayout();
    bytes.resize(138 + 10); // into the pop-up's record, which begins at offset 138
    const DG::LayoutParse parsed = ParseDialogLayout(Span(WithCountFixed(bytes)), 7001);
    ASSERT_FALSE(parsed.layout);
    EXPECT_EQ(parsed.error.item, 4);
    EXPECT_EQ(parsed.error.offset, 148u);
    EXPECT_EQ(parsed.error.Describe().rfind("GSDG 7001, item 4, offset 148: ", 0), 0u)
        << parsed.error.Describe();
}

TEST(DialogLayoutParse, AnUnknownTypeCodeIsNamedAtItsWord) {
    std::vector<std::uint8_t> bytes = DGTest::ExportSettingsLayout();
    bytes[298 + 2] = 9; // the separator's type code
    const DG::LayoutParse parsed = ParseDialogLayout(Span(bytes), 7001);
    ASSERT_FALSE(parsed.layout);
    EXPECT_EQ(parsed.error.item, 8);
    EXPECT_EQ(parsed.error.offset, 300u);
    EXPECT_NE(parsed.error.message.find("unknown item type code 9"), std::string::npos);
}

TEST(DialogLayoutParse, ItemsOutOfOrderAreRejected) {
    std::vector<std::uint8_t> bytes = DGTest::ExportSettingsLayout();
    bytes[69] = 3; // item 2 claims to be item 3
    const DG::LayoutParse parsed = ParseDialogLayout(Span(bytes), 7001);
    ASSERT_FALSE(parsed.layout);
    EXPECT_EQ(parsed.error.item, 2);
    EXPECT_EQ(parsed.error.offset, 69u);
}

TEST(DialogLayoutParse, AByteCountThatDisagreesWithTheSizeIsRejectedAtOffsetZero) {
    std::vector<std::uint8_t> bytes = DGTest::ExportSettingsLayout();
    bytes.push_back(0);
    const DG::LayoutParse parsed = ParseDialogLayout(Span(bytes), 7001);
    ASSERT_FALSE(parsed.layout);
    EXPECT_EQ(parsed.error.offset, 0u);
    EXPECT_EQ(parsed.error.item, 0);
}

TEST(DialogLayoutParse, BytesAfterTheLastItemAreRejected) {
    std::vector<std::uint8_t> bytes = DGTest::ExportSettingsLayout();
    bytes.push_back(0);
    bytes.push_back(0);
    const DG::LayoutParse parsed = ParseDialogLayout(Span(WithCountFixed(bytes)), 7001);
    ASSERT_FALSE(parsed.layout);
    EXPECT_EQ(parsed.error.offset, 312u);
    EXPECT_NE(parsed.error.message.find("2 bytes after the last item"), std::string::npos);
}

TEST(DialogLayoutParse, ATextWithoutItsNulIsRejected) {
    std::vector<std::uint8_t> bytes = DGTest::LayoutBytes(100, 50, "T").Button(1, 1, 10, 10, "OK").Bytes();
    bytes.pop_back(); // the button text's NUL
    const DG::LayoutParse parsed = ParseDialogLayout(Span(WithCountFixed(bytes)), 1);
    ASSERT_FALSE(parsed.layout);
    EXPECT_EQ(parsed.error.item, 1);
    EXPECT_NE(parsed.error.message.find("no terminating NUL"), std::string::npos);
}

} // namespace
