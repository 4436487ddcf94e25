#include "GSPrefTestFixture.hpp"
#include "StoreFilePosix.hpp"

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

using GSPref::RootKeyDomain;

namespace {

const std::string Installed = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\23.1]\n"
                              "\"InstallDir\"=\"/opt/veld-1\"\n";
// The same length as Installed: a rewrite that keeps the file's size.
const std::string Moved = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\23.1]\n"
                          "\"InstallDir\"=\"/opt/veld-2\"\n";

UInt64 Parses() {
    return GSPref::GetStoreParseCount(RootKeyDomain::LocalMachine);
}

// What the add-on does to find VELD Engineer: open, enumerate, read, close.
std::string FindInstallDir() {
    GSPref::IRoot* root = GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD\\Installer");
    if (root == nullptr) {
        return "(no key)";
    }
    GS::UniString folder;
    root->ReadStringValue("VeldEngineer\\23.1", "InstallDir", folder, GS::UniString(), 0);
    GSPref::CloseRootKey(&root);
    return folder.ToUTF8().Get();
}

} // namespace

using GSPrefStoreCache = GSPrefStoreTest;

TEST_F(GSPrefStoreCache, AnUntouchedFileIsParsedOnceHoweverOftenItIsRead) {
    WriteLocalMachine(Installed);
    const UInt64 before = Parses();
    for (int lookup = 0; lookup < 10; ++lookup) {
        ASSERT_EQ(FindInstallDir(), "/opt/veld-1");
    }
    EXPECT_EQ(Parses(), before + 1);
}

TEST_F(GSPrefStoreCache, ARewriteInPlaceOfTheSameSizeAtOnceIsSeen) {
    WriteLocalMachine(Installed);
    ASSERT_EQ(FindInstallDir(), "/opt/veld-1");
    const UInt64 before = Parses();
    // Within the same clock tick as the first write: size and times may well be unchanged.
    WriteLocalMachine(Moved);
    EXPECT_EQ(FindInstallDir(), "/opt/veld-2");
    EXPECT_EQ(Parses(), before + 1);
    EXPECT_EQ(FindInstallDir(), "/opt/veld-2");
    EXPECT_EQ(Parses(), before + 1);
}

TEST_F(GSPrefStoreCache, AFileReplacedByAnotherOfTheSameBytesIsNotParsedAgain) {
    WriteLocalMachine(Installed);
    ASSERT_EQ(FindInstallDir(), "/opt/veld-1");
    const UInt64 before = Parses();
    folder.WriteFile("replacement", Hive(Installed));
    std::filesystem::rename(folder.Path() / "replacement", folder.Path() / "LocalMachine.reg");
    EXPECT_EQ(FindInstallDir(), "/opt/veld-1");
    EXPECT_EQ(Parses(), before);
}

TEST_F(GSPrefStoreCache, AWriteByAnotherProcessIsSeen) {
    WriteLocalMachine(Installed);
    ASSERT_EQ(FindInstallDir(), "/opt/veld-1");
    const UInt64 before = Parses();
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // The child has its own copy of the store, parsed as the parent's is; it writes as a
        // registry tool does, through a new file renamed over the old one.
        const GSErrCode written = GSPref::WriteStringValue(RootKeyDomain::LocalMachine,
                                                           "SOFTWARE\\VELD\\Installer\\VeldEngineer\\23.1",
                                                           "InstallDir", GS::UniString("/opt/veld-2"));
        ::_exit(written == NoError ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(FindInstallDir(), "/opt/veld-2");
    EXPECT_EQ(Parses(), before + 1);
}

TEST_F(GSPrefStoreCache, OwnWritesAreReadBackAndAFileThatAppearsIsSeen) {
    EXPECT_EQ(FindInstallDir(), "(no key)");
    ASSERT_EQ(GSPref::WriteStringValue(RootKeyDomain::LocalMachine,
                                       "SOFTWARE\\VELD\\Installer\\VeldEngineer\\23.1", "InstallDir",
                                       GS::UniString("/opt/own")),
              NoError);
    EXPECT_EQ(FindInstallDir(), "/opt/own");
    const UInt64 afterOwnWrite = Parses();
    EXPECT_EQ(FindInstallDir(), "/opt/own");
    EXPECT_EQ(Parses(), afterOwnWrite);

    std::filesystem::remove(folder.Path() / "LocalMachine.reg");
    EXPECT_EQ(FindInstallDir(), "(no key)");
    WriteLocalMachine(Installed);
    EXPECT_EQ(FindInstallDir(), "/opt/veld-1");
}

TEST_F(GSPrefStoreCache, AMalformedFileIsParsedOnceUntilItChanges) {
    WriteLocalMachine("\"InstallDir\"=\"/opt\"\n");
    const UInt64 before = Parses();
    EXPECT_EQ(FindInstallDir(), "(no key)");
    EXPECT_EQ(FindInstallDir(), "(no key)");
    EXPECT_EQ(Parses(), before + 1);
    EXPECT_FALSE(GSPref::GetStoreDiagnostic(RootKeyDomain::LocalMachine).IsEmpty());
    WriteLocalMachine(Installed);
    EXPECT_EQ(FindInstallDir(), "/opt/veld-1");
    EXPECT_TRUE(GSPref::GetStoreDiagnostic(RootKeyDomain::LocalMachine).IsEmpty());
}

// When the stamp alone may be trusted.
namespace {

constexpr Int64 Second = 1'000'000'000;

GS::StoreFile::Stamp StampAt(Int64 modified, Int64 changed) {
    GS::StoreFile::Stamp stamp;
    stamp.exists = true;
    stamp.modifiedSeconds = modified / Second;
    stamp.modifiedNanoseconds = modified % Second;
    stamp.changedSeconds = changed / Second;
    stamp.changedNanoseconds = changed % Second;
    return stamp;
}

} // namespace

TEST(StoreFileSettling, AFileChangedJustBeforeTheReadIsNotSettled) {
    const Int64 read = 1'700'000'000 * Second;
    EXPECT_FALSE(GS::StoreFile::IsSettled(StampAt(read - Second / 100, read - Second / 100), read));
    EXPECT_FALSE(GS::StoreFile::IsSettled(StampAt(read, read), read));
    // A later change time counts even when the modification time was set back (touch -d, cp -p).
    EXPECT_FALSE(GS::StoreFile::IsSettled(StampAt(read - 3600 * Second, read - Second / 2), read));
}

TEST(StoreFileSettling, AFileLastChangedWellBeforeTheReadIsSettled) {
    const Int64 read = 1'700'000'000 * Second;
    EXPECT_TRUE(GS::StoreFile::IsSettled(StampAt(read - 5 * Second, read - 5 * Second), read));
    EXPECT_TRUE(GS::StoreFile::IsSettled(GS::StoreFile::Stamp{}, read));
}

TEST(StoreFileSettling, TheWallClockIsTheOneFilesAreStampedWith) {
    const Int64 before = GS::StoreFile::WallClockNow();
    HostTestSupport::TempFolder folder;
    folder.WriteFile("stamped", "x");
    const GS::StoreFile::Stamp stamp = GS::StoreFile::GetStamp((folder.Path() / "stamped").string());
    const Int64 modified = stamp.modifiedSeconds * Second + stamp.modifiedNanoseconds;
    // Files are stamped by a coarser clock that may lag a tick behind; a minute is no tick.
    EXPECT_GT(modified, before - 60 * Second);
    EXPECT_LT(modified, GS::StoreFile::WallClockNow() + 60 * Second);
}
