#include "GSPrefTestFixture.hpp"
#include "MemoryManager.hpp"

using GSPref::RootKeyDomain;
using HostTestSupport::RecordingMonitor;

namespace {

const std::string TwoInstallations = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\2023]\n"
                                     "\"InstallDir\"=\"/opt/VELD 2023\"\n"
                                     "\n"
                                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\2024]\n"
                                     "\"InstallDir\"=\"/opt/VELD Ü 2024\"\n";

// Closes on every path, as the add-on's own code does.
class OpenedRoot {
public:
    OpenedRoot(RootKeyDomain domain, const char* keyPath) : root(GSPref::OpenRootKey(domain, keyPath)) {}
    ~OpenedRoot() { GSPref::CloseRootKey(&root); }
    OpenedRoot(const OpenedRoot&) = delete;
    OpenedRoot& operator=(const OpenedRoot&) = delete;
    GSPref::IRoot* operator->() const { return root; }
    GSPref::IRoot& operator*() const { return *root; }
    explicit operator bool() const { return root != nullptr; }

private:
    GSPref::IRoot* root;
};

} // namespace

using GSPrefReading = GSPrefStoreTest;

TEST_F(GSPrefReading, FindsTheInstallationsAndTheirFolders) {
    WriteLocalMachine(TwoInstallations);
    OpenedRoot root(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD");
    ASSERT_TRUE(root);
    EXPECT_EQ(SubKeys(*root, "Installer\\VeldEngineer"), (std::vector<std::string>{"2023", "2024"}));
    EXPECT_EQ(ReadString(*root, "Installer\\VeldEngineer\\2024", "InstallDir"), "/opt/VELD Ü 2024");
    EXPECT_EQ(ReadString(*root, "installer\\veldengineer\\2023", "installdir"), "/opt/VELD 2023");
}

TEST_F(GSPrefReading, SubKeysComeInTheOrderWindowsGivesThem) {
    WriteLocalMachine("[HKEY_LOCAL_MACHINE\\R\\b]\n[HKEY_LOCAL_MACHINE\\R\\A]\n[HKEY_LOCAL_MACHINE\\R\\Z]\n"
                      "[HKEY_LOCAL_MACHINE\\R\\a1]\n[HKEY_LOCAL_MACHINE\\R\\_]\n");
    OpenedRoot root(RootKeyDomain::LocalMachine, "R");
    ASSERT_TRUE(root);
    EXPECT_EQ(SubKeys(*root, ""), (std::vector<std::string>{"A", "a1", "b", "Z", "_"}));
}

TEST_F(GSPrefReading, MissingKeysAndKeysWithoutSubKeysReportNothing) {
    WriteLocalMachine(TwoInstallations);
    OpenedRoot root(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD");
    ASSERT_TRUE(root);
    GSErrCode code = NoError;
    EXPECT_TRUE(SubKeys(*root, "Installer\\Missing", &code).empty());
    EXPECT_EQ(code, GSErr::NotFound);
    EXPECT_TRUE(SubKeys(*root, "Installer\\VeldEngineer\\2024", &code).empty());
    EXPECT_EQ(code, NoError);
}

TEST_F(GSPrefReading, AMissingValueGivesTheDefault) {
    WriteLocalMachine(TwoInstallations + "\"Build\"=dword:00000007\n");
    OpenedRoot root(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD");
    ASSERT_TRUE(root);
    GSErrCode code = NoError;
    EXPECT_EQ(ReadString(*root, "Installer\\VeldEngineer\\2024", "Missing", &code), "");
    EXPECT_EQ(code, GSErr::NotFound);

    GS::UniString value("stale");
    const GS::UniString fallback("fallback");
    EXPECT_EQ(root->ReadStringValue("Installer\\VeldEngineer\\2024", "Build", value, fallback, 0),
              GSErr::NotFound);
    EXPECT_EQ(value, fallback); // a number is no string value
    EXPECT_EQ(root->ReadStringValue("No\\Such\\Key", "InstallDir", value, fallback, 0), GSErr::NotFound);
    EXPECT_EQ(value, fallback);
}

TEST_F(GSPrefReading, OpeningAMissingKeyGivesNullAndClosingNullIsFine) {
    WriteLocalMachine(TwoInstallations);
    GSPref::IRoot* root = GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "SOFTWARE\\Other");
    EXPECT_EQ(root, nullptr);
    GSPref::CloseRootKey(&root);
    GSPref::CloseRootKey(nullptr);
    EXPECT_EQ(GSPref::OpenRootKey(RootKeyDomain::CurrentUser, "SOFTWARE\\VELD"), nullptr);
    EXPECT_EQ(GSPref::OpenRootKey(static_cast<RootKeyDomain>(3), "SOFTWARE\\VELD"), nullptr);
    EXPECT_EQ(GSPref::OpenRootKey(RootKeyDomain::LocalMachine, nullptr), nullptr);
}

TEST_F(GSPrefReading, WithoutAStoreFolderNothingOpens) {
    WriteLocalMachine(TwoInstallations);
    GSPref::SetStoreFolder("");
    EXPECT_EQ(GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD"), nullptr);
    EXPECT_EQ(GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "K", "N", GS::UniString("v")),
              GSErr::IOError);
    EXPECT_EQ(GSPref::GetStoreDiagnostic(RootKeyDomain::LocalMachine),
              GS::UniString("the registry store folder is not set"));
}

TEST_F(GSPrefReading, StringsGoToTheCallersOwnerAndTheStoreToTheHost) {
    WriteLocalMachine(TwoInstallations);
    const GS::MemoryOwner addOn = GS::MemoryManager::RegisterOwner("add-on");
    {
        GS::MemoryOwnerScope scope(addOn);
        GS::UniString installDir;
        {
            OpenedRoot root(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD");
            ASSERT_TRUE(root);
            SubKeys(*root, "Installer\\VeldEngineer");
            root->ReadStringValue("Installer\\VeldEngineer\\2024", "InstallDir", installDir, installDir, 0);
        }
        EXPECT_EQ(GS::MemoryManager::GetLiveBlockCount(addOn), 1u); // the value read, nothing else
    }
    EXPECT_EQ(GS::MemoryManager::GetLiveBlockCount(addOn), 0u);
}

using GSPrefWriting = GSPrefStoreTest;

TEST_F(GSPrefWriting, WrittenValuesReadBackAndLandInTheFile) {
    ASSERT_EQ(GSPref::WriteStringValue(RootKeyDomain::LocalMachine,
                                       "SOFTWARE\\VELD\\Installer\\VeldEngineer\\1.0", "InstallDir",
                                       GS::UniString("C:\\VELD \"1\"")),
              NoError);
    ASSERT_EQ(GSPref::WriteDWordValue(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD", "Count", 42), NoError);
    EXPECT_EQ(folder.ReadFile("LocalMachine.reg"),
              Hive("[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD]\n\"Count\"=dword:0000002a\n\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer]\n\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer]\n\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\1.0]\n"
                   "\"InstallDir\"=\"C:\\\\VELD \\\"1\\\"\"\n\n"));
    OpenedRoot root(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD");
    ASSERT_TRUE(root);
    EXPECT_EQ(ReadString(*root, "Installer\\VeldEngineer\\1.0", "InstallDir"), "C:\\VELD \"1\"");
}

TEST_F(GSPrefWriting, EachDomainHasItsOwnFile) {
    ASSERT_EQ(
        GSPref::WriteStringValue(RootKeyDomain::CurrentUser, "Software\\Host", "Name", GS::UniString("user")),
        NoError);
    EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"CurrentUser.reg"});
    EXPECT_EQ(
        folder.ReadFile("CurrentUser.reg"),
        Hive("[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Host]\n\"Name\"=\"user\"\n\n"));
    EXPECT_EQ(GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "Software\\Host"), nullptr);
}

TEST_F(GSPrefWriting, RewritingANameInAnotherCaseKeepsTheFirstCase) {
    GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD", "InstallDir",
                             GS::UniString("one"));
    GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "software\\veld", "INSTALLDIR",
                             GS::UniString("two"));
    EXPECT_EQ(folder.ReadFile("LocalMachine.reg"),
              Hive("[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD]\n\"InstallDir\"="
                   "\"two\"\n\n"));
}

TEST_F(GSPrefWriting, BinaryValuesReadBackWholeOrCut) {
    const UInt8 bytes[5] = {1, 2, 3, 0, 0xff};
    ASSERT_EQ(GSPref::WriteBinaryValue(RootKeyDomain::CurrentUser, "Software\\Host\\DG", "Dialog", bytes, 5),
              NoError);
    UInt8 whole[8] = {};
    GSSize size = 0;
    ASSERT_EQ(
        GSPref::ReadBinaryValue(RootKeyDomain::CurrentUser, "Software\\Host\\DG", "dialog", whole, 8, &size),
        NoError);
    EXPECT_EQ(size, 5);
    EXPECT_EQ(std::vector<UInt8>(whole, whole + 5), std::vector<UInt8>(bytes, bytes + 5));
    UInt8 cut[2] = {};
    ASSERT_EQ(
        GSPref::ReadBinaryValue(RootKeyDomain::CurrentUser, "Software\\Host\\DG", "Dialog", cut, 2, &size),
        NoError);
    EXPECT_EQ(size, 5);
    EXPECT_EQ(cut[1], 2);
    EXPECT_EQ(
        GSPref::ReadBinaryValue(RootKeyDomain::CurrentUser, "Software\\Host\\DG", "Other", cut, 2, &size),
        GSErr::NotFound);
    GSPref::WriteDWordValue(RootKeyDomain::CurrentUser, "Software\\Host\\DG", "Number", 1);
    EXPECT_EQ(
        GSPref::ReadBinaryValue(RootKeyDomain::CurrentUser, "Software\\Host\\DG", "Number", cut, 2, &size),
        GSErr::NotFound);
}

TEST_F(GSPrefWriting, DeletingValuesAndWholeKeys) {
    WriteLocalMachine(TwoInstallations);
    EXPECT_EQ(GSPref::DeleteValue(RootKeyDomain::LocalMachine,
                                  "SOFTWARE\\VELD\\Installer\\VeldEngineer\\2023", "installdir"),
              NoError);
    EXPECT_EQ(GSPref::DeleteValue(RootKeyDomain::LocalMachine,
                                  "SOFTWARE\\VELD\\Installer\\VeldEngineer\\2023", "InstallDir"),
              GSErr::NotFound);
    EXPECT_EQ(GSPref::DeleteKey(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD\\INSTALLER"), NoError);
    EXPECT_EQ(GSPref::DeleteKey(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD\\Installer"), GSErr::NotFound);
    EXPECT_EQ(GSPref::DeleteKey(RootKeyDomain::LocalMachine, ""), GSErr::BadParameter);
    EXPECT_EQ(folder.ReadFile("LocalMachine.reg"),
              Hive("[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD]\n\n"));
}

TEST_F(GSPrefWriting, NamesWithControlCharactersAreRefused) {
    EXPECT_EQ(GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "A\nB", "N", GS::UniString("v")),
              GSErr::BadParameter);
    EXPECT_EQ(GSPref::WriteStringValue(RootKeyDomain::LocalMachine, "A", "N\t", GS::UniString("v")),
              GSErr::BadParameter);
    EXPECT_TRUE(folder.FileNames().empty());
}

using GSPrefMonitoring = GSPrefStoreTest;

TEST_F(GSPrefMonitoring, EveryCallIsReportedWithReadableArguments) {
    WriteLocalMachine(TwoInstallations);
    RecordingMonitor monitor;
    GSPref::IRoot* root = GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD");
    ASSERT_NE(root, nullptr);
    SubKeys(*root, "Installer\\VeldEngineer");
    ReadString(*root, "Installer\\VeldEngineer\\2024", "InstallDir");
    GSPref::CloseRootKey(&root);
    GSPref::CloseRootKey(&root);

    ASSERT_EQ(monitor.calls.size(), 5u);
    EXPECT_EQ(monitor.calls[0].operation, "GSPref::OpenRootKey");
    EXPECT_EQ(monitor.calls[0].details, "domain=2 key=\"SOFTWARE\\\\VELD\"");
    EXPECT_EQ(monitor.calls[1].operation, "GSPref::EnumerateSubKeys");
    EXPECT_EQ(monitor.calls[1].details,
              "domain=2 root=\"SOFTWARE\\\\VELD\" key=\"Installer\\\\VeldEngineer\"");
    EXPECT_EQ(monitor.calls[2].operation, "GSPref::ReadStringValue");
    EXPECT_EQ(
        monitor.calls[2].details,
        "domain=2 root=\"SOFTWARE\\\\VELD\" key=\"Installer\\\\VeldEngineer\\\\2024\" value=\"InstallDir\"");
    EXPECT_EQ(monitor.calls[3].operation, "GSPref::CloseRootKey");
    EXPECT_EQ(monitor.calls[3].details, "domain=2 root=\"SOFTWARE\\\\VELD\"");
    EXPECT_EQ(monitor.calls[4].details, "root=null");

    ASSERT_EQ(monitor.results.size(), 5u);
    EXPECT_EQ(monitor.results[0].details, "opened");
    EXPECT_EQ(monitor.results[1].details, "code=0 count=2");
    EXPECT_EQ(monitor.results[2].details, "code=0 value=\"/opt/VELD Ü 2024\"");
}

TEST_F(GSPrefMonitoring, AFailedOpenGivesNullEvenForAnExistingKey) {
    WriteLocalMachine(TwoInstallations);
    RecordingMonitor monitor;
    monitor.failures["GSPref::OpenRootKey"] = GSErr::IOError;
    EXPECT_EQ(GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD"), nullptr);
    ASSERT_EQ(monitor.results.size(), 1u);
    EXPECT_EQ(monitor.results[0].details, "null code=" + std::to_string(GSErr::IOError));
}

TEST_F(GSPrefMonitoring, AFailedEnumerationReportsNothingAndReturnsTheCode) {
    WriteLocalMachine(TwoInstallations);
    OpenedRoot root(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD");
    ASSERT_TRUE(root);
    RecordingMonitor monitor;
    monitor.failures["GSPref::EnumerateSubKeys"] = GSErr::BadData;
    GSErrCode code = NoError;
    EXPECT_TRUE(SubKeys(*root, "Installer\\VeldEngineer", &code).empty());
    EXPECT_EQ(code, GSErr::BadData);
}

TEST_F(GSPrefMonitoring, AFailedReadStoresTheDefaultAndReturnsTheCode) {
    WriteLocalMachine(TwoInstallations);
    OpenedRoot root(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD");
    ASSERT_TRUE(root);
    RecordingMonitor monitor;
    monitor.failures["GSPref::ReadStringValue"] = GSErr::NotFound;
    GS::UniString value("before");
    const GS::UniString fallback("fallback");
    EXPECT_EQ(root->ReadStringValue("Installer\\VeldEngineer\\2024", "InstallDir", value, fallback, 0),
              GSErr::NotFound);
    EXPECT_EQ(value, fallback);
}

TEST_F(GSPrefMonitoring, CloseCannotFailButIsReported) {
    WriteLocalMachine(TwoInstallations);
    RecordingMonitor monitor;
    monitor.failures["GSPref::CloseRootKey"] = GSErr::Generic;
    GSPref::IRoot* root = GSPref::OpenRootKey(RootKeyDomain::LocalMachine, "SOFTWARE\\VELD");
    GSPref::CloseRootKey(&root);
    EXPECT_EQ(root, nullptr);
    EXPECT_EQ(monitor.CallsOf("GSPref::CloseRootKey").size(), 1u);
}
