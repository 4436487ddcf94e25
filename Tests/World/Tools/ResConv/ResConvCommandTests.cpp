#include "ResConvCommand.hpp"
#include "ResFileWriter.hpp"
#include "ResFormat/ResFileReader.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class ResConvCommand : public testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() / ("ResConvCommandTests-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).string();
    }

    // What the folder holds: a write that left its temporary file behind shows here.
    std::size_t FileCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    static std::string Read(const fs::path& path) {
        std::ifstream stream(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    }

    int Run(const std::vector<std::string>& arguments) {
        out.str("");
        err.str("");
        return ResConv::RunResConv(arguments, out, err);
    }

    fs::path folder;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ResConvCommand, CompilesEverySourceIntoOneResFile) {
    const std::string a = Write("a.rsrc", "resource STRS 1 language 1033\ntext \"a\"\n");
    const std::string b = Write("b.rsrc", "resource STRS 2 language 1033\ntext \"b\"\n");
    const std::string output = (folder / "out.res").string();
    EXPECT_EQ(Run({a, b, "-o", output}), ResConv::ExitSuccess);
    EXPECT_EQ(err.str(), "");
    const std::string bytes = Read(output);
    const auto contents =
        ResFormat::ReadResFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_FALSE(contents.problem.has_value());
    EXPECT_EQ(contents.entries.size(), 2u);
    EXPECT_EQ(FileCount(), 3u); // the two sources and the output
}

TEST_F(ResConvCommand, BadSourceFailsAndLeavesTheOldOutputAlone) {
    const std::string good = Write("good.rsrc", "resource STRS 1 language 1033\ntext \"a\"\n");
    const std::string bad = Write("bad.rsrc", "resource STRS 2 language 1033\ntext \"b\n");
    const std::string output = Write("out.res", "the previous build");
    EXPECT_EQ(Run({good, bad, "-o", output}), ResConv::ExitFailure);
    EXPECT_EQ(err.str(), bad + ":2: text has no closing quote\n");
    EXPECT_EQ(Read(output), "the previous build");
    EXPECT_EQ(FileCount(), 3u); // the two sources and the old output
}

TEST_F(ResConvCommand, BadSourceWritesNoOutputAtAll) {
    const std::string bad = Write("bad.rsrc", "resource STRX 2 language 1033\n");
    const fs::path output = folder / "out.res";
    EXPECT_EQ(Run({bad, "-o", output.string()}), ResConv::ExitFailure);
    EXPECT_FALSE(fs::exists(output));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(ResConvCommand, UnreadableSourceAndUnwritableOutputFail) {
    const std::string missing = (folder / "missing.rsrc").string();
    EXPECT_EQ(Run({missing, "-o", (folder / "out.res").string()}), ResConv::ExitFailure);
    EXPECT_EQ(err.str(), "ResConv: cannot read " + missing + "\n");

    const std::string good = Write("good.rsrc", "resource STRS 1 language 1033\ntext \"a\"\n");
    EXPECT_EQ(Run({good, "-o", (folder / "no-such-folder" / "out.res").string()}), ResConv::ExitFailure);
    EXPECT_NE(err.str().find("ResConv: cannot write "), std::string::npos) << err.str();
}

// A file that a source names is found beside the source, wherever ResConv is run from.
TEST_F(ResConvCommand, FilesNamedBySourcesAreReadBesideThem) {
    fs::create_directories(folder / "Module");
    Write("Module/app.manifest", "<assembly/>\r\n");
    const std::string source =
        Write("Module/2-Manifest.rsrc", "resource MANIFEST 2 language 1033\nfile \"app.manifest\"\n");
    const std::string output = (folder / "out.res").string();
    EXPECT_EQ(Run({source, "-o", output}), ResConv::ExitSuccess) << err.str();
    const std::string bytes = Read(output);
    const auto contents =
        ResFormat::ReadResFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    ASSERT_EQ(contents.entries.size(), 1u);
    EXPECT_EQ(std::string(contents.entries[0].data.begin(), contents.entries[0].data.end()),
              "<assembly/>\r\n");

    fs::remove(folder / "Module" / "app.manifest");
    EXPECT_EQ(Run({source, "-o", output}), ResConv::ExitFailure);
    EXPECT_EQ(err.str(), source + ":2: manifest 2, item 1 (manifest file), field file: cannot read " +
                             (folder / "Module" / "app.manifest").string() + "\n");
}

TEST_F(ResConvCommand, WrongArgumentsShowUsage) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{}, "expected at least one source"},
        {{"a.rsrc"}, "expected -o OUT.res"},
        {{"a.rsrc", "-o"}, "-o needs a file"},
        {{"-o", "out.res"}, "expected at least one source"},
        {{"--dump"}, "--dump needs a file"},
        {{"--dump", "x.res", "a.rsrc"}, "--dump takes no sources and no -o"},
        {{"-x", "a.rsrc", "-o", "b"}, "unknown option -x"}};
    for (const auto& [arguments, message] : wrong) {
        EXPECT_EQ(Run(arguments), ResConv::ExitUsage);
        EXPECT_EQ(err.str().rfind("ResConv: " + message + "\nusage: ResConv SOURCE... -o OUT.res\n", 0), 0u)
            << err.str();
        EXPECT_EQ(out.str(), "");
    }
}

TEST_F(ResConvCommand, DumpListsStringListsAsTextsAndOtherTypesInHex) {
    ResFormat::ResourceEntry list;
    list.type = ResFormat::ResName::Named(u"STRS");
    list.name = ResFormat::ResName::Ordinal(32300);
    list.language = 1033;
    list.data = {8, 0, 0, 0, 'O', 'K', 0, 'x', '"', 0xE9, 0x01, 0};
    ResFormat::ResourceEntry manifest;
    manifest.type = ResFormat::ResName::Ordinal(24);
    manifest.name = ResFormat::ResName::Ordinal(2);
    manifest.language = 1033;
    manifest.data = {'<', '?', 'x', 'm', 'l', ' ', 'v', 'e',  'r',
                     's', 'i', 'o', 'n', '=', '"', '1', 0x0D, 0x0A};
    const auto bytes = ResConv::WriteResFile({list, manifest});
    const std::string path = Write("sample.res", std::string(bytes.begin(), bytes.end()));

    EXPECT_EQ(Run({"--dump", path}), ResConv::ExitSuccess);
    EXPECT_EQ(out.str(),
              path + ": 2 resources\n"
                     "type \"STRS\", name 32300, language 1033, 12 bytes\n"
                     "  string list of 2 texts\n"
                     "  1: \"OK\"\n"
                     "  2: \"x\\\"\\xE9\\x01\"\n"
                     "type 24, name 2, language 1033, 18 bytes\n"
                     "  00000000  3C 3F 78 6D 6C 20 76 65 72 73 69 6F 6E 3D 22 31  |<?xml version=\"1|\n"
                     "  00000010  0D 0A                                            |..|\n");
}

TEST_F(ResConvCommand, DumpShowsAMalformedStringListInHex) {
    ResFormat::ResourceEntry list;
    list.type = ResFormat::ResName::Named(u"strs");
    list.name = ResFormat::ResName::Ordinal(1);
    list.data = {9, 0, 0, 0, 'O', 'K'};
    const auto bytes = ResConv::WriteResFile({list});
    const std::string path = Write("odd.res", std::string(bytes.begin(), bytes.end()));

    EXPECT_EQ(Run({"--dump", path}), ResConv::ExitSuccess);
    EXPECT_EQ(out.str(), path + ": 1 resources\n"
                                "type \"strs\", name 1, language 0, 6 bytes\n"
                                "  malformed string list: count 9 does not match the 2 bytes that follow it\n"
                                "  00000000  09 00 00 00 4F 4B                                |....OK|\n");
}

TEST_F(ResConvCommand, DumpOfSomethingElseFailsWithTheOffset) {
    const std::string path = Write("text.res", "not a resource file");
    EXPECT_EQ(Run({"--dump", path}), ResConv::ExitFailure);
    EXPECT_EQ(err.str(), path + ": offset 0: header of 1701978209 bytes runs past the end of the file\n");
    EXPECT_EQ(out.str(), "");
}

} // namespace
