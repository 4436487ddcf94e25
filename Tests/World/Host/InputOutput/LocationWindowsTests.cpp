// IO::Location with Windows paths: drive letters, UNC shares, '\' separators ('/' is taken as '\'),
// names compared without regard to case, and UTF-16 text kept whole.
#include "HostTestSupport.hpp"
#include "Location.hpp"

#include <gtest/gtest.h>

#include <string>

using HostTestSupport::RecordingMonitor;

namespace {

std::string PathOf(const IO::Location& location) {
    GS::UniString path;
    EXPECT_EQ(location.ToPath(&path), NoError);
    return path.ToUTF8().Get();
}

std::string Text(const IO::Name& name) {
    return name.ToUniString().ToUTF8().Get();
}

IO::Location At(const char* utf8Path) {
    return IO::Location(GS::UniString(utf8Path, CC_UTF8));
}

} // namespace

TEST(IOLocationWindows, AppendingANameAddsOneBackslashComponent) {
    IO::Location location = At("C:\\Program Files\\VELD Engineer 2024");
    EXPECT_EQ(location.AppendToLocal(IO::Name("VeldEngineer.exe")), NoError);
    EXPECT_EQ(PathOf(location), "C:\\Program Files\\VELD Engineer 2024\\VeldEngineer.exe");
    EXPECT_EQ(Text(location.GetLastLocalName()), "VeldEngineer.exe");
}

TEST(IOLocationWindows, ForwardSlashesAreTakenAsBackslashes) {
    EXPECT_EQ(PathOf(At("C:/Users/Public/Documents")), "C:\\Users\\Public\\Documents");
    EXPECT_EQ(PathOf(At("//server/share/Exports/")), "\\\\server\\share\\Exports");
}

TEST(IOLocationWindows, TheDriveRootKeepsItsSeparatorOtherTrailingOnesGo) {
    EXPECT_EQ(PathOf(At("D:\\Exports\\\\")), "D:\\Exports");
    IO::Location root = At("C:\\");
    EXPECT_EQ(PathOf(root), "C:\\");
    EXPECT_EQ(root.AppendToLocal(IO::Name("ACToVELDEngineer.xlsx")), NoError);
    EXPECT_EQ(PathOf(root), "C:\\ACToVELDEngineer.xlsx");
    EXPECT_EQ(PathOf(At("C:/")), "C:\\");
}

TEST(IOLocationWindows, UncPathsAppendAndNameTheirLastComponent) {
    IO::Location share = At("\\\\fileserver\\projects\\Tower A");
    EXPECT_EQ(share.AppendToLocal(IO::Name("model.xlsx")), NoError);
    EXPECT_EQ(PathOf(share), "\\\\fileserver\\projects\\Tower A\\model.xlsx");
    EXPECT_EQ(Text(share.GetLastLocalName()), "model.xlsx");
}

TEST(IOLocationWindows, NamesHoldingEitherSeparatorAreRefused) {
    IO::Location location = At("C:\\VELD");
    EXPECT_EQ(location.AppendToLocal(IO::Name("sub\\file")), GSErr::BadParameter);
    EXPECT_EQ(location.AppendToLocal(IO::Name("sub/file")), GSErr::BadParameter);
    EXPECT_EQ(PathOf(location), "C:\\VELD");
}

TEST(IOLocationWindows, NonAsciiLettersSurviveWhole) {
    IO::Location location = At("C:\\Benutzer\\J\xC3\xBCrgen\\\xE6\x96\x87\xE6\x9B\xB8");
    EXPECT_EQ(location.AppendToLocal(IO::Name(GS::UniString(u"\xC4"
                                                            u"CToVELD \xD83D\xDE00.xlsx"))),
              NoError);
    GS::UniString path;
    ASSERT_EQ(location.ToPath(&path), NoError);
    EXPECT_EQ(std::u16string(path.ToUStr(), path.GetLength()),
              u"C:\\Benutzer\\J\u00FCrgen\\\u6587\u66F8\\\u00C4CToVELD \xD83D\xDE00.xlsx");
}

TEST(IOLocationWindows, EqualityIgnoresCaseAndSeparatorSpelling) {
    EXPECT_EQ(At("C:\\Program Files\\VELD"), At("c:/program files/veld/"));
    EXPECT_EQ(At("C:\\\xC3\x84pfel"), At("c:\\\xC3\xA4pfel"));
    EXPECT_NE(At("C:\\VELD"), At("D:\\VELD"));
}

TEST(IOLocationWindows, AppendingIsReportedWithTheWindowsPath) {
    IO::Location location = At("C:\\VELD");
    RecordingMonitor monitor;
    EXPECT_EQ(location.AppendToLocal(IO::Name("a.exe")), NoError);
    ASSERT_EQ(monitor.calls.size(), 1u);
    EXPECT_EQ(monitor.calls[0].details, "location=\"C:\\\\VELD\" name=\"a.exe\"");
    ASSERT_EQ(monitor.results.size(), 1u);
    EXPECT_EQ(monitor.results[0].details, "code=0 location=\"C:\\\\VELD\\\\a.exe\"");
}
