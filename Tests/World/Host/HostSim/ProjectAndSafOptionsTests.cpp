#include "Session/Options.hpp"

#include <gtest/gtest.h>

using namespace HostSim;

namespace {

OptionsParse ParseOnly(const std::vector<std::string>& arguments) {
    return ParseHostSimOptions(arguments);
}

} // namespace

TEST(ProjectAndSafOptions, WithoutThemTheHostIs27Build5000WithAnUnsavedProject) {
    const OptionsParse parsed = ParseOnly({});
    ASSERT_TRUE(parsed.options.has_value());
    EXPECT_FALSE(parsed.options->project.has_value());
    EXPECT_EQ(parsed.options->hostVersion, "27");
    EXPECT_EQ(parsed.options->buildNumber, 5000);
    EXPECT_TRUE(parsed.options->safFailures.empty());
}

TEST(ProjectAndSafOptions, ProjectVersionBuildAndSafFailuresAreTakenAsGiven) {
    const OptionsParse parsed = ParseOnly({"--project", "Tower é.json", "--host-version", "26", "--build",
                                           "-12", "--saf-fail", "GTRS=7", "--saf-fail", "ISID=0x81060003"});
    ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
    EXPECT_EQ(parsed.options->project, "Tower é.json");
    EXPECT_EQ(parsed.options->hostVersion, "26");
    EXPECT_EQ(parsed.options->buildNumber, -12);
    using SafFailure = std::pair<UInt32, GSErrCode>;
    EXPECT_EQ(
        parsed.options->safFailures,
        (std::vector<SafFailure>{{0x47545253u, 7}, {0x49534944u, static_cast<GSErrCode>(0x81060003u)}}));
}

TEST(ProjectAndSafOptions, MalformedValuesAreRefusedByName) {
    EXPECT_EQ(ParseOnly({"--build", "4000.5"}).error, "--build: \"4000.5\" is not a build number");
    EXPECT_EQ(ParseOnly({"--build", "9999999999"}).error, "--build: \"9999999999\" is not a build number");
    for (const char* bad : {"GTR=7", "GTRSS=7", "GTRS", "GTRS=", "GTRS=seven"}) {
        EXPECT_EQ(ParseOnly({"--saf-fail", bad}).error,
                  std::string("--saf-fail: expected CMD=CODE with a four-letter command, got \"") + bad +
                      "\"");
    }
    EXPECT_EQ(ParseOnly({"--project"}).error, "--project needs a value");
}
