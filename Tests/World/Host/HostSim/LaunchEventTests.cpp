#include "ApplicationLauncher.hpp"
#include "Record/LaunchEvent.hpp"
#include "Record/LibraryCallRecorder.hpp"
#include "Record/ReadableText.hpp"
#include "Session/Options.hpp"
#include "TranscriptFile.hpp"

#include <gtest/gtest.h>

#include <filesystem>

using namespace HostSim;

namespace {

// The launcher's report, read back by the host: what the started program would receive.
class LaunchEventTest : public ::testing::Test {
protected:
    GSErrCode Launch(const std::string& executable, const std::vector<std::string>& arguments) {
        GS::Array<GS::UniString> array;
        for (const std::string& argument : arguments) {
            array.Push(GS::UniString::FromUTF8(argument.data(), static_cast<UIndex>(argument.size())));
        }
        const IO::Location location(
            GS::UniString::FromUTF8(executable.data(), static_cast<UIndex>(executable.size())));
        CallMonitorInstallation installed(recorder);
        return IO::Process::ApplicationLauncher::Instance().Launch(
            location, array, IO::Process::LaunchMode::SeparateProcess, IO::Process::LaunchOption::DoNotWait);
    }

    TranscriptFile transcript;
    FaultPlan faults;
    LibraryCallRecorder recorder{transcript.Get(), faults, [] { return std::string("Caller"); }};
    const std::string missing =
        (std::filesystem::temp_directory_path() / "no such folder" / "VeldEngineer.exe").string();
};

TEST_F(LaunchEventTest, EveryArgumentComesBackExactlyWhateverItHolds) {
    const std::vector<std::string> arguments{"C:\\Export\\ACToVELDEngineer.xlsx",
                                             "say \"hi\"\t100%\n\r\x01\x7F", "\xC3\xA9t\xC3\xA9 \xE5\xBB\xBA",
                                             "", "\\\"\\"};
    EXPECT_EQ(Launch(missing, arguments), GSErr::NotFound);
    const std::vector<Json> launches = transcript.Events("launch");
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0]["module"], "Caller");
    EXPECT_EQ(launches[0]["executable"], missing);
    EXPECT_EQ(launches[0]["arguments"], Json(arguments));
    EXPECT_EQ(launches[0]["mode"], 1);
    EXPECT_EQ(launches[0]["option"], 1);
    EXPECT_EQ(launches[0]["result"], "failed");
    EXPECT_EQ(launches[0]["code"], GSErr::NotFound);
    EXPECT_EQ(transcript.Events("library-call").size(), 1u) << "the library call is still recorded";
}

TEST_F(LaunchEventTest, TheLauncherAliasesOfFailMakeItAnswerACodeOrThrow) {
    for (const auto& [given, code] : std::vector<std::pair<std::string, GSErrCode>>{
             {"launcher=77", 77},
             {"launcher=throw", IO::Process::ThrowRequested},
             {"IO::Process::ApplicationLauncher::Launch=throw@2", IO::Process::ThrowRequested}}) {
        OptionsParse parsed = ParseHostSimOptions({"--fail", given});
        ASSERT_TRUE(parsed.options) << parsed.error;
        ASSERT_EQ(parsed.options->failRules.size(), 1u);
        EXPECT_EQ(parsed.options->failRules[0].operation, ApplicationLaunchOperation) << given;
        EXPECT_EQ(parsed.options->failRules[0].code, code) << given;
    }
    EXPECT_FALSE(ParseHostSimOptions({"--fail", "launcher=often"}).options);
}

TEST_F(LaunchEventTest, AnInjectedThrowIsRecordedWithTheExceptionAndAnInjectedCodeWithTheCode) {
    faults.Add(FailRule{ApplicationLaunchOperation, IO::Process::ThrowRequested, 1});
    faults.Add(FailRule{ApplicationLaunchOperation, 77, 2});
    EXPECT_THROW(Launch(missing, {"a"}), IO::Process::LaunchException);
    EXPECT_EQ(Launch(missing, {"b"}), 77);
    const std::vector<Json> launches = transcript.Events("launch");
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0]["result"], "threw");
    EXPECT_FALSE(launches[0]["exception"].get<std::string>().empty());
    EXPECT_EQ(launches[0]["injected"], IO::Process::ThrowRequested);
    EXPECT_EQ(launches[1]["result"], "failed");
    EXPECT_EQ(launches[1]["code"], 77);
    EXPECT_EQ(launches[1]["arguments"], Json::array({"b"}));
}

TEST(LaunchEventFields, DetailsOfAnotherShapeAreNotGuessedAt) {
    EXPECT_FALSE(LaunchEventFields("executable=\"x\" arguments=[\"a\" mode=1 option=1", "code=0"));
    EXPECT_FALSE(LaunchEventFields("executable=\"x\" arguments=[\"a\\q\"] mode=1 option=1", "code=0"));
    EXPECT_FALSE(LaunchEventFields("executable=\"x\" arguments=[] mode=one option=1", "code=0"));
    EXPECT_FALSE(LaunchEventFields("arguments=[] executable=\"x\" mode=1 option=1", "code=0"));
    const std::optional<Json> unfinished =
        LaunchEventFields("executable=\"x\" arguments=[] mode=1 option=1", std::nullopt);
    ASSERT_TRUE(unfinished);
    EXPECT_EQ((*unfinished)["result"], "unknown");
    EXPECT_EQ((*unfinished)["arguments"], Json::array());
}

} // namespace
