#include "DialogResourceReading.hpp"
#include "ResFormat/StringListFormat.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// The module's two dialog layouts, read record by record from the built .res file and held against
// the layout tables: every item's offset, kind, style, rectangle, further words and text.
namespace {

using ModuleResources::DialogLayout;
using ModuleResources::LayoutItem;

constexpr std::uint16_t PushButton = 1;
constexpr std::uint16_t CheckBox = 2;
constexpr std::uint16_t PopUp = 5;
constexpr std::uint16_t StaticText = 13;
constexpr std::uint16_t Separator = 15;
constexpr std::uint16_t Icon = 16;
constexpr std::uint16_t Margin = 15;

DialogLayout Layout(std::uint16_t number) {
    const std::vector<std::uint8_t> bytes = ModuleResources::FindHostResource("GSDG", number);
    EXPECT_FALSE(bytes.empty()) << "no dialog layout " << number;
    try {
        return ModuleResources::ReadDialogLayout(bytes);
    } catch (const std::exception& error) {
        ADD_FAILURE() << "dialog layout " << number << ": " << error.what();
        return {};
    }
}

std::vector<std::uint16_t> Numbers(const DialogLayout& layout) {
    std::vector<std::uint16_t> numbers;
    for (const LayoutItem& item : layout.items) {
        numbers.push_back(item.number);
    }
    return numbers;
}

TEST(ModuleDialogLayouts, InformationDialogMatchesItsTableRecordByRecord) {
    const DialogLayout layout = Layout(7000);
    EXPECT_EQ(layout.count, 326u);
    EXPECT_EQ(layout.headerWords, (std::array<std::uint16_t, 4>{4, 0, 0, 0}));
    EXPECT_EQ(layout.width, 360);
    EXPECT_EQ(layout.height, 165);
    EXPECT_EQ(layout.title, "Information");
    EXPECT_EQ(layout.itemCount, 5);
    const std::vector<LayoutItem> expected = {
        {30, 1, PushButton, 7, 255, 132, 90, 23, {0, 0}, "OK"},
        {51, 2, Icon, 0, 15, 10, 18, 18, {0, 32700}, std::nullopt},
        {69, 3, StaticText, 0x0400, 40, 5, 305, 23, {0, 16}, "Model is opening in VELD Engineer."},
        {122,
         4,
         StaticText,
         0,
         40,
         35,
         305,
         53,
         {0, 0},
         "To change export settings: choose a different translator at File > Interoperability > VELD "
         "Engineer "
         "Connection > VELD Engineer Export Settings."},
        {284, 5, CheckBox, 1, 15, 95, 330, 23, {0}, "Don't show this dialog again."},
    };
    EXPECT_EQ(layout.items, expected);
    EXPECT_EQ(layout.end, 330u) << "the last record ends the resource";
    EXPECT_EQ(ModuleResources::FindHostResource("GSDG", 7000).size(), 330u);
}

TEST(ModuleDialogLayouts, ExportSettingsDialogMatchesItsTableRecordByRecord) {
    const DialogLayout layout = Layout(7001);
    EXPECT_EQ(layout.count, 308u);
    EXPECT_EQ(layout.headerWords, (std::array<std::uint16_t, 4>{4, 0, 0, 0}));
    EXPECT_EQ(layout.width, 360);
    EXPECT_EQ(layout.height, 150);
    EXPECT_EQ(layout.title, "VELD Engineer Export Settings");
    EXPECT_EQ(layout.itemCount, 8);
    const std::vector<LayoutItem> expected = {
        {48, 1, PushButton, 7, 255, 117, 90, 23, {0, 0}, "OK"},
        {69, 2, PushButton, 7, 155, 117, 90, 23, {0, 0}, "Cancel"},
        {94, 3, StaticText, 0x0400, 15, 5, 330, 23, {0, 16}, "SAF Translator for Export"},
        {138, 4, PopUp, 0, 15, 35, 230, 100, {23, 3, 0}, std::nullopt},
        {158, 5, PushButton, 7, 255, 35, 90, 23, {0, 0}, "Details..."},
        {187, 6, Icon, 0, 15, 68, 18, 18, {0, 32700}, std::nullopt},
        {205,
         7,
         StaticText,
         0x0400,
         40,
         65,
         305,
         33,
         {0, 0},
         "To edit or create Translators, navigate to the SAF Translators dialog box."},
        {298, 8, Separator, 0, 15, 105, 330, 2, {}, std::nullopt},
    };
    EXPECT_EQ(layout.items, expected);
    EXPECT_EQ(layout.end, 312u) << "the last record ends the resource";
    EXPECT_EQ(ModuleResources::FindHostResource("GSDG", 7001).size(), 312u);
}

TEST(ModuleDialogLayouts, ItemNumbersRunFromOneWithoutGaps) {
    EXPECT_EQ(Numbers(Layout(7000)), (std::vector<std::uint16_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Numbers(Layout(7001)), (std::vector<std::uint16_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

// The export settings dialog's class builds a button, label, pop-up, icon, text or separator
// member on each item number.
TEST(ModuleDialogLayouts, ExportSettingsItemsAreOfTheKindsItsClassBuildsOn) {
    std::vector<std::uint16_t> kinds;
    for (const LayoutItem& item : Layout(7001).items) {
        kinds.push_back(item.type);
    }
    EXPECT_EQ(kinds, (std::vector<std::uint16_t>{PushButton, PushButton, StaticText, PopUp, PushButton, Icon,
                                                 StaticText, Separator}));
}

TEST(ModuleDialogLayouts, BothIconItemsShowTheInformationSignAtEighteenPixels) {
    std::size_t icons = 0;
    for (std::uint16_t number : ModuleResources::DialogNumbers) {
        for (const LayoutItem& item : Layout(number).items) {
            if (item.type != Icon) {
                continue;
            }
            ++icons;
            ASSERT_EQ(item.further.size(), 2u);
            EXPECT_EQ(item.further[1], 32700) << number << " item " << item.number;
            EXPECT_NE(item.further[1], 10001) << "icon 10001 belongs to the menu";
            EXPECT_EQ(item.width, 18);
            EXPECT_EQ(item.height, 18);
        }
    }
    EXPECT_EQ(icons, 2u);
}

TEST(ModuleDialogLayouts, EveryItemKeepsTheMarginsAndTheButtonRowEndsTenAboveTheBottom) {
    for (std::uint16_t number : ModuleResources::DialogNumbers) {
        const DialogLayout layout = Layout(number);
        std::uint16_t lowestButtonBottom = 0;
        for (const LayoutItem& item : layout.items) {
            EXPECT_GE(item.left, Margin) << number << " item " << item.number;
            EXPECT_LE(item.left + item.width, layout.width - Margin) << number << " item " << item.number;
            EXPECT_GE(item.top, 5) << number << " item " << item.number;
            if (item.type != PopUp) {
                EXPECT_LE(item.top + item.height, layout.height) << number << " item " << item.number;
            }
            if (item.type == PushButton) {
                lowestButtonBottom = std::max<std::uint16_t>(lowestButtonBottom, item.top + item.height);
            }
        }
        EXPECT_EQ(lowestButtonBottom, layout.height - 10) << number;
    }
}

// Each text beside an icon begins 7 to the right of the icon; Cancel and OK stand 10 apart.
TEST(ModuleDialogLayouts, TextsBesideIconsAndTheBottomButtons) {
    const DialogLayout information = Layout(7000);
    EXPECT_EQ(information.items[2].left, information.items[1].left + information.items[1].width + 7);
    const DialogLayout settings = Layout(7001);
    EXPECT_EQ(settings.items[6].left, settings.items[5].left + settings.items[5].width + 7);
    const LayoutItem& ok = settings.items[0];
    const LayoutItem& cancel = settings.items[1];
    EXPECT_EQ(ok.top, cancel.top);
    EXPECT_EQ(ok.left, cancel.left + cancel.width + 10);
}

TEST(ModuleDialogLayouts, PopUpSharesItsRowWithDetails) {
    const DialogLayout layout = Layout(7001);
    const LayoutItem& popUp = layout.items[3];
    const LayoutItem& details = layout.items[4];
    EXPECT_EQ(details.text, "Details...");
    EXPECT_EQ(popUp.top, details.top);
    EXPECT_LT(popUp.left + popUp.width, details.left);
    ASSERT_FALSE(popUp.further.empty());
    EXPECT_EQ(popUp.further[0], details.height) << "the pop-up's closed height is the row's";
}

TEST(ModuleDialogLayouts, ExportSettingsTitleIsItsMenuItemWithoutTheEllipsis) {
    const std::vector<std::uint8_t> menu = ModuleResources::FindHostResource("STRS", 32500);
    const ResFormat::StringList list = ResFormat::ParseStringList(menu);
    ASSERT_EQ(list.texts.size(), 3u);
    EXPECT_EQ(std::string(list.texts[2]).rfind(Layout(7001).title + "...^", 0), 0u) << list.texts[2];
}

} // namespace
