#include "CallDetails.hpp"
#include "HostTestSupport.hpp"
#include "Location.hpp"
#include "PathLegality.hpp"

#include <gtest/gtest.h>

#include <string>

using HostTestSupport::RecordingMonitor;
using IO::PathLegality::IsLegalPosixPath;
using IO::PathLegality::IsLegalWindowsPath;

namespace {

GS::UniString Utf8(const std::string& text) {
    return GS::UniString(text.c_str(), CC_UTF8);
}

GS::UniString Repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return Utf8(text);
}

} // namespace

TEST(PosixPathLegality, OrdinaryAndAwkwardPathsAreLegal) {
    EXPECT_TRUE(IsLegalPosixPath(Utf8("/tmp/ACToVELDEngineer.xlsx")));
    EXPECT_TRUE(IsLegalPosixPath(Utf8("relative/name")));
    EXPECT_TRUE(IsLegalPosixPath(Utf8("/")));
    EXPECT_TRUE(IsLegalPosixPath(Utf8("/VELD \"Engineer\" 100% back\\slash: <x>|?*/Übersicht ✓ 😀")));
    EXPECT_TRUE(IsLegalPosixPath(Utf8("/trailing dot./trailing space /CON/nul.txt")));
}

TEST(PosixPathLegality, EmptyNulAndUnpairedSurrogatesAreNot) {
    EXPECT_FALSE(IsLegalPosixPath(GS::UniString()));
    const char16_t withNul[] = u"/tmp/a\0b";
    EXPECT_FALSE(IsLegalPosixPath(GS::UniString(withNul, 8)));
    EXPECT_FALSE(IsLegalPosixPath(GS::UniString(u"/tmp/\xD83D.txt")));
    EXPECT_FALSE(IsLegalPosixPath(GS::UniString(u"/tmp/\xDE00.txt")));
    EXPECT_FALSE(IsLegalPosixPath(GS::UniString(u"/tmp/\xD83D")));
}

TEST(PosixPathLegality, NamesAreLimitedTo255BytesOfUtf8) {
    EXPECT_TRUE(IsLegalPosixPath(Utf8("/tmp/") + Repeated("a", 255)));
    EXPECT_FALSE(IsLegalPosixPath(Utf8("/tmp/") + Repeated("a", 256)));
    // 127 two-byte letters are 254 bytes; one more makes 256 although only 128 letters.
    EXPECT_TRUE(IsLegalPosixPath(Utf8("/tmp/") + Repeated("Ü", 127)));
    EXPECT_FALSE(IsLegalPosixPath(Utf8("/tmp/") + Repeated("Ü", 128)));
    // 63 emoji are 252 bytes in UTF-8 but only 126 UTF-16 units.
    EXPECT_TRUE(IsLegalPosixPath(Utf8("/tmp/") + Repeated("😀", 63)));
    EXPECT_FALSE(IsLegalPosixPath(Utf8("/tmp/") + Repeated("😀", 64)));
}

TEST(PosixPathLegality, TheWholePathStaysUnderPathMax) {
    // "/" + 200 bytes, repeated: 201 bytes a step.
    EXPECT_TRUE(IsLegalPosixPath(Repeated("/" + std::string(200, 'a'), 20) + Utf8("/") + Repeated("b", 74)));
    EXPECT_FALSE(IsLegalPosixPath(Repeated("/" + std::string(200, 'a'), 20) + Utf8("/") + Repeated("b", 75)));
}

TEST(WindowsPathLegality, DrivesUncAndLongPathPrefixesAreLegal) {
    EXPECT_TRUE(IsLegalWindowsPath(Utf8("C:\\Users\\VELD User\\Documents\\ACToVELDEngineer.xlsx")));
    EXPECT_TRUE(IsLegalWindowsPath(Utf8("C:\\")));
    EXPECT_TRUE(IsLegalWindowsPath(Utf8("C:relative.txt")));
    EXPECT_TRUE(IsLegalWindowsPath(Utf8("\\\\server\\share\\file.xlsx")));
    EXPECT_TRUE(IsLegalWindowsPath(Utf8("\\\\?\\C:\\very\\long")));
    EXPECT_TRUE(IsLegalWindowsPath(Utf8("C:/forward/slashes/Übersicht ✓ 100%.xlsx")));
    EXPECT_TRUE(IsLegalWindowsPath(Utf8("C:\\a\\..\\b\\.\\c")));
    EXPECT_TRUE(IsLegalWindowsPath(Utf8("C:\\.hidden\\CONSOLE\\COM10\\LPT0\\con2.txt")));
}

TEST(WindowsPathLegality, ReservedCharactersAreRefusedOutsideTheDriveAndPrefix) {
    for (const char* name : {"a<b", "a>b", "a:b", "a\"b", "a|b", "a?b", "a*b", "a\tb", "a\x1f-b"}) {
        EXPECT_FALSE(IsLegalWindowsPath(Utf8(std::string("C:\\folder\\") + name))) << name;
    }
    EXPECT_FALSE(IsLegalWindowsPath(Utf8("C:\\a\\C:\\b")));
    EXPECT_FALSE(IsLegalWindowsPath(Utf8("\\\\?\\C:\\what?")));
    EXPECT_FALSE(IsLegalWindowsPath(Utf8("1:\\digit drive")));
    const char16_t withNul[] = u"C:\\a\0b";
    EXPECT_FALSE(IsLegalWindowsPath(GS::UniString(withNul, 6)));
    EXPECT_FALSE(IsLegalWindowsPath(GS::UniString()));
}

TEST(WindowsPathLegality, DeviceNamesAreRefusedWithOrWithoutAnExtension) {
    for (const char* name : {"CON", "con", "PRN", "AUX", "NUL", "nul.txt", "COM1", "com9.log", "LPT1", "Lpt9",
                             "CON .txt", "aux.tar.gz"}) {
        EXPECT_FALSE(IsLegalWindowsPath(Utf8(std::string("C:\\export\\") + name))) << name;
        EXPECT_FALSE(IsLegalWindowsPath(Utf8(std::string(name) + "\\inside"))) << name;
    }
}

TEST(WindowsPathLegality, NamesMayNotEndInASpaceOrADot) {
    EXPECT_FALSE(IsLegalWindowsPath(Utf8("C:\\export\\book.xlsx ")));
    EXPECT_FALSE(IsLegalWindowsPath(Utf8("C:\\export\\book.")));
    EXPECT_FALSE(IsLegalWindowsPath(Utf8("C:\\folder.\\book.xlsx")));
    EXPECT_FALSE(IsLegalWindowsPath(Utf8("C:\\folder \\book.xlsx")));
    EXPECT_FALSE(IsLegalWindowsPath(Utf8("C:\\...")));
}

TEST(WindowsPathLegality, UnprefixedPathsStayUnderMaxPathAndPrefixedOnesUnder32767) {
    const GS::UniString root = Utf8("C:\\");
    EXPECT_TRUE(IsLegalWindowsPath(root + Repeated("a", 200) + Utf8("\\") + Repeated("b", 55)));
    EXPECT_FALSE(IsLegalWindowsPath(root + Repeated("a", 200) + Utf8("\\") + Repeated("b", 56)));
    EXPECT_FALSE(IsLegalWindowsPath(root + Repeated("a", 256)));

    const GS::UniString prefixed = Utf8("\\\\?\\C:");
    EXPECT_TRUE(IsLegalWindowsPath(prefixed + Repeated("\\" + std::string(254, 'a'), 128)));
    EXPECT_FALSE(IsLegalWindowsPath(prefixed + Repeated("\\" + std::string(254, 'a'), 129)));
}

TEST(LocationLegality, JudgesByThisPlatformsRulesAndReportsItself) {
#if defined(_WIN32)
    const IO::Location legal(GS::UniString("C:\\export\\ACToVELDEngineer.xlsx"));
    const IO::Location illegal(GS::UniString("C:\\export\\book?.xlsx"));
#else
    const IO::Location legal(GS::UniString("/tmp/export/ACToVELDEngineer?.xlsx"));
    const IO::Location illegal(GS::UniString("/tmp/") + Repeated("a", 256));
#endif
    EXPECT_FALSE(IO::Location().IsLegalInNativeFileSystem());
    EXPECT_FALSE(illegal.IsLegalInNativeFileSystem());

    RecordingMonitor monitor;
    EXPECT_TRUE(legal.IsLegalInNativeFileSystem());
    monitor.failures["IO::Location::IsLegalInNativeFileSystem"] = GSErr::IOError;
    EXPECT_FALSE(legal.IsLegalInNativeFileSystem());

    ASSERT_EQ(monitor.calls.size(), 2u);
    EXPECT_EQ(monitor.calls[0].operation, "IO::Location::IsLegalInNativeFileSystem");
    GS::UniString path;
    legal.ToPath(&path);
    EXPECT_EQ(monitor.calls[0].details, "location=" + GS::CallDetails::Quote(path.ToUTF8().Get()));
    ASSERT_EQ(monitor.results.size(), 2u);
    EXPECT_EQ(monitor.results[0].details, "true");
    EXPECT_EQ(monitor.results[1].details, "false");
}
