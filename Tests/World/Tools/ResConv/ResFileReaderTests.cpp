#include "ResFileWriter.hpp"
#include "ResFormat/ResFileReader.hpp"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using ResFormat::ReadResFile;
using ResFormat::ResName;
using ResFormat::ResourceEntry;

ResourceEntry Entry(ResName type, ResName name, std::vector<std::uint8_t> data) {
    ResourceEntry entry;
    entry.type = std::move(type);
    entry.name = std::move(name);
    entry.language = 1033;
    entry.memoryFlags = 0x30;
    entry.data = std::move(data);
    return entry;
}

std::vector<std::uint8_t> SampleFile() {
    return ResConv::WriteResFile({Entry(ResName::Named(u"STRS"), ResName::Ordinal(1), {2, 0, 0, 0, 'a', 0}),
                                  Entry(ResName::Ordinal(3), ResName::Named(u"I10001&96"), {1, 2, 3})});
}

void PutDword(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

TEST(ResFileReader, ReadsNamedAndNumberedTypesAndNames) {
    const auto contents = ReadResFile(SampleFile());
    ASSERT_FALSE(contents.problem.has_value()) << contents.problem->message;
    ASSERT_EQ(contents.entries.size(), 2u);
    EXPECT_EQ(contents.entries[0].type, ResName::Named(u"STRS"));
    EXPECT_EQ(contents.entries[0].name, ResName::Ordinal(1));
    EXPECT_EQ(contents.entries[1].type, ResName::Ordinal(3));
    EXPECT_EQ(contents.entries[1].name, ResName::Named(u"I10001&96"));
    EXPECT_EQ(contents.entries[1].data, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(contents.entries[1].language, 1033);
}

TEST(ResFileReader, OnlyTheLeadingEntryIsAnEmptyFile) {
    const auto contents = ReadResFile(ResConv::WriteResFile({}));
    EXPECT_FALSE(contents.problem.has_value());
    EXPECT_TRUE(contents.entries.empty());
}

TEST(ResFileReader, RejectsFilesWithoutTheLeadingEmptyEntry) {
    EXPECT_EQ(ReadResFile({}).problem->message,
              "not a 32-bit resource file: it does not begin with the empty entry");
    // A 16-bit resource file begins with its first resource's type, 0xFF and an ordinal.
    const std::vector<std::uint8_t> sixteenBit = {0xFF, 0x0A, 0x00, 0xFF, 0x01, 0x00, 0x30, 0x00, 0, 0, 0, 0};
    EXPECT_TRUE(ReadResFile(sixteenBit).problem.has_value());
    const auto withoutLeading = ResConv::WriteResFile({Entry(ResName::Ordinal(5), ResName::Ordinal(1), {})});
    EXPECT_TRUE(
        ReadResFile(std::vector<std::uint8_t>(withoutLeading.begin() + 32, withoutLeading.end())).problem);
}

// Every prefix of a file is read without reading past it. A cut inside a header or inside data is a
// problem; a cut at the end of an entry, or in the padding after its data, leaves the entries before.
TEST(ResFileReader, EveryTruncationIsReportedOrHarmless) {
    const std::vector<std::uint8_t> full = SampleFile();
    // Leading entry 32; STRS entry: 40-byte header + 6 data bytes + 2 padding; last entry: 48 + 3 + 1.
    ASSERT_EQ(full.size(), 132u);
    const std::set<std::size_t> entryEnds = {32, 78, 79, 80, 131};
    for (std::size_t size = 0; size < full.size(); ++size) {
        const std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        const auto contents = ReadResFile(cut);
        EXPECT_EQ(contents.problem.has_value(), entryEnds.count(size) == 0) << "cut at " << size;
        if (contents.problem) {
            EXPECT_LE(contents.problem->offset, size);
            EXPECT_TRUE(contents.entries.empty());
        }
    }
}

TEST(ResFileReader, HeaderSizeBeyondTheFileIsReportedAtTheEntry) {
    std::vector<std::uint8_t> bytes = SampleFile();
    PutDword(bytes, 36, 0x7FFFFFFF);
    const auto contents = ReadResFile(bytes);
    ASSERT_TRUE(contents.problem.has_value());
    EXPECT_EQ(contents.problem->offset, 32u);
    EXPECT_EQ(contents.problem->message, "header of 2147483647 bytes runs past the end of the file");
}

TEST(ResFileReader, DataSizeBeyondTheFileIsReportedAtTheEntry) {
    std::vector<std::uint8_t> bytes = SampleFile();
    PutDword(bytes, 32, 0xFFFFFFFF);
    const auto contents = ReadResFile(bytes);
    ASSERT_TRUE(contents.problem.has_value());
    EXPECT_EQ(contents.problem->offset, 32u);
    EXPECT_EQ(contents.problem->message, "data of 4294967295 bytes runs past the end of the file");
}

TEST(ResFileReader, NameWithoutItsNulInsideTheHeader) {
    std::vector<std::uint8_t> bytes = SampleFile();
    // The first entry's header is 40 bytes: "STRS" and its NUL, an ordinal, padding, the fixed tail.
    // Claiming only 16 cuts the type name before its NUL.
    PutDword(bytes, 36, 16);
    const auto contents = ReadResFile(bytes);
    ASSERT_TRUE(contents.problem.has_value());
    EXPECT_EQ(contents.problem->message, "resource type does not fit in the entry's header");
    EXPECT_EQ(contents.problem->offset, 48u);
}

TEST(ResFileReader, HeaderTooSmallForItsFixedFields) {
    std::vector<std::uint8_t> bytes = SampleFile();
    PutDword(bytes, 36, 4);
    EXPECT_EQ(ReadResFile(bytes).problem->message, "resource type does not fit in the entry's header");
    PutDword(bytes, 36, 26);
    EXPECT_EQ(ReadResFile(bytes).problem->message, "data version does not fit in the entry's header");
}

TEST(ResFileReader, AHeaderThatEndsBeforeItsAlignmentIsReportedInsideTheFile) {
    // A 15-byte file that claims a 15-byte header: a one-unit type name and an empty name end at byte
    // 14, and aligning for the data version steps to 16, past the header and past the file.
    const std::vector<std::uint8_t> bytes{0x55, 0, 0, 0, 15, 0, 0, 0, 0x11, 0x27, 0, 0, 0, 0, 0};
    const auto contents = ReadResFile(bytes);
    ASSERT_TRUE(contents.problem.has_value());
    EXPECT_EQ(contents.problem->message, "data version does not fit in the entry's header");
    EXPECT_EQ(contents.problem->offset, 15u) << "the place named is where the header stops";
}

TEST(ResNameDisplay, OrdinalsAsNumbersNamesQuotedAndEscaped) {
    EXPECT_EQ(ResName::Ordinal(32300).ToDisplayString(), "32300");
    EXPECT_EQ(ResName::Named(u"STRS").ToDisplayString(), "\"STRS\"");
    EXPECT_EQ(ResName::Named(u"a\"\u00E9").ToDisplayString(), "\"a\\u0022\\u00E9\"");
}

TEST(ResNameMatching, TypeNamesMatchIgnoringCaseOrdinalsNever) {
    EXPECT_TRUE(ResName::Named(u"STRS").MatchesIgnoringCase("strs"));
    EXPECT_TRUE(ResName::NamedUpperCase("gsdg").MatchesIgnoringCase("GsDg"));
    EXPECT_FALSE(ResName::Named(u"STRS").MatchesIgnoringCase("STR"));
    EXPECT_FALSE(ResName::Named(u"STRS").MatchesIgnoringCase("STRX"));
    EXPECT_FALSE(ResName::Ordinal(6).MatchesIgnoringCase("6"));
}

} // namespace
