#include "CallDetails.hpp"
#include "FileTests.hpp"
#include "HostTestSupport.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using HostTestSupport::RecordingMonitor;
using HostTestSupport::TempFolder;
namespace fs = std::filesystem;

namespace {

// std::filesystem speaks the system code page on Windows; the host speaks UTF-8.
std::string Utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

IO::Location LocationOf(const fs::path& path) {
    return IO::Location(GS::UniString(Utf8Of(path).c_str(), CC_UTF8));
}

// Takes every write bit away, as `chmod a-w` does. The tests run as root, who could write all the
// same; the answer must come from the mark.
void MarkReadOnly(const fs::path& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

} // namespace

TEST(CanCreateOrWriteFile, AnEarlierWorkbookCanBeWrittenAgainAndIsLeftAsItWas) {
    TempFolder temp;
    temp.WriteFile("ACToVELDEngineer.xlsx", "earlier export");
    EXPECT_TRUE(CanCreateOrWriteFile(LocationOf(temp.Path() / "ACToVELDEngineer.xlsx")));
    EXPECT_EQ(temp.ReadFile("ACToVELDEngineer.xlsx"), "earlier export");
}

TEST(CanCreateOrWriteFile, AReadOnlyFileIsNotWritableEvenForAnAdministrator) {
    TempFolder temp;
    temp.WriteFile("ACToVELDEngineer.xlsx", "locked");
    MarkReadOnly(temp.Path() / "ACToVELDEngineer.xlsx");
    EXPECT_FALSE(CanCreateOrWriteFile(LocationOf(temp.Path() / "ACToVELDEngineer.xlsx")));
    EXPECT_EQ(temp.ReadFile("ACToVELDEngineer.xlsx"), "locked");
}

TEST(CanCreateOrWriteFile, AMissingFileInAWritableFolderCanBeCreatedAndNothingIsLeftBehind) {
    TempFolder temp;
    const fs::path folder = temp.Path() / fs::path(u8"VELD Export 100% Ünï ✓");
    fs::create_directory(folder);
    EXPECT_TRUE(CanCreateOrWriteFile(LocationOf(folder / "ACToVELDEngineer.xlsx")));
    EXPECT_TRUE(fs::is_empty(folder));
}

#if defined(_WIN32)
// On Windows a folder's read-only attribute only marks it as customised; files are still made in it.
TEST(CanCreateOrWriteFile, AFolderMarkedReadOnlyStillTakesNewFiles) {
    TempFolder temp;
    const fs::path folder = temp.Path() / "customised";
    fs::create_directory(folder);
    MarkReadOnly(folder);
    EXPECT_TRUE(CanCreateOrWriteFile(LocationOf(folder / "ACToVELDEngineer.xlsx")));
    EXPECT_TRUE(fs::is_empty(folder));
}
#else
TEST(CanCreateOrWriteFile, AMissingFileInAReadOnlyFolderCannot) {
    TempFolder temp;
    const fs::path folder = temp.Path() / "locked";
    fs::create_directory(folder);
    MarkReadOnly(folder);
    EXPECT_FALSE(CanCreateOrWriteFile(LocationOf(folder / "ACToVELDEngineer.xlsx")));
    EXPECT_TRUE(fs::is_empty(folder));
}
#endif

TEST(CanCreateOrWriteFile, AMissingFolderIsNeitherAcceptedNorCreated) {
    TempFolder temp;
    EXPECT_FALSE(CanCreateOrWriteFile(LocationOf(temp.Path() / "gone" / "ACToVELDEngineer.xlsx")));
    EXPECT_TRUE(fs::is_empty(temp.Path()));
}

TEST(CanCreateOrWriteFile, AFolderOrAFileInPlaceOfTheFolderIsNoPlaceForAFile) {
    TempFolder temp;
    fs::create_directory(temp.Path() / "ACToVELDEngineer.xlsx");
    EXPECT_FALSE(CanCreateOrWriteFile(LocationOf(temp.Path() / "ACToVELDEngineer.xlsx")));
    temp.WriteFile("plain", "a file, not a folder");
    EXPECT_FALSE(CanCreateOrWriteFile(LocationOf(temp.Path() / "plain" / "ACToVELDEngineer.xlsx")));
    EXPECT_FALSE(CanCreateOrWriteFile(IO::Location()));
}

TEST(CanCreateOrWriteFile, IsReportedAndAFailureReadsAsNotWritable) {
    TempFolder temp;
    const IO::Location location = LocationOf(temp.Path() / "ACToVELDEngineer.xlsx");
    RecordingMonitor monitor;
    EXPECT_TRUE(CanCreateOrWriteFile(location));
    monitor.failures["CanCreateOrWriteFile"] = GSErr::IOError;
    EXPECT_FALSE(CanCreateOrWriteFile(location));

    ASSERT_EQ(monitor.calls.size(), 2u);
    EXPECT_EQ(monitor.calls[0].operation, "CanCreateOrWriteFile");
    EXPECT_EQ(monitor.calls[0].details,
              "path=" + GS::CallDetails::Quote(Utf8Of(temp.Path() / "ACToVELDEngineer.xlsx")));
    ASSERT_EQ(monitor.results.size(), 2u);
    EXPECT_EQ(monitor.results[0].details, "true");
    EXPECT_EQ(monitor.results[1].details, "false");
    EXPECT_TRUE(fs::is_empty(temp.Path()));
}
