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
