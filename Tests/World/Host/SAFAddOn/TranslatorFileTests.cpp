#include "CarefulFile.hpp"
#include "HostTestSupport.hpp"
#include "SafAddOn.hpp"
#include "SafCommands.hpp"
#include "TranslatorFile.hpp"

#include <gtest/gtest.h>

namespace {

using SAF::ParseTranslatorFile;

std::string Utf8(const GS::UniString& text) {
    return text.ToUTF8().Get();
}

std::string ErrorOf(const std::string& text) {
    Result<std::vector<SAF::Translator>> read = ParseTranslatorFile(text);
    EXPECT_FALSE(read.Ok()) << text;
    return read.Error();
}

TEST(TranslatorFile, WhatIsWrittenReadsBackWithNamesAndOptions) {
    std::vector<SAF::Translator> written = SAF::DefaultTranslators();
    written.push_back({GS::UniString(u"\u00C9tage \U0001F3D7"), {}, "Imperial"});
    written.push_back({GS::UniString(), {"load"}, "SI"});
    Result<std::vector<SAF::Translator>> read = ParseTranslatorFile(SAF::FormatTranslatorFile(written));
    ASSERT_TRUE(read.Ok()) << read.Error();
    ASSERT_EQ(read->size(), written.size());
    for (std::size_t index = 0; index < written.size(); ++index) {
        EXPECT_TRUE(read.Value()[index].name.IsEqual(written[index].name)) << index;
        EXPECT_EQ(read.Value()[index].elementKinds, written[index].elementKinds) << index;
        EXPECT_EQ(read.Value()[index].unitSystem, written[index].unitSystem) << index;
    }
}

TEST(TranslatorFile, ANameHoldingUPlus0000ReadsBackWhole) {
    const char16_t units[] = {u'A', u'\0', u'B'};
    const std::vector<SAF::Translator> written{{GS::UniString(units, 3), {"beam"}, "SI"}};
    Result<std::vector<SAF::Translator>> read = ParseTranslatorFile(SAF::FormatTranslatorFile(written));
    ASSERT_TRUE(read.Ok()) << read.Error();
    ASSERT_EQ(read->size(), 1u);
    EXPECT_EQ(read.Value()[0].name.GetLength(), 3u);
    EXPECT_TRUE(read.Value()[0].name.IsEqual(written[0].name));
}

TEST(TranslatorFile, ANumberNoDoubleHoldsIsRefusedWithItsMemberNotThrown) {
    EXPECT_EQ(ErrorOf(R"({"version": 1e400, "translators": []})"),
              "member version: a number out of range: number overflow parsing '1e400'");
    EXPECT_EQ(ErrorOf(R"({"version": 1, "translators": [], "x": -1e999})"),
              "member x: a number out of range: number overflow parsing '-1e999'");
    EXPECT_EQ(ErrorOf(R"({"version": 1, "translators": [{"name": "a", "scale": [1, 2e308]}]})"),
              "member translators[0].scale[1]: a number out of range: number overflow parsing '2e308'");
}

TEST(TranslatorFile, BrokenJsonIsReportedByLineAndColumn) {
    EXPECT_EQ(ErrorOf("{\n  \"version\": 1,\n  \"translators\": [,]\n}").substr(0, 20),
              "line 3, column 19: s");
    EXPECT_EQ(ErrorOf("").substr(0, 17), "line 1, column 1:");
}

TEST(TranslatorFile, AWrongMemberIsNamedWithItsPlaceInTheList) {
    EXPECT_EQ(ErrorOf("[]"), "the document is not a JSON object");
    EXPECT_EQ(ErrorOf(R"({"version": 2, "translators": []})"), "member version: missing, or not 1");
    EXPECT_EQ(ErrorOf(R"({"version": 1})"), "member translators: missing or not a list");
    const std::string good = R"({"name": "A", "elementKinds": ["beam"], "unitSystem": "SI"})";
    EXPECT_EQ(ErrorOf(R"({"version": 1, "translators": [)" + good +
                      R"(, {"elementKinds": [], "unitSystem": "SI"}]})"),
              "member translators[1].name: missing or not text");
    EXPECT_EQ(
        ErrorOf(
            R"({"version": 1, "translators": [{"name": "A", "elementKinds": ["beam", "roof"], "unitSystem": "SI"}]})"),
        "member translators[0].elementKinds[1]: not an element kind (\"roof\")");
    EXPECT_EQ(
        ErrorOf(
            R"({"version": 1, "translators": [{"name": "A", "elementKinds": [], "unitSystem": "metric"}]})"),
        "member translators[0].unitSystem: missing, or neither \"SI\" nor \"Imperial\"");
}

class TranslatorStoreFile : public ::testing::Test {
protected:
    std::filesystem::path StorePath() const { return SAF::SafAddOn::StorePath(folder.Path()); }

    HostTestSupport::TempFolder folder;
};

TEST_F(TranslatorStoreFile, AFirstRunWritesThreeTranslatorsThatALaterRunReadsBack) {
    std::vector<std::string> names;
    {
        SAF::SafAddOn first(folder.Path());
        EXPECT_EQ(first.StoreError(), "");
        ASSERT_EQ(first.Translators().size(), 3u);
        for (const SAF::Translator& translator : first.Translators()) {
            names.push_back(Utf8(translator.name));
            EXPECT_FALSE(translator.elementKinds.empty());
        }
    }
    ASSERT_TRUE(std::filesystem::is_regular_file(StorePath()));
    EXPECT_FALSE(std::filesystem::exists(StorePath().string() + ".saving"));
    SAF::SafAddOn second(folder.Path());
    ASSERT_EQ(second.Translators().size(), 3u);
    EXPECT_EQ(Utf8(second.Translators()[2].name), names[2]);
}

TEST_F(TranslatorStoreFile, ACorruptStoreIsRefusedWithItsPlaceAndNeverOverwritten) {
    std::filesystem::create_directories(StorePath().parent_path());
    const std::string corrupt = "{\"version\": 1,\n \"translators\": [{\"name\": \"A\"";
    {
        std::ofstream out(StorePath(), std::ios::binary);
        out << corrupt;
    }
    SAF::SafAddOn saf(folder.Path());
    EXPECT_NE(saf.StoreError().find("Translators.json is not usable and was left as it is: line 2, column"),
              std::string::npos)
        << saf.StoreError();
    EXPECT_TRUE(saf.Translators().empty());
    std::string onDisk, error;
    ASSERT_TRUE(GS::CarefulFile::ReadRegularFile(StorePath(), onDisk, error) ==
                GS::CarefulFile::ReadOutcome::Read);
    EXPECT_EQ(onDisk, corrupt);

    void* handle = nullptr;
    nlohmann::ordered_json details;
    EXPECT_EQ(saf.Call(SAF::Command::OpenData, 12345, &handle, nullptr, "test", details),
              SAF::Err::StoreUnreadable);
    EXPECT_EQ(handle, nullptr);
}

// A first run on a data folder whose SAF folder is marked read-only makes no store there, and says
// why (a folder's read-only attribute means nothing on Windows); a folder in the store's place is
// reported, not thrown.
TEST_F(TranslatorStoreFile, AReadOnlyFolderOrAFolderInTheStoresPlaceIsReportedAndLeftAlone) {
    std::filesystem::create_directories(StorePath().parent_path());
#ifndef _WIN32
    std::filesystem::permissions(StorePath().parent_path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    {
        SAF::SafAddOn saf(folder.Path());
        EXPECT_NE(saf.StoreError().find("is marked read-only"), std::string::npos) << saf.StoreError();
        EXPECT_TRUE(saf.Translators().empty());
    }
    EXPECT_TRUE(std::filesystem::is_empty(StorePath().parent_path()));
    std::filesystem::permissions(StorePath().parent_path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
#endif

    std::filesystem::create_directories(StorePath());
    SAF::SafAddOn saf(folder.Path());
    EXPECT_NE(saf.StoreError().find("it is a folder"), std::string::npos) << saf.StoreError();
    EXPECT_TRUE(std::filesystem::is_directory(StorePath()));
}

TEST(CarefulFileInTheTranslatorStore, ReplacesTheWholeFileAndLeavesNoTemporaryBehind) {
    HostTestSupport::TempFolder folder;
    const std::filesystem::path target = folder.Path() / "document.json";
    std::string error;
    ASSERT_TRUE(GS::CarefulFile::ReplaceFile(target, "old", error)) << error;
    ASSERT_TRUE(GS::CarefulFile::ReplaceFile(target, "new and longer", error)) << error;
    std::string bytes;
    ASSERT_TRUE(GS::CarefulFile::ReadRegularFile(target, bytes, error) == GS::CarefulFile::ReadOutcome::Read);
    EXPECT_EQ(bytes, "new and longer");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(CarefulFileInTheTranslatorStore, AFolderInTheWayLeavesItAndReportsWhy) {
    HostTestSupport::TempFolder folder;
    const std::filesystem::path target = folder.Path() / "taken";
    std::filesystem::create_directories(target / "inside");
    std::string error;
    EXPECT_FALSE(GS::CarefulFile::ReplaceFile(target, "bytes", error));
    EXPECT_NE(error.find("it is a folder"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_directory(target / "inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

} // namespace
