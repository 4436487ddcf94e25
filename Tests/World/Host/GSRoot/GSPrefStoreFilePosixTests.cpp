#include "GSPrefTestFixture.hpp"

#include <algorithm>
#include <filesystem>

using GSPref::RootKeyDomain;
using HostTestSupport::DebugCapture;

namespace {
const std::string Malformed =
    "Windows Registry Editor Version 5.00\n\n; hand-edited\n\n\n\n\"InstallDir\"=\"/opt\"\n";
} // namespace

using GSPrefStoreFile = GSPrefStoreTest;

TEST_F(GSPrefStoreFile, AMalformedFileFailsEveryCallAndNamesItsLine) {
    folder.WriteFile("LocalMachine.reg", Malformed);
    DebugCapture capture;
    EXPECT_EQ(GSPref::OpenRootKey(RootKeyDomain::LocalMachine, ""), nullptr);
    EXPECT_EQ(GSPref::GetStoreDiagnostic(RootKeyDomain::LocalMachine),
              GS::UniString("LocalMachine.reg:7: value line outside a key"));
    EXPECT_EQ(GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "SOFTWARE", "N", GS::UniString("v")),
              GSErr::BadData);
    EXPECT_EQ(GSPref::DeleteKey(RootKeyDomain::LocalMachine, "SOFTWARE"), GSErr::BadData);
    GSSize size = 0;
    EXPECT_EQ(GSPref::ReadBinaryValue(RootKeyDomain::LocalMachine, "SOFTWARE", "N", nullptr, 0, &size),
              GSErr::BadData);
    // The other domain is not affected.
    EXPECT_EQ(GSPref::WriteStringValue(RootKeyDomain::CurrentUser, "Software", "N", GS::UniString("v")),
              NoError);
    EXPECT_TRUE(GSPref::GetStoreDiagnostic(RootKeyDomain::CurrentUser).IsEmpty());
}

TEST_F(GSPrefStoreFile, AMalformedFileIsLeftByteForByteAsItWas) {
    const std::string original = "\xEF\xBB\xBF" + Malformed + "trailing junk \xFF\r\n";
    folder.WriteFile("LocalMachine.reg", original);
    const auto modified = std::filesystem::last_write_time(folder.Path() / "LocalMachine.reg");
    EXPECT_NE(
        GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD", "N", GS::UniString("v")),
        NoError);
    EXPECT_NE(GSPref::WriteDWordValue(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD", "N", 1), NoError);
    EXPECT_NE(GSPref::DeleteValue(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD", "N"), NoError);
    EXPECT_EQ(folder.ReadFile("LocalMachine.reg"), original);
    EXPECT_EQ(std::filesystem::last_write_time(folder.Path() / "LocalMachine.reg"), modified);
    EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"LocalMachine.reg"});
}

TEST_F(GSPrefStoreFile, TheDiagnosticIsPrintedOnceUntilTheFileChanges) {
    DebugCapture capture;
    folder.WriteFile("LocalMachine.reg", Malformed);
    GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "");
    GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "");
    GSPref::WriteDWordValue(RootKeyDomain::LocalMachine, "K", "N", 1);
    ASSERT_EQ(capture.texts.size(), 1u);
    EXPECT_EQ(capture.texts[0], "LocalMachine.reg:7: value line outside a key\n");

    folder.WriteFile("LocalMachine.reg", Hive("[HKEY_LOCAL_MACHINE\\K]\n\"N\"=dword:1\n"));
    GSPref::IRoot* root = GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "K");
    EXPECT_NE(root, nullptr);
    GSPref::CloseRootKey(&root);
    EXPECT_TRUE(GSPref::GetStoreDiagnostic(RootKeyDomain::LocalMachine).IsEmpty());

    folder.WriteFile("LocalMachine.reg", Hive("[HKEY_CURRENT_USER\\K]\n"));
    EXPECT_EQ(GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "K"), nullptr);
    ASSERT_EQ(capture.texts.size(), 2u);
    EXPECT_EQ(capture.texts[1], "LocalMachine.reg:3: key outside HKEY_LOCAL_MACHINE\n");
}

TEST_F(GSPrefStoreFile, ChangesByAnotherProcessAreSeenByAnOpenedKey) {
    WriteLocalMachine("[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\2023]\n");
    GSPref::IRoot* root = GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(SubKeys(*root, "Installer\\VeldEngineer"), std::vector<std::string>{"2023"});

    // What a separate registry tool does: replace the file.
    WriteLocalMachine("[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\2023]\n"
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\2025]\n"
                      "\"InstallDir\"=\"/opt/2025\"\n");
    EXPECT_EQ(SubKeys(*root, "Installer\\VeldEngineer"), (std::vector<std::string>{"2023", "2025"}));
    EXPECT_EQ(ReadString(*root, "Installer\\VeldEngineer\\2025", "InstallDir"), "/opt/2025");

    std::filesystem::remove(folder.Path() / "LocalMachine.reg");
    GSErrCode code = NoError;
    EXPECT_TRUE(SubKeys(*root, "Installer\\VeldEngineer", &code).empty());
    EXPECT_EQ(code, GSErr::NotFound);
    GSPref::CloseRootKey(&root);
}

TEST_F(GSPrefStoreFile, AWriteKeepsWhatAnotherProcessWroteBeforeIt) {
    GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "K", "Mine", GS::UniString("1"));
    WriteLocalMachine("[HKEY_LOCAL_MACHINE\\K]\n\"Mine\"=\"1\"\n\"Theirs\"=\"2\"\n");
    GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "K", "Later", GS::UniString("3"));
    EXPECT_EQ(folder.ReadFile("LocalMachine.reg"),
              Hive("[HKEY_LOCAL_MACHINE\\K]\n\"Mine\"=\"1\"\n\"Theirs\"=\"2\"\n\"Later\"=\"3\"\n\n"));
}

TEST_F(GSPrefStoreFile, WritesLeaveNoTemporaryFileBehind) {
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(GSPref::WriteDWordValue(RootKeyDomain::LocalMachine, "K", "N", static_cast<UInt32>(i)),
                  NoError);
        ASSERT_EQ(GSPref::WriteDWordValue(RootKeyDomain::CurrentUser, "K", "N", static_cast<UInt32>(i)),
                  NoError);
    }
    auto names = folder.FileNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"CurrentUser.reg", "LocalMachine.reg"}));
}

TEST_F(GSPrefStoreFile, AWriteThatFailsLeavesTheOldFileAndNoTemporaryFile) {
    WriteLocalMachine("[HKEY_LOCAL_MACHINE\\K]\n\"N\"=\"old\"\n");
    const std::string before = folder.ReadFile("LocalMachine.reg");
    // Read-only by its mark: the tests may run as root, who could write it anyway.
    std::filesystem::permissions(folder.Path() / "LocalMachine.reg", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_EQ(GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "K", "N", GS::UniString("new")),
              GSErr::IOError);
    EXPECT_EQ(folder.ReadFile("LocalMachine.reg"), before);

    std::filesystem::permissions(folder.Path() / "LocalMachine.reg", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_EQ(GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "K", "N", GS::UniString("new")),
              GSErr::IOError);
    EXPECT_EQ(folder.ReadFile("LocalMachine.reg"), before);
    EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"LocalMachine.reg"});
}

TEST_F(GSPrefStoreFile, AFolderThatDoesNotExistFailsWritesWithoutCreatingIt) {
    const std::string missing = folder.FilePath("missing");
    GSPref::SetStoreFolder(missing.c_str());
    EXPECT_EQ(GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "K", "N", GS::UniString("v")),
              GSErr::IOError);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(GSPrefStoreFile, AByteOrderMarkAndCrLfLinesAreRead) {
    folder.WriteFile("LocalMachine.reg", "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD]\r\n\"Name\"=\"value\"\r\n");
    GSPref::IRoot* root = GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ReadString(*root, "", "Name"), "value");
    GSPref::CloseRootKey(&root);
}
