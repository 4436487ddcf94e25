#include "Record/PathText.hpp"
#include "Session/DataFolder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace HostSim;

namespace {

class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = std::filesystem::temp_directory_path() /
               ("hostsim-home " + std::to_string(std::random_device()()));
    }
    void TearDown() override { std::filesystem::remove_all(home); }
    std::filesystem::path home;
};

} // namespace

TEST_F(DataFolderTest, TheExportFolderIsMadeInsideTheDataFolderAndGivenAbsolute) {
    std::string error;
    std::map<Int32, std::string> folders = PrepareSpecialFolders(PathToUtf8(home), {}, error);
    EXPECT_EQ(error, "");
    ASSERT_TRUE(folders.contains(ExportFolderNumber));
    const std::filesystem::path exportFolder = PathFromUtf8(folders.at(ExportFolderNumber));
    EXPECT_TRUE(exportFolder.is_absolute());
    EXPECT_TRUE(std::filesystem::is_directory(exportFolder));
    EXPECT_EQ(exportFolder, home / "Export");
}

TEST_F(DataFolderTest, AGivenExportFolderIsTakenAsItIsAndNotMade) {
    std::string error;
    const std::string elsewhere = PathToUtf8(home / "not made");
    std::map<Int32, std::string> folders =
        PrepareSpecialFolders(PathToUtf8(home), {{7, elsewhere}, {3, "x"}}, error);
    EXPECT_EQ(folders.at(7), elsewhere);
    EXPECT_EQ(folders.at(3), "x");
    EXPECT_FALSE(std::filesystem::exists(home / "not made"));
    EXPECT_FALSE(std::filesystem::exists(home / "Export"));
}

TEST_F(DataFolderTest, TheRegistryFolderIsMadeWhenMissing) {
    const Result<> prepared = PrepareRegistryFolder(PathToUtf8(home / "deeper"));
    EXPECT_TRUE(prepared.Ok()) << prepared.Error();
    EXPECT_TRUE(std::filesystem::is_directory(home / "deeper" / "Registry"));
}

TEST_F(DataFolderTest, ADataFolderThatIsAFileCannotBeUsed) {
    std::filesystem::create_directories(home);
    const std::filesystem::path file = home / "file";
    std::ofstream(file) << "x";
    const Result<> prepared = PrepareRegistryFolder(PathToUtf8(file));
    ASSERT_FALSE(prepared.Ok());
    EXPECT_NE(prepared.Error().find("cannot make folder"), std::string::npos);
}
