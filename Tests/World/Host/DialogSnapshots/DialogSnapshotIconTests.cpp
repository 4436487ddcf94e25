#include "RS.hpp"
#include "Snapshots/DialogSnapshot.hpp"
#include "Snapshots/ModuleIconImage.hpp"
#include "Win32Compat.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// "\x89PNG\r\n\x1A\n" as the first base64 characters of an embedded image.
constexpr const char* EmbeddedPngStart = "href=\"data:image/png;base64,iVBORw0KGgo";

int Anchor() {
    return 0;
}

class AddOnIconsInSnapshots : public testing::Test {
protected:
    void SetUp() override {
        module =
            RSInitModuleImageCache(Win32Compat::ModuleFromAddress(reinterpret_cast<const void*>(&Anchor)));
        ASSERT_GE(module, 1);
        folder = std::filesystem::temp_directory_path() /
                 ("h17-snapshots-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
    }
    void TearDown() override {
        RSRemoveModuleImageCache(module);
        std::filesystem::remove_all(folder);
    }

    // The export settings dialog as its layout places its information icon (item 6, icon 32700).
    DG::DialogModel ExportSettingsWithIcon(Int16 iconNumber) const {
        DG::DialogModel model;
        model.number = 7001;
        model.module = module;
        model.title = "VELD Engineer Export Settings";
        model.width = 360;
        model.height = 150;
        DG::ItemModel icon;
        icon.number = 1;
        icon.kind = DG::ItemKind::Icon;
        icon.left = 15;
        icon.top = 68;
        icon.width = 18;
        icon.height = 18;
        icon.iconNumber = iconNumber;
        model.items.push_back(icon);
        return model;
    }

    std::string WrittenPicture(const DG::DialogModel& model) const {
        HostSim::SnapshotWriter writer(folder.string(), HostSim::ModuleIconPng);
        EXPECT_EQ(writer.Write(model, "dialog-open"), "");
        std::ifstream file(folder / "001-7001-VELD-Engineer-Export-Settings-dialog-open.svg",
                           std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    GSResModule module = InvalidResModule;
    std::filesystem::path folder;
};

TEST_F(AddOnIconsInSnapshots, ExportSettingsPictureEmbedsTheInformationIconPng) {
    const std::string picture = WrittenPicture(ExportSettingsWithIcon(32700));
    const std::size_t image = picture.find(EmbeddedPngStart);
    ASSERT_NE(image, std::string::npos) << picture;
    EXPECT_NE(picture.find("<image x=\"15\" y=\"92\" width=\"18\" height=\"18\""), std::string::npos);
    EXPECT_EQ(picture.find("fill=\"#d8d8d8\""), std::string::npos) << "no placeholder square";
}

TEST_F(AddOnIconsInSnapshots, IconWithoutAGroupStaysAPlaceholderWithItsNumber) {
    const std::string picture = WrittenPicture(ExportSettingsWithIcon(31999));
    EXPECT_EQ(picture.find("data:image/png"), std::string::npos);
    EXPECT_NE(picture.find("fill=\"#d8d8d8\""), std::string::npos);
    EXPECT_NE(picture.find(">31999</text>"), std::string::npos);
}

TEST_F(AddOnIconsInSnapshots, IconImageIsTheIconItsNinetySixDotGroupNames) {
    // Group "I32700&96" names icon 3; "I10001&96" names icon 1.
    UInt32 size = 0;
    const UInt8* icon3 = RSFindWindowsResource(module, 3, nullptr, 3, &size);
    ASSERT_NE(icon3, nullptr);
    EXPECT_EQ(HostSim::ModuleIconPng(module, 32700), std::vector<std::uint8_t>(icon3, icon3 + size));
    const UInt8* icon1 = RSFindWindowsResource(module, 3, nullptr, 1, &size);
    ASSERT_NE(icon1, nullptr);
    EXPECT_EQ(HostSim::ModuleIconPng(module, 10001), std::vector<std::uint8_t>(icon1, icon1 + size));
}

TEST_F(AddOnIconsInSnapshots, NoImageFromAClosedModuleOrAnUnknownIcon) {
    EXPECT_FALSE(HostSim::ModuleIconPng(InvalidResModule, 32700));
    EXPECT_FALSE(HostSim::ModuleIconPng(module, 7001));
    EXPECT_FALSE(HostSim::ModuleIconPng(module, -1));
}

} // namespace
