#include "CallDetails.hpp"
#include "File.hpp"
#include "Folder.hpp"
#include "HostTestSupport.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

using HostTestSupport::RecordingMonitor;
using HostTestSupport::TempFolder;
using IO::OnNotFound;

namespace {

// std::filesystem speaks the system code page on Windows; the host speaks UTF-8.
std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Quoted(const std::filesystem::path& path) {
    return GS::CallDetails::Quote(Utf8Of(path));
}

IO::Location LocationOf(const std::filesystem::path& path) {
    return IO::Location(GS::UniString(Utf8Of(path).c_str(), CC_UTF8));
}

std::string PathOf(const IO::Location& location) {
    GS::UniString path;
    location.ToPath(&path);
    return path.ToUTF8().Get();
}

std::size_t EntryCount(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::recursive_directory_iterator(folder),
                                                  std::filesystem::recursive_directory_iterator()));
}

} // namespace

TEST(IOFolder, AnExistingFolderIsFineWhateverOnNotFoundSays) {
    TempFolder temp;
    const IO::Folder failIfMissing(LocationOf(temp.Path()), OnNotFound::FailIfMissing);
    const IO::Folder acceptMissing(LocationOf(temp.Path()), OnNotFound::AcceptMissing);
    EXPECT_EQ(failIfMissing.GetStatus(), NoError);
    EXPECT_EQ(acceptMissing.GetStatus(), NoError);
    EXPECT_EQ(failIfMissing.GetLocation(), LocationOf(temp.Path()));
}

TEST(IOFolder, AMissingFolderIsAnErrorOnlyWhenAskedAndIsNeverCreated) {
    TempFolder temp;
    const std::filesystem::path missing = temp.Path() / "not here" / "deeper";
    EXPECT_EQ(IO::Folder(LocationOf(missing), OnNotFound::FailIfMissing).GetStatus(), GSErr::NotFound);
    const IO::Folder accepted(LocationOf(missing), OnNotFound::AcceptMissing);
    EXPECT_EQ(accepted.GetStatus(), NoError);
    EXPECT_EQ(PathOf(accepted.GetLocation()), Utf8Of(missing));
    EXPECT_EQ(EntryCount(temp.Path()), 0u);
}

TEST(IOFolder, AFileOrNothingAtAllIsNoFolder) {
    TempFolder temp;
    temp.WriteFile("ACToVELDEngineer.xlsx", "workbook");
    EXPECT_EQ(
        IO::Folder(LocationOf(temp.Path() / "ACToVELDEngineer.xlsx"), OnNotFound::AcceptMissing).GetStatus(),
        GSErr::BadParameter);
    EXPECT_EQ(IO::Folder(IO::Location(), OnNotFound::AcceptMissing).GetStatus(), GSErr::BadParameter);
}

TEST(IOFile, AWorkbookLocationIsComposedInAFolderWithoutTouchingTheDisk) {
    TempFolder temp;
    const std::filesystem::path inner = temp.Path() / PathFromUtf8("VELD Export 100% Ünï ✓");
    std::filesystem::create_directory(inner);
    const IO::Folder folder(LocationOf(inner), OnNotFound::FailIfMissing);
    const IO::File file(folder, IO::Name("ACToVELDEngineer.xlsx"), OnNotFound::AcceptMissing);
    EXPECT_EQ(file.GetStatus(), NoError);
    EXPECT_EQ(PathOf(file.GetLocation()), Utf8Of(inner / "ACToVELDEngineer.xlsx"));
    EXPECT_FALSE(std::filesystem::exists(inner / "ACToVELDEngineer.xlsx"));
    EXPECT_EQ(IO::File(folder, IO::Name("ACToVELDEngineer.xlsx"), OnNotFound::FailIfMissing).GetStatus(),
              GSErr::NotFound);
    EXPECT_EQ(EntryCount(temp.Path()), 1u);
}

TEST(IOFile, AnExistingFileIsNeitherOpenedForWritingNorTruncated) {
    TempFolder temp;
    temp.WriteFile("ACToVELDEngineer.xlsx", "earlier export");
    const IO::File file(LocationOf(temp.Path() / "ACToVELDEngineer.xlsx"), OnNotFound::FailIfMissing);
    EXPECT_EQ(file.GetStatus(), NoError);
    EXPECT_EQ(temp.ReadFile("ACToVELDEngineer.xlsx"), "earlier export");
}

TEST(IOFile, AFolderWhereTheFileShouldBeIsAnError) {
    TempFolder temp;
    std::filesystem::create_directory(temp.Path() / "ACToVELDEngineer.xlsx");
    const IO::Folder folder(LocationOf(temp.Path()), OnNotFound::FailIfMissing);
    EXPECT_EQ(IO::File(folder, IO::Name("ACToVELDEngineer.xlsx"), OnNotFound::AcceptMissing).GetStatus(),
              GSErr::BadParameter);
}

TEST(IOFile, InAMissingFolderTheLocationIsStillComposedAndTheFolderErrorCarriedOn) {
    TempFolder temp;
    const IO::Folder folder(LocationOf(temp.Path() / "gone"), OnNotFound::FailIfMissing);
    const IO::File file(folder, IO::Name("ACToVELDEngineer.xlsx"), OnNotFound::AcceptMissing);
    EXPECT_EQ(file.GetStatus(), GSErr::NotFound);
    EXPECT_EQ(PathOf(file.GetLocation()), Utf8Of(temp.Path() / "gone" / "ACToVELDEngineer.xlsx"));
    EXPECT_EQ(EntryCount(temp.Path()), 0u);
}

TEST(IOFile, NoLocationIsComposedFromAnEmptyFolderOrABadName) {
    TempFolder temp;
    const IO::Folder empty(IO::Location(), OnNotFound::FailIfMissing);
    const IO::File inEmpty(empty, IO::Name("ACToVELDEngineer.xlsx"), OnNotFound::AcceptMissing);
    EXPECT_TRUE(inEmpty.GetLocation().IsEmpty());
    EXPECT_EQ(inEmpty.GetStatus(), GSErr::BadParameter);

    const IO::Folder folder(LocationOf(temp.Path()), OnNotFound::FailIfMissing);
    for (const char* name : {"", "sub/ACToVELDEngineer.xlsx"}) {
        const IO::File file(folder, IO::Name(name), OnNotFound::AcceptMissing);
        EXPECT_TRUE(file.GetLocation().IsEmpty()) << name;
        EXPECT_EQ(file.GetStatus(), GSErr::BadParameter) << name;
    }
}

TEST(IOFolderAndFile, BothReportThemselvesAndTakeTheMonitorsCodeAsTheirStatus) {
    TempFolder temp;
    RecordingMonitor monitor;
    monitor.failures["IO::File::File"] = GSErr::IOError;
    const IO::Folder folder(LocationOf(temp.Path()), OnNotFound::FailIfMissing);
    const IO::File file(folder, IO::Name("book.xlsx"), OnNotFound::AcceptMissing);
    EXPECT_EQ(folder.GetStatus(), NoError);
    EXPECT_EQ(file.GetStatus(), GSErr::IOError);
    EXPECT_EQ(PathOf(file.GetLocation()), Utf8Of(temp.Path() / "book.xlsx"));

    ASSERT_EQ(monitor.calls.size(), 2u);
    EXPECT_EQ(monitor.calls[0].operation, "IO::Folder::Folder");
    EXPECT_EQ(monitor.calls[0].details, "location=" + Quoted(temp.Path()) + " onNotFound=0");
    EXPECT_EQ(monitor.calls[1].operation, "IO::File::File");
    EXPECT_EQ(monitor.calls[1].details, "folder=" + Quoted(temp.Path()) + " name=\"book.xlsx\" onNotFound=1");
    ASSERT_EQ(monitor.results.size(), 2u);
    EXPECT_EQ(monitor.results[0].details, "status=0");
    EXPECT_EQ(monitor.results[1].details,
              "status=" + std::to_string(GSErr::IOError) + " location=" + Quoted(temp.Path() / "book.xlsx"));
}
