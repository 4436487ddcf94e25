#include "DialogLayout.hpp"
#include "RS.hpp"
#include "Screen/Windows/DialogWindow.hpp"
#include "Screen/Windows/WindowText.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The add-on's own layouts drawn as windows: every control stands where its layout item puts it,
// scaled for the dialog's font resolution, with the item's text, and follows the model when DG's
// observers move it. Windows' null graphics driver under Wine makes the windows without a display.
namespace {

class AddOnLayoutWindows : public ::testing::TestWithParam<Int32> {
protected:
    void SetUp() override {
        library = ::LoadLibraryW(HostSim::WideText(ADDON_MODULE_PATH).c_str());
        ASSERT_NE(library, nullptr);
        module = RSInitModuleImageCache(library);
        ASSERT_GE(module, 1);
    }
    void TearDown() override {
        RSRemoveModuleImageCache(module);
        ::FreeLibrary(library);
    }

    // The model DG makes of the layout before any observer runs (pop-ups with two entries).
    DG::DialogModel ModelOfLayout(Int32 number) const {
        UInt32 size = 0;
        const UInt8* bytes = RSFindResource(module, "GSDG", number, &size);
        EXPECT_NE(bytes, nullptr);
        const DG::LayoutParse parse =
            DG::ParseDialogLayout(std::span<const std::uint8_t>(bytes, size), number);
        EXPECT_TRUE(parse.layout.has_value()) << parse.error.Describe();
        DG::DialogModel model;
        model.number = number;
        model.module = module;
        model.title = parse.layout->title;
        model.width = parse.layout->width;
        model.height = parse.layout->height;
        for (const DG::LayoutItem& item : parse.layout->items) {
            DG::ItemModel shown;
            shown.number = item.number;
            shown.kind = item.kind;
            shown.left = item.left;
            shown.top = item.top;
            shown.width = item.width;
            shown.height = item.height;
            shown.text = item.text;
            shown.iconNumber = item.iconNumber;
            if (item.kind == DG::ItemKind::PopUp) {
                shown.entries = {{"Select translator", false}, {"Structural Analysis (SI)", true}};
                shown.selected = 1;
            }
            model.items.push_back(shown);
        }
        return model;
    }

    static RECT ClientRect(HWND window, HWND control) {
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    HMODULE library = nullptr;
    GSResModule module = InvalidResModule;
};

TEST_P(AddOnLayoutWindows, EveryControlStandsWhereItsItemIsWithItsText) {
    const DG::DialogModel model = ModelOfLayout(GetParam());
    ASSERT_FALSE(model.items.empty());
    HostSim::DialogWindow dialog(nullptr, model, [](const HostSim::ScreenAction&) {});
    ASSERT_NE(dialog.Window(), nullptr);
    EXPECT_EQ(HostSim::WindowCaption(dialog.Window()), model.title);

    // Layout units are pixels at 96 dots per inch.
    HDC screen = ::GetDC(nullptr);
    const double scale = ::GetDeviceCaps(screen, LOGPIXELSY) / 96.0;
    ::ReleaseDC(nullptr, screen);
    const auto scaled = [scale](int value) { return static_cast<LONG>(value * scale + 0.5); };
    RECT client{};
    ::GetClientRect(dialog.Window(), &client);
    EXPECT_EQ(client.right, scaled(model.width));
    EXPECT_EQ(client.bottom, scaled(model.height));

    bool defaultMarked = false;
    for (const DG::ItemModel& item : model.items) {
        SCOPED_TRACE("item " + std::to_string(item.number) + " (" + DG::ItemKindName(item.kind) + ")");
        HWND control = dialog.Control(item.number);
        ASSERT_NE(control, nullptr);
        const RECT rect = ClientRect(dialog.Window(), control);
        EXPECT_EQ(rect.left, scaled(item.left));
        EXPECT_EQ(rect.top, scaled(item.top));
        EXPECT_EQ(rect.right - rect.left, scaled(item.width));
        if (item.kind == DG::ItemKind::PopUp) {
            // Wine keeps a drop-down list's selection field at least as high as its font needs plus
            // a margin, which is 2 pixels more than the layout's 23 for the message font; Windows
            // takes the height asked for.
            EXPECT_NEAR(rect.bottom - rect.top, scaled(item.height), 2);
        } else {
            EXPECT_EQ(rect.bottom - rect.top, scaled(item.height));
        }
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
        switch (item.kind) {
        case DG::ItemKind::PushButton:
            EXPECT_EQ(HostSim::WindowCaption(control), item.text);
            defaultMarked = defaultMarked || (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
            break;
        case DG::ItemKind::CheckBox:
        case DG::ItemKind::StaticText:
            EXPECT_EQ(HostSim::WindowCaption(control), item.text);
            break;
        case DG::ItemKind::PopUp:
            EXPECT_EQ(::SendMessageW(control, CB_GETCOUNT, 0, 0), 2);
            EXPECT_EQ(::SendMessageW(control, CB_GETCURSEL, 0, 0), 0);
            break;
        case DG::ItemKind::Icon:
            EXPECT_NE(::SendMessageW(control, STM_GETICON, 0, 0), 0)
                << "the module's icon " << item.iconNumber;
            break;
        case DG::ItemKind::Separator:
            break;
        }
    }
    EXPECT_TRUE(defaultMarked) << "no push button is the default one";
}

TEST_P(AddOnLayoutWindows, ControlsAndTheWindowFollowTheModelWhenObserversChangeIt) {
    DG::DialogModel model = ModelOfLayout(GetParam());
    HostSim::DialogWindow dialog(nullptr, model, [](const HostSim::ScreenAction&) {});
    ASSERT_NE(dialog.Window(), nullptr);
    model.width = static_cast<Int16>(model.width + 40);
    model.items.front().left = static_cast<Int16>(model.items.front().left + 40);
    model.items.front().enabled = false;
    dialog.Show(model);
    RECT client{};
    ::GetClientRect(dialog.Window(), &client);
    EXPECT_EQ(client.right, model.width);
    HWND first = dialog.Control(1);
    EXPECT_EQ(ClientRect(dialog.Window(), first).left, model.items.front().left);
    EXPECT_FALSE(::IsWindowEnabled(first));
}

INSTANTIATE_TEST_SUITE_P(InformationAndExportSettings, AddOnLayoutWindows, ::testing::Values(7000, 7001));

} // namespace
