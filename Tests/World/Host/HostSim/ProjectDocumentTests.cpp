#include "CarefulFile.hpp"
#include "Handles.hpp"
#include "Record/PathText.hpp"
#include "Services/ProjectDocument.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace HostSim;

namespace {

class ProjectFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("hostsim-project-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(folder);
        path = PathToUtf8(folder / u8"Tower \u00E9.json");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void Write(const std::string& text) {
        std::ofstream out(PathFromUtf8(path), std::ios::binary);
        out << text;
    }
    std::string OnDisk() const {
        std::string bytes, error;
        GS::CarefulFile::ReadRegularFile(PathFromUtf8(path), bytes, error);
        return bytes;
    }
    std::string RefusalOf(const std::string& text) {
        Write(text);
        Result<std::unique_ptr<ProjectDocument>> opened = ProjectDocument::Open(path);
        EXPECT_FALSE(opened.Ok()) << text;
        EXPECT_EQ(OnDisk(), text) << "a refused project stays as it was";
        return opened.Error();
    }

    std::filesystem::path folder;
    std::string path;
};

GSHandle HandleOf(const std::vector<char>& bytes) {
    GSHandle handle = nullptr;
    EXPECT_EQ(BMPtrToHandle(bytes.data(), &handle, static_cast<GSSize>(bytes.size())), NoError);
    return handle;
}

TEST_F(ProjectFile, AMissingFileOpensEmptyAndTheFirstSaveCreatesIt) {
    Result<std::unique_ptr<ProjectDocument>> opened = ProjectDocument::Open(path);
    ASSERT_TRUE(opened.Ok()) << opened.Error();
    EXPECT_TRUE(opened.Value()->Objects().All().empty());
    EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(path)));
    const Result<> saved = opened.Value()->Save();
    ASSERT_TRUE(saved.Ok()) << saved.Error();
    EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(path)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1)
        << "no temporary file is left";
}

TEST_F(ProjectFile, ObjectsAndTheModelSurviveASaveAndAReopenByteForByte) {
    Write(R"({"format": "hostsim-project", "version": 1, "model": {"storeys": [{"name": "Ground"}]},
              "addOnObjects": []})");
    Result<std::unique_ptr<ProjectDocument>> first = ProjectDocument::Open(path);
    ASSERT_TRUE(first.Ok()) << first.Error();
    const std::vector<char> content{1, 0, 2, 0, 0, 0, 'A', 0, '\xFF', '\xD8'};
    GSHandle handle = HandleOf(content);
    const GS::Guid guid = first.Value()->Objects().Create(GS::UniString(u"VELD \u00C9"), handle);
    BMKillHandle(&handle);
    const Result<> saved = first.Value()->Save();
    ASSERT_TRUE(saved.Ok()) << saved.Error();

    Result<std::unique_ptr<ProjectDocument>> second = ProjectDocument::Open(path);
    ASSERT_TRUE(second.Ok()) << second.Error();
    const ObjectStore::Object* object = second.Value()->Objects().Find(guid);
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->name.IsEqual(GS::UniString(u"VELD \u00C9")));
    EXPECT_EQ(object->content, content);
    EXPECT_EQ(second.Value()->Format(), first.Value()->Format());
    EXPECT_NE(OnDisk().find("\"storeys\""), std::string::npos);
}

TEST_F(ProjectFile, ANonJsonProjectIsRefusedWithItsLineAndColumn) {
    // The second comma of line 3 is the fault.
    const std::string error = RefusalOf("{\n  \"format\": \"hostsim-project\",\n  \"version\": 1,,\n}");
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find("line 3, column 16"), std::string::npos) << error;
}

TEST_F(ProjectFile, AWrongMemberIsRefusedByItsName) {
    const std::string head = R"({"format": "hostsim-project", "version": 1, "model": {}, )";
    EXPECT_NE(RefusalOf(R"({"format": "other", "version": 1, "model": {}, "addOnObjects": []})")
                  .find("member format"),
              std::string::npos);
    EXPECT_NE(RefusalOf(R"({"format": "hostsim-project", "version": 2, "model": {}, "addOnObjects": []})")
                  .find("member version"),
              std::string::npos);
    EXPECT_NE(RefusalOf(R"({"format": "hostsim-project", "version": 1, "model": [], "addOnObjects": []})")
                  .find("member model"),
              std::string::npos);
    EXPECT_NE(RefusalOf(head + R"("addOnObjects": [{"name": "a", "guid": "nope", "content": ""}]})")
                  .find("member addOnObjects[0].guid"),
              std::string::npos);
    const std::string good =
        R"({"name": "a", "guid": "6F9619FF-8B86-D011-B42D-00C04FC964FF", "content": "00"})";
    EXPECT_NE(
        RefusalOf(head + R"("addOnObjects": [)" + good +
                  R"(, {"name": "b", "guid": "6F9619FF-8B86-D011-B42D-00C04FC964F0", "content": "0"}]})")
            .find("member addOnObjects[1].content"),
        std::string::npos);
    EXPECT_NE(
        RefusalOf(head +
                  R"("addOnObjects": [{"guid": "6F9619FF-8B86-D011-B42D-00C04FC964FF", "content": ""}]})")
            .find("member addOnObjects[0].name"),
        std::string::npos);
}

TEST_F(ProjectFile, AFormatThatIsNotTextIsRefusedNotThrown) {
    for (const char* format : {"1", "null", "[]", "{}", "true"}) {
        EXPECT_NE(RefusalOf(std::string(R"({"format": )") + format +
                            R"(, "version": 1, "model": {}, "addOnObjects": []})")
                      .find("member format"),
                  std::string::npos)
            << format;
    }
}

TEST_F(ProjectFile, ANumberNoDoubleHoldsIsRefusedNotThrown) {
    const std::string error = RefusalOf(
        R"({"format": "hostsim-project", "version": 1, "model": {"span": 1e400}, "addOnObjects": []})");
    EXPECT_NE(error.find("number overflow parsing '1e400'"), std::string::npos) << error;
}

// A fault deep inside the model's lists is named by its member's place or by its line and column.
TEST(ProjectDocument, AFaultInsideTheModelsListsNamesItsPlace) {
    const auto projectOf = [](const std::string& model) {
        return R"({"format": "hostsim-project", "version": 1, "model": )" + model +
               R"(, "addOnObjects": []})";
    };
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {projectOf(R"({"nodes": [{"name": "N1", "x": 0, "y": 0, "z": 0}, {"name": "N2", "x": 1e400}]})"),
         "member model.nodes[1].x: a number out of range: number overflow parsing '1e400'"},
        {projectOf(R"({"storeys": [1, 2, {"name": "S", "heightLevel": [0, -1e999]}]})"),
         "member model.storeys[2].heightLevel[1]: a number out of range: number overflow parsing '-1e999'"},
        {R"({"format": "hostsim-project", "version": 1, "model": {"storeys": [{"name": "S", "heightLevel": 0},
                {"name": )",
         "line 2, column 26: syntax error while parsing value - unexpected end of input; expected '[', '{', "
         "or a literal"},
    };
    for (const auto& [text, error] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ProjectDocument::Parse(text).Error(), error);
    }
}

TEST_F(ProjectFile, AnObjectNameHoldingUPlus0000SurvivesASaveAndAReopen) {
    Result<std::unique_ptr<ProjectDocument>> first = ProjectDocument::Open(path);
    ASSERT_TRUE(first.Ok()) << first.Error();
    const char16_t units[] = {u'a', u'\0', u'b'};
    const GS::UniString name(units, 3);
    const GS::Guid guid = first.Value()->Objects().Create(name, nullptr);
    const Result<> saved = first.Value()->Save();
    ASSERT_TRUE(saved.Ok()) << saved.Error();

    Result<std::unique_ptr<ProjectDocument>> second = ProjectDocument::Open(path);
    ASSERT_TRUE(second.Ok()) << second.Error();
    const ObjectStore::Object* object = second.Value()->Objects().Find(guid);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->name.GetLength(), 3u);
    EXPECT_TRUE(object->name.IsEqual(name));
}

TEST(ProjectDocument, AProjectWithoutAFileCannotBeSaved) {
    ProjectDocument untitled;
    const Result<> saved = untitled.Save();
    EXPECT_FALSE(saved.Ok());
    EXPECT_NE(saved.Error().find("--project"), std::string::npos);
}

} // namespace
