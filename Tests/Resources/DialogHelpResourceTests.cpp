#include "DialogResourceReading.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

// The help records of the two dialogs: read whole from their bytes, and held against the layout of
// the same number, item by item.
namespace {

using ModuleResources::DialogHelp;
using ModuleResources::DialogLayout;
using ModuleResources::HelpAnchor;

DialogHelp Help(std::uint16_t number) {
    const std::vector<std::uint8_t> bytes = ModuleResources::FindHostResource("DLGH", number);
    EXPECT_FALSE(bytes.empty()) << "no help record " << number;
    try {
        return ModuleResources::ReadDialogHelp(bytes);
    } catch (const std::exception& error) {
        ADD_FAILURE() << "help record " << number << ": " << error.what();
        return {};
    }
}

DialogLayout Layout(std::uint16_t number) {
    return ModuleResources::ReadDialogLayout(ModuleResources::FindHostResource("GSDG", number));
}

std::vector<std::string> Anchors(const DialogHelp& help) {
    std::vector<std::string> anchors;
    for (const HelpAnchor& record : help.records) {
        anchors.push_back(record.anchor);
    }
    return anchors;
}

TEST(ModuleDialogHelp, InformationDialogHelpEndsAtItsHundredAndFirstByte) {
    const DialogHelp help = Help(7000);
    EXPECT_EQ(help.count, 97u);
    EXPECT_EQ(help.name, "VELDExporter_InformationDialog");
    EXPECT_EQ(help.recordCount, 5);
    EXPECT_EQ(Anchors(help),
              (std::vector<std::string>{"Button_0", "Icon_0", "LeftText_0", "LeftText_1", "CheckBox_0"}));
    EXPECT_EQ(help.end, 101u);
    EXPECT_EQ(ModuleResources::FindHostResource("DLGH", 7000).size(), 101u);
}

TEST(ModuleDialogHelp, ExportDialogHelpEndsAtItsHundredAndThirtySixthByte) {
    const DialogHelp help = Help(7001);
    EXPECT_EQ(help.count, 132u);
    EXPECT_EQ(help.name, "VELDExporter_ExportDialog");
    EXPECT_EQ(help.recordCount, 8);
    EXPECT_EQ(Anchors(help),
              (std::vector<std::string>{"Button_0", "Button_1", "LeftText_0", "Popup_0", "Button_2",
                                        "IconItem_0", "LeftText_1", "Separator_0"}));
    EXPECT_EQ(help.end, 136u);
    EXPECT_EQ(ModuleResources::FindHostResource("DLGH", 7001).size(), 136u);
}

TEST(ModuleDialogHelp, OneRecordPerLayoutItemInTheSameOrderWithAnEmptyText) {
    for (std::uint16_t number : ModuleResources::DialogNumbers) {
        const DialogHelp help = Help(number);
        const DialogLayout layout = Layout(number);
        ASSERT_EQ(help.records.size(), layout.items.size()) << number;
        for (std::size_t i = 0; i < help.records.size(); ++i) {
            EXPECT_EQ(help.records[i].item, layout.items[i].number) << number << " record " << i + 1;
            EXPECT_EQ(help.records[i].text, "") << number << " record " << i + 1;
        }
    }
}

// An anchor is its item's kind word and the item's 0-based ordinal among the items of that kind;
// the icon item's word differs between the two dialogs.
TEST(ModuleDialogHelp, AnchorNamesAreKindAndOrdinalAmongTheSameKind) {
    for (const auto& [number, iconWord] :
         std::vector<std::pair<std::uint16_t, std::string>>{{7000, "Icon"}, {7001, "IconItem"}}) {
        const std::map<std::uint16_t, std::string> kindWords = {{1, "Button"},     {2, "CheckBox"},
                                                                {5, "Popup"},      {13, "LeftText"},
                                                                {15, "Separator"}, {16, iconWord}};
        std::map<std::uint16_t, int> seen;
        std::vector<std::string> expected;
        for (const ModuleResources::LayoutItem& item : Layout(number).items) {
            expected.push_back(kindWords.at(item.type) + "_" + std::to_string(seen[item.type]++));
        }
        EXPECT_EQ(Anchors(Help(number)), expected) << number;
    }
}

} // namespace
