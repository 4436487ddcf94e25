#include "ModelHandOff/AbsoluteFolder.hpp"
#include "ModelHandOff/AnalysisApplicationLocator.hpp"

#include "HostObservers.hpp"
#include "RegistrySandbox.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {
constexpr const char* OpenRootKey = "GSPref::OpenRootKey";
constexpr const char* CloseRootKey = "GSPref::CloseRootKey";
constexpr const char* ReadStringValue = "GSPref::ReadStringValue";

IO::Location LocationOf(const std::filesystem::path& path) {
    const std::string utf8 = path.string();
    return IO::Location(GS::UniString::FromUTF8(utf8.c_str(), static_cast<UIndex>(utf8.size())));
}

class AnalysisApplicationLocator : public testing::Test {
protected:
    RegistrySandbox registry;
};
} // namespace

TEST_F(AnalysisApplicationLocator, FindsTheExecutableOfAnInstallation) {
    const auto executable = registry.Install("VeldEngineer 2024");
    const auto location = GetAnalysisApplicationLocation();
    ASSERT_TRUE(location.has_value());
    EXPECT_TRUE(*location == LocationOf(executable));
}

TEST_F(AnalysisApplicationLocator, WithoutTheVendorKeyFindsNothingAndStillClosesTheKeyOnce) {
    HostLibraryCalls calls;
    EXPECT_FALSE(GetAnalysisApplicationLocation().has_value());
    EXPECT_EQ(calls.Count(OpenRootKey), 1u);
    EXPECT_EQ(calls.Count(CloseRootKey), 1u);
    EXPECT_EQ(calls.Count(ReadStringValue), 0u);
}

TEST_F(AnalysisApplicationLocator, WithoutInstallationSubkeysReadsNoValue) {
    registry.AddEmptyInstallationsKey();
    HostLibraryCalls calls;
    EXPECT_FALSE(GetAnalysisApplicationLocation().has_value());
    EXPECT_EQ(calls.Count(ReadStringValue), 0u);
    EXPECT_EQ(calls.Count(CloseRootKey), 1u);
}

TEST_F(AnalysisApplicationLocator, OnlyTheLastReportedInstallationCountsEvenWhenAnEarlierOneIsValid) {
    registry.Install("A valid installation");
    registry.AddInstallationWithoutFolder("B without a folder");
    EXPECT_FALSE(GetAnalysisApplicationLocation().has_value());

    registry.AddInstallation("C without the executable", registry.MakeInstallFolder("empty", false));
    EXPECT_FALSE(GetAnalysisApplicationLocation().has_value());
}

TEST_F(AnalysisApplicationLocator, OfTwoValidInstallationsTheLastReportedWinsNotTheNewest) {
    // The registry reports "Version 10" before "Version 9": names are sorted, never compared as versions.
    registry.Install("Version 10");
    const auto lastReported = registry.Install("Version 9");
    const auto location = GetAnalysisApplicationLocation();
    ASSERT_TRUE(location.has_value());
    EXPECT_TRUE(*location == LocationOf(lastReported));
}

TEST_F(AnalysisApplicationLocator, AnInstallFolderWithoutTheExecutableFindsNothing) {
    registry.AddInstallation("Version 1", registry.MakeInstallFolder("Version 1", false));
    EXPECT_FALSE(GetAnalysisApplicationLocation().has_value());
}

TEST_F(AnalysisApplicationLocator, AnEmptyInstallFolderFindsNothing) {
    registry.AddInstallation("Version 1", std::filesystem::path());
    EXPECT_FALSE(GetAnalysisApplicationLocation().has_value());
}

// An installation folder that does not name one place is no installation, even when the working
// folder happens to hold the executable below it.
TEST_F(AnalysisApplicationLocator, ARelativeInstallFolderFindsNothingWhateverTheWorkingFolder) {
    const std::filesystem::path folder = registry.MakeInstallFolder("VELD Engineer", true);
    const std::string name = folder.filename().string();
    struct WorkingFolder {
        std::filesystem::path before = std::filesystem::current_path();
        ~WorkingFolder() { std::filesystem::current_path(before); }
    } restored;
    std::filesystem::current_path(folder.parent_path());
    const std::string relative[] = {name, "./" + name, name + "/",
                                    "../" + folder.parent_path().filename().string() + "/" + name};
    int row = 0; // the registry reports installations by name: each row's is the last one
    for (const std::string& installFolder : relative) {
        ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(installFolder) / "VeldEngineer.exe"))
            << installFolder;
        registry.AddInstallation("Relative " + std::to_string(row++), installFolder);
        EXPECT_FALSE(GetAnalysisApplicationLocation().has_value()) << installFolder;
    }
    // The same folder written whole is found.
    registry.AddInstallation("Whole", folder);
    EXPECT_TRUE(GetAnalysisApplicationLocation().has_value());
}

TEST_F(AnalysisApplicationLocator, EveryCallReadsTheRegistryAndTheFileAfresh) {
    const auto executable = registry.Install("Version 1");
    HostLibraryCalls calls;
    EXPECT_TRUE(GetAnalysisApplicationLocation().has_value());
    std::filesystem::remove(executable);
    EXPECT_FALSE(GetAnalysisApplicationLocation().has_value());
    EXPECT_EQ(calls.Count(OpenRootKey), 2u);
    EXPECT_EQ(calls.Count(ReadStringValue), 2u);
    EXPECT_EQ(calls.Count(CloseRootKey), 2u);
}

// The forms of folder path that name one place on this platform, and those that depend on a working
// folder or drive.
TEST(AbsoluteFolder, OnlyAWholePathNamesOnePlace) {
    const struct {
        const char16_t* folder;
        bool absolute;
    } cases[] = {
        {u"", false},
        {u"VELD Engineer", false},
        {u"./VELD Engineer", false},
        {u"../VELD Engineer", false},
#ifdef _WIN32
        {u"C:\\Program Files\\VELD Engineer", true},
        {u"d:/VELD Engineer", true},
        {u"\\\\server\\share\\VELD Engineer", true},
        {u"C:VELD Engineer", false},
        {u"\\VELD Engineer", false},
        {u"/VELD Engineer", false},
        {u"\\\\\\VELD Engineer", false},
        {u"1:\\VELD Engineer", false},
        {u"C:", false},
#else
        {u"/opt/VELD Engineer", true},
        {u"/", true},
        {u"C:\\VELD Engineer", false},
        {u"~/VELD Engineer", false},
#endif
    };
    for (const auto& [folder, absolute] : cases) {
        const std::u16string text(folder);
        EXPECT_EQ(IsAbsoluteFolder(GS::UniString(text.c_str())), absolute)
            << std::string(text.begin(), text.end());
    }
}
