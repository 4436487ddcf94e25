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

} // namespace

TEST(IOName, ComesFromUtf8OrAUniString) {
    EXPECT_EQ(Text(IO::Name("VeldEngineer.exe")), "VeldEngineer.exe");
    EXPECT_EQ(Text(IO::Name("Übersicht ✓.xlsx")), "Übersicht ✓.xlsx");
    EXPECT_EQ(Text(IO::Name(GS::UniString(u"a\xD83D\xDE00"))), "a😀");
    EXPECT_TRUE(IO::Name().IsEmpty());
}

TEST(IOLocation, AppendingANameAddsOneComponent) {
    IO::Location location(GS::UniString("/opt/VELD Engineer 2024"));
    EXPECT_EQ(location.AppendToLocal(IO::Name("VeldEngineer.exe")), NoError);
    EXPECT_EQ(PathOf(location), "/opt/VELD Engineer 2024/VeldEngineer.exe");
    EXPECT_EQ(Text(location.GetLastLocalName()), "VeldEngineer.exe");
}

TEST(IOLocation, TrailingSeparatorsAreDroppedButTheRootKeepsIts) {
    EXPECT_EQ(PathOf(IO::Location(GS::UniString("/tmp/export//"))), "/tmp/export");
    IO::Location root(GS::UniString("/"));
    EXPECT_EQ(PathOf(root), "/");
    EXPECT_EQ(root.AppendToLocal(IO::Name("file")), NoError);
    EXPECT_EQ(PathOf(root), "/file");
}

TEST(IOLocation, BadNamesLeaveTheLocationUnchanged) {
    IO::Location location(GS::UniString("/opt/VELD"));
    EXPECT_EQ(location.AppendToLocal(IO::Name("")), GSErr::BadParameter);
    EXPECT_EQ(location.AppendToLocal(IO::Name("sub/file")), GSErr::BadParameter);
    EXPECT_EQ(PathOf(location), "/opt/VELD");

    IO::Location empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.AppendToLocal(IO::Name("file")), GSErr::BadParameter);
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(IOLocation, ToPathNeedsAPlaceToWriteTo) {
    EXPECT_EQ(IO::Location(GS::UniString("/x")).ToPath(nullptr), GSErr::BadParameter);
}

TEST(IOLocation, TheLastNameOfAPath) {
    EXPECT_EQ(Text(IO::Location(GS::UniString("/a/b/ÄCToVELD.xlsx")).GetLastLocalName()), "ÄCToVELD.xlsx");
    EXPECT_EQ(Text(IO::Location(GS::UniString("relative")).GetLastLocalName()), "relative");
    EXPECT_TRUE(IO::Location(GS::UniString("/")).GetLastLocalName().IsEmpty());
    EXPECT_TRUE(IO::Location().GetLastLocalName().IsEmpty());
}

TEST(IOLocation, EqualityComparesTheNativePaths) {
    EXPECT_EQ(IO::Location(GS::UniString("/a/b/")), IO::Location(GS::UniString("/a/b")));
    EXPECT_NE(IO::Location(GS::UniString("/a/B")), IO::Location(GS::UniString("/a/b")));
    EXPECT_EQ(IO::Location(), IO::Location());
}

TEST(IOLocation, AppendingIsReportedAndCanBeMadeToFail) {
    IO::Location location(GS::UniString("/opt/\"VELD\""));
    RecordingMonitor monitor;
    EXPECT_EQ(location.AppendToLocal(IO::Name("a.exe")), NoError);
    monitor.failures["IO::Location::AppendToLocal"] = GSErr::IOError;
    EXPECT_EQ(location.AppendToLocal(IO::Name("b.exe")), GSErr::IOError);
    EXPECT_EQ(PathOf(location), "/opt/\"VELD\"/a.exe");

    ASSERT_EQ(monitor.calls.size(), 2u);
    EXPECT_EQ(monitor.calls[0].operation, "IO::Location::AppendToLocal");
    EXPECT_EQ(monitor.calls[0].details, "location=\"/opt/\\\"VELD\\\"\" name=\"a.exe\"");
    ASSERT_EQ(monitor.results.size(), 2u);
    EXPECT_EQ(monitor.results[0].details, "code=0 location=\"/opt/\\\"VELD\\\"/a.exe\"");
    EXPECT_EQ(monitor.results[1].details,
              "code=" + std::to_string(GSErr::IOError) + " location=\"/opt/\\\"VELD\\\"/a.exe\"");
}
