#include "CompileHelpers.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Icons, icon groups and the manifest as ResConv writes them: Windows' numbered types, the images
// in the form the icon format wants, and directories whose byte sizes are the icons' own.
namespace {

using ResConvTest::CompileAndReadBack;
using ResConvTest::Files;
using ResConvTest::PlainPam;
using ResConvTest::PngHead;
using ResConvTest::ReadUInt32LE;
using ResFormat::ResName;

std::string Icon(int number, const std::string& line) {
    return "resource ICON " + std::to_string(number) + " language 1033\n" + line + "\n";
}

const ResFormat::ResourceEntry* Find(const std::vector<ResFormat::ResourceEntry>& entries,
                                     const ResName& type, const ResName& name) {
    for (const ResFormat::ResourceEntry& entry : entries) {
        if (entry.type == type && entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

TEST(IconOutput, PngImageIsStoredAsTheFileHoldsIt) {
    const Files files = {{"img/a.png", PngHead(18, 18) + "rest of the file"}};
    const auto entries = CompileAndReadBack({{"img/i.rsrc", Icon(1, "png \"a.png\"")}}, files);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].type, ResName::Ordinal(3));
    EXPECT_EQ(entries[0].name, ResName::Ordinal(1));
    EXPECT_EQ(entries[0].memoryFlags, 0x1010);
    const std::string& file = files.at("img/a.png");
    EXPECT_EQ(entries[0].data, std::vector<std::uint8_t>(file.begin(), file.end()));
}

// 2 x 2 pixels: the top right one fully transparent, the bottom left one half.
TEST(IconOutput, BitmapIsInfoHeaderBottomUpBgraRowsThenTheMask) {
    const Files files = {
        {"b.pam", ResConvTest::Pam(2, 2, {1, 2, 3, 255, 4, 5, 6, 0, 7, 8, 9, 128, 10, 11, 12, 255})}};
    const auto entries = CompileAndReadBack({{"i.rsrc", Icon(5, "bitmap \"b.pam\"")}}, files);
    ASSERT_EQ(entries.size(), 1u);
    const std::vector<std::uint8_t> header = {40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0,
                                              24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0};
    std::vector<std::uint8_t> expected = header;
    expected.insert(expected.end(), {9, 8, 7, 128, 12, 11, 10, 255, 3, 2, 1, 255, 6, 5, 4, 0});
    // Mask rows bottom-up, 32 bits each: the bottom row opaque, the top row's second pixel not.
    expected.insert(expected.end(), {0x00, 0, 0, 0, 0x40, 0, 0, 0});
    EXPECT_EQ(entries[0].data, expected);
}

TEST(IconOutput, MaskRowsArePaddedToThirtyTwoBits) {
    const auto entries =
        CompileAndReadBack({{"i.rsrc", Icon(5, "bitmap \"b.pam\"")}}, {{"b.pam", PlainPam(33, 3)}});
    ASSERT_EQ(entries.size(), 1u);
    const std::vector<std::uint8_t>& data = entries[0].data;
    EXPECT_EQ(data.size(), 40u + 33 * 3 * 4 + 8 * 3);
    EXPECT_EQ(ReadUInt32LE(data, 4), 33u);
    EXPECT_EQ(ReadUInt32LE(data, 8), 6u);
    EXPECT_EQ(ReadUInt32LE(data, 20), 33u * 3 * 4 + 8 * 3);
}

TEST(IconGroupOutput, DirectoryStatesEachIconsByteSizeAndNumber) {
    const Files files = {{"a.png", PngHead(18, 18)}, {"b.pam", PlainPam(16, 16)}};
    const auto entries = CompileAndReadBack({{"1.rsrc", Icon(1, "png \"a.png\"")},
                                             {"2.rsrc", Icon(2, "bitmap \"b.pam\"")},
                                             {"g.rsrc", "resource ICONGROUP 1 language 1033\n"
                                                        "icon 2 16 16 32\nicon 1 0 0 0\n"}},
                                            files);
    const ResFormat::ResourceEntry* group = Find(entries, ResName::Ordinal(14), ResName::Ordinal(1));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->memoryFlags, 0x1030);
    const std::uint32_t bitmapSize = 40 + 16 * 16 * 4 + 4 * 16;
    const auto pngSize = static_cast<std::uint32_t>(files.at("a.png").size());
    std::vector<std::uint8_t> expected = {0, 0, 1, 0, 2, 0};
    expected.insert(expected.end(), {16, 16, 0, 0, 1, 0, 32, 0});
    expected.insert(expected.end(), {static_cast<std::uint8_t>(bitmapSize & 0xFF),
                                     static_cast<std::uint8_t>(bitmapSize >> 8), 0, 0, 2, 0});
    expected.insert(expected.end(), {0, 0, 0, 0, 1, 0, 0, 0});
    expected.insert(expected.end(), {static_cast<std::uint8_t>(pngSize), 0, 0, 0, 1, 0});
    EXPECT_EQ(group->data, expected);
}

// A group may come before its icons; the file keeps the order of the sources all the same.
TEST(IconGroupOutput, GroupBeforeItsIconsStillStatesTheirSizes) {
    const Files files = {{"a.png", PngHead(36, 36) + std::string(300, 'x')}};
    const auto entries =
        CompileAndReadBack({{"g.rsrc", "resource ICONGROUP \"i10001&192\" language 1033\nicon 2 0 0 0\n"},
                            {"2.rsrc", Icon(2, "png \"a.png\"")}},
                           files);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].type, ResName::Ordinal(14));
    EXPECT_EQ(entries[0].name, ResName::Named(u"I10001&192"));
    EXPECT_EQ(entries[1].type, ResName::Ordinal(3));
    ASSERT_EQ(entries[0].data.size(), 20u);
    EXPECT_EQ(ReadUInt32LE(entries[0].data, 14), entries[1].data.size());
}

TEST(ManifestOutput, StoredByteForByteAsResourceType24) {
    const std::string manifest = "<?xml version='1.0'?>\r\n<assembly/>\r\n";
    const auto entries =
        CompileAndReadBack({{"m/m.rsrc", "resource MANIFEST 2 language 1033\nfile \"app.manifest\"\n"}},
                           {{"m/app.manifest", manifest}});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].type, ResName::Ordinal(24));
    EXPECT_EQ(entries[0].name, ResName::Ordinal(2));
    EXPECT_EQ(entries[0].memoryFlags, 0x0030);
    EXPECT_EQ(entries[0].data, std::vector<std::uint8_t>(manifest.begin(), manifest.end()));
}

} // namespace
