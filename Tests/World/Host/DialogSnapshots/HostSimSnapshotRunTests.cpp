#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// hostsim on the built add-on: "VELD Engineer Export Settings" (menu 32500 item 2) opened and
// cancelled, drawn with --snapshots in a fresh data folder.
TEST(HostSimSnapshotOfTheAddOn, ExportSettingsPictureCarriesTheInformationIconAsPng) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() /
        ("h17-hostsim-snapshot-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "home");
    std::ofstream(root / "pictures.script") << "menu 32500 2\nclose 2\nquit\n";

    const std::string command = Quoted(HOSTSIM_PATH) + " --home " + Quoted(root / "home") + " --snapshots " +
                                Quoted(root / "pictures") + " --script " + Quoted(root / "pictures.script") +
                                " " + Quoted(ADDON_MODULE_PATH) + " >" + Quoted(root / "output.txt") +
                                " 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << ReadFile(root / "output.txt");

    const std::string picture =
        ReadFile(root / "pictures" / "001-7001-VELD-Engineer-Export-Settings-dialog-open.svg");
    EXPECT_NE(picture.find("<g id=\"item-6\">\n<image "), std::string::npos) << picture;
    EXPECT_NE(picture.find("href=\"data:image/png;base64,iVBORw0KGgo"), std::string::npos);
    std::filesystem::remove_all(root);
}

} // namespace
