#include "CompileHelpers.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// Errors in icons, icon groups and the manifest: the files they name, and what a group's directory
// says about the icons it names.
namespace {

using ResConvTest::ErrorsFor;
using ResConvTest::Files;
using ResConvTest::Pam;
using ResConvTest::PlainPam;
using ResConvTest::PngHead;

std::string Icon(int number, const std::string& line) {
    return "resource ICON " + std::to_string(number) + " language 1033\n" + line + "\n";
}

TEST(IconErrors, ImageFileThatCannotBeRead) {
    // The file is found beside its source: the source's folder joined with the platform's separator.
    EXPECT_EQ(ErrorsFor({{"icons/i.rsrc", Icon(1, "png \"Images/missing.png\"")}}),
              "icons/i.rsrc:2: icon 1, item 1 (PNG image), field file: cannot read " +
                  (std::filesystem::path("icons") / "Images/missing.png").string() + "\n");
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "png \"empty.png\"")}}, {{"empty.png", ""}}),
              "i.rsrc:2: icon 1, item 1 (PNG image), field file: empty.png is empty\n");
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "png 5")}}),
              "i.rsrc:2: icon 1, item 1 (PNG image), field file: expected a quoted path, got the number 5\n");
}

TEST(IconErrors, PngFilesMustBeEightBitRgba) {
    const std::string prefix = "i.rsrc:2: icon 1, item 1 (PNG image), field file: a.png";
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "png \"a.png\"")}}, {{"a.png", PlainPam(2, 2)}}),
              prefix + ": not a PNG image (it does not begin with the PNG signature)\n");
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "png \"a.png\"")}}, {{"a.png", PngHead(18, 18).substr(0, 20)}}),
              prefix + ": PNG image does not begin with its 13-byte IHDR chunk\n");
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "png \"a.png\"")}}, {{"a.png", PngHead(18, 18, 8, 3)}}),
              prefix +
                  ": PNG image has bit depth 8 and colour type 3: icons take 8-bit RGBA (colour type 6)\n");
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "png \"a.png\"")}}, {{"a.png", PngHead(18, 18, 16, 6)}}),
              prefix +
                  ": PNG image has bit depth 16 and colour type 6: icons take 8-bit RGBA (colour type 6)\n");
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "png \"a.png\"")}}, {{"a.png", PngHead(0, 18)}}),
              prefix + ": PNG image has no pixels\n");
}

TEST(IconErrors, BitmapFilesArePamRgbaOfAtMost256Pixels) {
    const std::string prefix = "i.rsrc:2: icon 1, item 1 (bitmap image), field file: a.pam";
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "bitmap \"a.pam\"")}}, {{"a.pam", PngHead(16, 16)}}),
              prefix + ": not a PAM image (it does not begin with \"P7\")\n");
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "bitmap \"a.pam\"")}}, {{"a.pam", "P7\nWIDTH 1\nHEIGHT 1\n"}}),
              prefix + ": PAM header has no ENDHDR line\n");
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "bitmap \"a.pam\"")}},
                        {{"a.pam", "P7\nWIDTH 1\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\nabc"}}),
              prefix + ": PAM image is not RGB_ALPHA with WIDTH, HEIGHT, DEPTH 4 and MAXVAL 255\n");
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "bitmap \"a.pam\"")}}, {{"a.pam", PlainPam(257, 1)}}),
              prefix + ": PAM image is 257 x 1: bitmap icons are 1 to 256 pixels wide and high\n");
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "bitmap \"a.pam\"")}}, {{"a.pam", Pam(2, 2, {1, 2, 3, 4})}}),
              prefix + ": PAM image holds 4 bytes of pixels where 2 x 2 needs 16\n");
}

TEST(IconErrors, OneImagePerIconNumberedNotNamed) {
    const Files files = {{"a.png", PngHead(18, 18)}};
    EXPECT_EQ(ErrorsFor({{"two.rsrc", Icon(1, "png \"a.png\"\npng \"a.png\"")}}, files),
              "two.rsrc:1: icon 1 has 2 item lines: it takes exactly 1\n");
    EXPECT_EQ(ErrorsFor({{"named.rsrc", "resource ICON \"MENU\" language 1033\npng \"a.png\"\n"}}, files),
              "named.rsrc:1: ICON resources take a number, not a name\n");
}

class IconGroupErrors : public testing::Test {
protected:
    // Icon 1 is an 18-pixel PNG image, icon 2 a 16-pixel bitmap, icon 3 a 256-pixel bitmap.
    std::vector<ResConv::SourceText> Sources(const std::string& lines) const {
        return {{"1.rsrc", Icon(1, "png \"a.png\"")},
                {"2.rsrc", Icon(2, "bitmap \"b.pam\"")},
                {"3.rsrc", Icon(3, "bitmap \"c.pam\"")},
                {"g.rsrc", "resource ICONGROUP \"I10001&96\" language 1033\n" + lines}};
    }
    std::string ErrorsForGroup(const std::string& lines) const { return ErrorsFor(Sources(lines), files); }
    bool Compiles(const std::string& lines) const {
        return !ResConv::CompileSources(Sources(lines), ResConvTest::LoaderFor(files)).resFile.empty();
    }

    Files files = {{"a.png", PngHead(18, 18)}, {"b.pam", PlainPam(16, 16)}, {"c.pam", PlainPam(256, 256)}};
};

TEST_F(IconGroupErrors, GroupNamingAMissingIconSaysWhere) {
    EXPECT_EQ(ErrorsForGroup("icon 1 0 0 0\nicon 12 0 0 0\n"),
              "g.rsrc:3: icon group \"I10001&96\", item 2 (icon), field icon: there is no icon 12\n");
}

TEST_F(IconGroupErrors, PngEntriesStateTheRealSizeOrZero) {
    EXPECT_TRUE(Compiles("icon 1 18 18 0\nicon 1 0 0 32\n"));
    EXPECT_EQ(
        ErrorsForGroup("icon 1 20 0 0\n"),
        "g.rsrc:2: icon group \"I10001&96\", item 1 (icon), field width: 20 does not state the image's width "
        "18: it takes 18 or 0\n");
    EXPECT_EQ(ErrorsForGroup("icon 1 0 0 8\n"), "g.rsrc:2: icon group \"I10001&96\", item 1 (icon), field "
                                                "bit count: 8 does not state the image's bit "
                                                "count 32: it takes 32 or 0\n");
}

TEST_F(IconGroupErrors, BitmapEntriesStateTheRealSizeAndThirtyTwoBits) {
    EXPECT_TRUE(Compiles("icon 2 16 16 32\nicon 3 0 0 32\n"));
    EXPECT_EQ(ErrorsForGroup("icon 2 16 0 32\n"),
              "g.rsrc:2: icon group \"I10001&96\", item 1 (icon), field height: 0 does not state the image's "
              "height 16: it takes 16\n");
    EXPECT_EQ(
        ErrorsForGroup("icon 2 16 16 0\n"),
        "g.rsrc:2: icon group \"I10001&96\", item 1 (icon), field bit count: 0 does not state the image's "
        "bit count 32: it takes 32\n");
    EXPECT_EQ(
        ErrorsForGroup("icon 3 255 0 32\n"),
        "g.rsrc:2: icon group \"I10001&96\", item 1 (icon), field width: 255 does not state the image's "
        "width 256: it takes 0\n");
}

TEST_F(IconGroupErrors, DirectorySizesAreBytes) {
    EXPECT_EQ(ErrorsForGroup("icon 3 256 0 32\n"),
              "g.rsrc:2: icon group \"I10001&96\", item 1 (icon), field width: 256 does not fit in 8 bits\n");
}

// An icon left out for its own errors is not reported again as missing by its group.
TEST_F(IconGroupErrors, BrokenIconIsReportedOnce) {
    files["a.png"] = "not a picture";
    EXPECT_EQ(
        ErrorsForGroup("icon 1 0 0 0\n"),
        "1.rsrc:2: icon 1, item 1 (PNG image), field file: a.png: not a PNG image (it does not begin with "
        "the PNG signature)\n");
}

TEST(IconGroupNameErrors, NamesArePrintableAsciiAndNotEmpty) {
    EXPECT_EQ(ErrorsFor({{"g.rsrc", "resource ICONGROUP \"\" language 1033\nicon 1 0 0 0\n"}}),
              "g.rsrc:1: resource name is empty\n");
    EXPECT_EQ(ErrorsFor({{"g.rsrc", "resource ICONGROUP \"I\\xC3\" language 1033\nicon 1 0 0 0\n"}}),
              "g.rsrc:1: resource name holds byte 0xC3: names are printable ASCII\n");
}

TEST(IconGroupNameErrors, NamesDifferingInCaseAreTheSameGroup) {
    const Files files = {{"a.png", PngHead(18, 18)}};
    EXPECT_EQ(ErrorsFor({{"i.rsrc", Icon(1, "png \"a.png\"")},
                         {"a.rsrc", "resource ICONGROUP \"I10001&96\" language 1033\nicon 1 0 0 0\n"},
                         {"b.rsrc", "resource ICONGROUP \"i10001&96\" language 1033\nicon 1 0 0 0\n"}},
                        files),
              "b.rsrc:1: duplicate resource ICONGROUP \"I10001&96\" language 1033 (first at a.rsrc:1)\n");
}

TEST(ManifestErrors, NumberedOneToSixteen) {
    EXPECT_EQ(ErrorsFor({{"m.rsrc", "resource MANIFEST 17 language 1033\nfile \"m.manifest\"\n"}},
                        {{"m.manifest", "<?xml?>"}}),
              "m.rsrc:1: resource number 17 is outside 1 to 16: Windows looks for manifests numbered 1 to 16 "
              "only\n");
}

TEST(ManifestErrors, FileIsUtf8) {
    EXPECT_EQ(
        ErrorsFor({{"m.rsrc", "resource MANIFEST 2 language 1033\nfile \"m.manifest\"\n"}},
                  {{"m.manifest", "<?xml?>\xE9t\xE9"}}),
        "m.rsrc:2: manifest 2, item 1 (manifest file), field file: m.manifest is not UTF-8 (at byte 7)\n");
}

} // namespace
