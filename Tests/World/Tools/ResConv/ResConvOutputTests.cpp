#include "ByteOrder/LittleEndian.hpp"
#include "Compiler.hpp"
#include "ResFormat/ResFileReader.hpp"
#include "ResFormat/StringListFormat.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ResFormat::ResName;

// Compiles, then reads the .res back with the reader that RS uses.
std::vector<ResFormat::ResourceEntry> CompileAndReadBack(const std::vector<ResConv::SourceText>& sources) {
    const ResConv::Compilation compilation = ResConv::CompileSources(sources);
    EXPECT_EQ(compilation.diagnostics.Format(), "");
    const ResFormat::ResFileContents contents = ResFormat::ReadResFile(compilation.resFile);
    EXPECT_FALSE(contents.problem.has_value()) << contents.problem->message;
    return contents.entries;
}

std::vector<std::string> TextsOf(const ResFormat::ResourceEntry& entry) {
    const ResFormat::StringList list = ResFormat::ParseStringList(entry.data);
    EXPECT_FALSE(list.problem.has_value()) << *list.problem;
    return {list.texts.begin(), list.texts.end()};
}

TEST(ResConvOutput, StringListReadsBackWithTypeNameNumberLanguageAndTexts) {
    const auto entries = CompileAndReadBack({{"menu.rsrc", "# The menu.\n"
                                                           "resource STRS 32500 language 1033\n"
                                                           "text \"VELD Engineer Connection\"\n"
                                                           "text \"Open...^ES^10001\"  # item 1\n"}});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].type, ResName::Named(u"STRS"));
    EXPECT_EQ(entries[0].name, ResName::Ordinal(32500));
    EXPECT_EQ(entries[0].language, 1033);
    EXPECT_EQ(TextsOf(entries[0]),
              (std::vector<std::string>{"VELD Engineer Connection", "Open...^ES^10001"}));
}

TEST(ResConvOutput, CountIsTheSizeLessFourAndTheLastByteIsTheLastNul) {
    const auto entries =
        CompileAndReadBack({{"a.rsrc", "resource STRS 7 language 1033\ntext \"OK\"\ntext \"Cancel\"\n"}});
    ASSERT_EQ(entries.size(), 1u);
    const std::vector<std::uint8_t>& data = entries[0].data;
    ASSERT_EQ(data.size(), 4u + 3u + 7u);
    EXPECT_EQ(LittleEndian::Read32(data.data()), 10u);
    EXPECT_EQ(data.back(), 0);
}

TEST(ResConvOutput, KindWordIsStoredUpperCaseWhateverItsSpelling) {
    const auto entries = CompileAndReadBack({{"a.rsrc", "resource strs 1 language 1033\ntext \"a\"\n"},
                                             {"b.rsrc", "resource Strs 2 language 1033\ntext \"b\"\n"}});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].type, ResName::Named(u"STRS"));
    EXPECT_EQ(entries[1].type, ResName::Named(u"STRS"));
}

TEST(ResConvOutput, ResourcesKeepTheOrderOfTheSources) {
    const auto entries = CompileAndReadBack({{"b.rsrc", "resource STRS 0x7D00 language 1033\ntext \"b\"\n"},
                                             {"a.rsrc", "resource STRS 100 language 0x409\ntext \"a\"\n"}});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, ResName::Ordinal(32000));
    EXPECT_EQ(entries[1].name, ResName::Ordinal(100));
    EXPECT_EQ(entries[1].language, 1033);
}

TEST(ResConvOutput, EscapesBecomeTheirBytes) {
    const auto entries = CompileAndReadBack(
        {{"e.rsrc",
          "resource STRS 1 language 1033\ntext \"say \\\"hi\\\" \\\\ tab\\there\\r\\n\\x7F\\xc3\\xA9\"\n"}});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(TextsOf(entries[0]), (std::vector<std::string>{"say \"hi\" \\ tab\there\r\n\x7F\xC3\xA9"}));
}

// Texts are 8-bit: whatever bytes the source holds between the quotes are stored unchanged.
TEST(ResConvOutput, NonAsciiBytesAreStoredAsTheSourceHoldsThem) {
    const auto entries =
        CompileAndReadBack({{"u.rsrc", "resource STRS 1 language 1033\ntext \"Caf\xC3\xA9 \xE9\"\n"}});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(TextsOf(entries[0]), (std::vector<std::string>{"Caf\xC3\xA9 \xE9"}));
}

// An empty text is a lone NUL: the format holds it and the host answers it, so it is accepted.
TEST(ResConvOutput, EmptyTextKeepsItsIndex) {
    const auto entries = CompileAndReadBack(
        {{"gap.rsrc", "resource STRS 1 language 1033\ntext \"a\"\ntext \"\"\ntext \"c\"\n"}});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(TextsOf(entries[0]), (std::vector<std::string>{"a", "", "c"}));
    EXPECT_EQ(entries[0].data.size(), 4u + 2u + 1u + 2u);
}

TEST(ResConvOutput, WindowsLineEndsTabsAndCommentsAreLayoutOnly) {
    const auto entries = CompileAndReadBack(
        {{"crlf.rsrc",
          "# head\r\n\tresource\tSTRS 3 language 1033 # trailing\r\n\r\n  text \"a # not a comment\"\r\n"}});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(TextsOf(entries[0]), (std::vector<std::string>{"a # not a comment"}));
}

// The .res frame: the empty leading entry, then a DWORD-aligned header per resource.
TEST(ResConvOutput, ResFileFrameHasTheLeadingEntryAndAlignedHeaders) {
    const ResConv::Compilation compilation =
        ResConv::CompileSources({{"a.rsrc", "resource STRS 1 language 1033\ntext \"abc\"\n"},
                                 {"b.rsrc", "resource STRS 2 language 1033\ntext \"d\"\n"}});
    const std::vector<std::uint8_t>& bytes = compilation.resFile;
    const auto dword = [&](std::size_t at) { return LittleEndian::Read32(bytes.data() + at); };

    const std::vector<std::uint8_t> leading(bytes.begin(), bytes.begin() + 32);
    EXPECT_EQ(leading,
              (std::vector<std::uint8_t>{0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0,
                                         0, 0, 0, 0, 0,  0, 0, 0, 0,    0,    0, 0, 0,    0,    0, 0}));
    // "STRS" + NUL (10 bytes) and an ordinal (4) after the 8-byte prefix: 22, padded to 24, + 16.
    EXPECT_EQ(dword(32), 8u);
    EXPECT_EQ(dword(36), 40u);
    EXPECT_EQ(bytes[32 + 22], 0);
    EXPECT_EQ(bytes[32 + 23], 0);
    // The 8 data bytes end on a DWORD boundary; the next header follows at once.
    EXPECT_EQ(dword(32 + 40 + 8), 6u);
    // The second entry's 6 data bytes are padded with two zero bytes to the end of the file.
    EXPECT_EQ(bytes.size(), 32u + 40 + 8 + 40 + 8);
}

TEST(ResConvOutput, MemoryFlagsAreThoseOfUserDefinedTypes) {
    const auto entries = CompileAndReadBack({{"a.rsrc", "resource STRS 1 language 1033\ntext \"a\"\n"}});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].memoryFlags, 0x0030);
    EXPECT_EQ(entries[0].dataVersion, 0u);
    EXPECT_EQ(entries[0].version, 0u);
    EXPECT_EQ(entries[0].characteristics, 0u);
}

} // namespace
