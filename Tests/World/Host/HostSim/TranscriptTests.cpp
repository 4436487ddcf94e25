#include "Record/Transcript.hpp"
#include "Tools/RegistryRequest.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace HostSim;

TEST(TranscriptTests, EventComesFirstAndFieldsKeepTheirOrder) {
    Json fields;
    fields["zeta"] = 1;
    fields["alpha"] = "a";
    fields["event"] = "ignored";
    EXPECT_EQ(Transcript::Format("menu", fields), R"({"event":"menu","zeta":1,"alpha":"a"})");
}

TEST(TranscriptTests, TextThatIsNotUtf8StillMakesAValidLine) {
    Json fields;
    fields["text"] = std::string("a\xff") + "b";
    const std::string line = Transcript::Format("debug", fields);
    EXPECT_EQ(Json::parse(line)["text"], "a\xEF\xBF\xBD"
                                         "b");
}

TEST(TranscriptTests, WritesOneParsableLinePerEvent) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("hostsim-transcript-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ".jsonl");
    {
        Transcript transcript(path.string());
        ASSERT_TRUE(transcript.IsOpen());
        transcript.Write("module-load", Json{{"module", "A"}});
        transcript.Write("quit");
    }
    std::string first, second, third;
    {
        std::ifstream file(path);
        ASSERT_TRUE(std::getline(file, first));
        ASSERT_TRUE(std::getline(file, second));
        EXPECT_FALSE(std::getline(file, third));
    }
    EXPECT_EQ(Json::parse(first)["module"], "A");
    EXPECT_EQ(second, R"({"event":"quit"})");
    std::filesystem::remove(path);
}

TEST(TranscriptTests, WithoutAFileNothingIsWritten) {
    Transcript transcript;
    EXPECT_FALSE(transcript.IsOpen());
    transcript.Write("debug", Json{{"text", "x"}});
}

TEST(RegistryRequestTests, HivesAreAcceptedInFullOrAbbreviatedAnyCase) {
    auto key = ParseRegistryKey(R"(HKEY_LOCAL_MACHINE\SOFTWARE\VELD\Installer)");
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->domain, GSPref::RootKeyDomain::LocalMachine);
    EXPECT_EQ(key->path, R"(SOFTWARE\VELD\Installer)");
    key = ParseRegistryKey(R"(hkcu\Software\X)");
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->domain, GSPref::RootKeyDomain::CurrentUser);
    EXPECT_EQ(key->path, R"(Software\X)");
    EXPECT_EQ(ParseRegistryKey("HKLM")->path, "");
    EXPECT_FALSE(ParseRegistryKey(R"(HKLMX\SOFTWARE)").has_value());
    EXPECT_FALSE(ParseRegistryKey(R"(SOFTWARE\VELD)").has_value());
}

TEST(RegistryRequestTests, SetStringTakesKeyNameAndValue) {
    Result<RegistryRequest> parsed =
        ParseRegistryRequest({"--home", "/tmp/h", "set-string",
                              R"(HKLM\SOFTWARE\VELD\Installer\VeldEngineer\23)", "InstallDir", "C:\\x y"});
    ASSERT_TRUE(parsed.Ok()) << parsed.Error();
    EXPECT_EQ(parsed->home, "/tmp/h");
    EXPECT_EQ(parsed->action, RegistryAction::SetString);
    EXPECT_EQ(parsed->key.path, R"(SOFTWARE\VELD\Installer\VeldEngineer\23)");
    EXPECT_EQ(parsed->valueName, "InstallDir");
    EXPECT_EQ(parsed->text, "C:\\x y");
}

TEST(RegistryRequestTests, SetDwordReadsDecimalAndHex) {
    auto parsed = ParseRegistryRequest({"set-dword", R"(HKCU\K)", "N", "0xFFFFFFFF"});
    ASSERT_TRUE(parsed.Ok()) << parsed.Error();
    EXPECT_EQ(parsed->number, 0xFFFFFFFFu);
    EXPECT_FALSE(ParseRegistryRequest({"set-dword", R"(HKCU\K)", "N", "4294967296"}).Ok());
    EXPECT_FALSE(ParseRegistryRequest({"set-dword", R"(HKCU\K)", "N", "-1"}).Ok());
}

TEST(RegistryRequestTests, WrongShapesAreExplained) {
    EXPECT_EQ(ParseRegistryRequest({"get", R"(HKLM\K)"}).Error(), "get takes KEY NAME");
    EXPECT_EQ(ParseRegistryRequest({"remove", R"(HKLM\K)"}).Error(), "unknown action \"remove\"");
    EXPECT_NE(ParseRegistryRequest({"delete-key", "HKLM"}).Error().find("is not a key"), std::string::npos);
    EXPECT_NE(ParseRegistryRequest({"--home"}).Error().find("needs a value"), std::string::npos);
    EXPECT_FALSE(ParseRegistryRequest({}).Error().empty());
    EXPECT_TRUE(ParseRegistryRequest({"delete-value", R"(HKLM\K)", "N"}).Ok());
}
