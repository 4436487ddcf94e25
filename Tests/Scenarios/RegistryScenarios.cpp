#include "ScenarioHarness.hpp"

using namespace Scenarios;

namespace {

const std::string MalformedHive = "Windows Registry Editor Version 5.00\r\n"
                                  "\r\n"
                                  "\"InstallDir\"=\"C:\\\\nowhere\"\r\n";

} // namespace

TEST_F(ScenarioTest, TheRegistryCommandWritesReadsAndDeletesValues) {
    const std::string key = "HKLM\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\24";
    ASSERT_EQ(RunRegistry({"set-string", key, "InstallDir", "/opt/VELD Engineer \"24\""}).exitCode, 0);
    ProcessResult read =
        RunRegistry({"get", "hkey_local_machine\\software\\veld\\installer\\veldengineer\\24", "installdir"});
    EXPECT_EQ(read.exitCode, 0) << read.errors;
    EXPECT_EQ(read.output, "/opt/VELD Engineer \"24\"\n");
    EXPECT_TRUE(std::filesystem::exists(home / "Registry" / "LocalMachine.reg"));

    ASSERT_EQ(RunRegistry({"delete-value", key, "InstallDir"}).exitCode, 0);
    ProcessResult gone = RunRegistry({"get", key, "InstallDir"});
    EXPECT_NE(gone.exitCode, 0);
    EXPECT_NE(gone.errors.find("no string value"), std::string::npos) << gone.errors;
}

TEST_F(ScenarioTest, TheCurrentUserHiveIsItsOwnFile) {
    ASSERT_EQ(RunRegistry({"set-dword", "HKCU\\Software\\Host\\Dialogs", "Width", "0x2A"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(home / "Registry" / "CurrentUser.reg"));
    EXPECT_FALSE(std::filesystem::exists(home / "Registry" / "LocalMachine.reg"));
    ASSERT_EQ(RunRegistry({"delete-key", "HKCU\\Software\\Host"}).exitCode, 0);
}

TEST_F(ScenarioTest, AMalformedRegistryFileIsReportedWithFileAndLineAndNeverOverwritten) {
    const std::filesystem::path hive = home / "Registry" / "LocalMachine.reg";
    std::filesystem::create_directories(hive.parent_path());
    WriteFile(hive, MalformedHive);

    ProcessResult write = RunRegistry({"set-string", "HKLM\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\23",
                                       "InstallDir", installFolder.string()});
    EXPECT_NE(write.exitCode, 0);
    const std::size_t first = write.errors.find("LocalMachine.reg:3: ");
    ASSERT_NE(first, std::string::npos) << write.errors;
    EXPECT_EQ(write.errors.find("LocalMachine.reg:3: ", first + 1), std::string::npos) << "reported once";
    EXPECT_EQ(ReadFile(hive), MalformedHive);

    HostSimRun run = RunHostSim("quit\n");
    EXPECT_EQ(run.Entry("register")["result"], 0);
    EXPECT_TRUE(run.HostCalls("HostMenuRegister").empty()) << "an unreadable registry holds no installation";
    bool reported = false;
    for (const Json& line : run.EventsNamed("debug")) {
        reported =
            reported || line["text"].get<std::string>().find("LocalMachine.reg:3") != std::string::npos;
    }
    EXPECT_TRUE(reported) << run.errors;
    EXPECT_EQ(ReadFile(hive), MalformedHive);
}

TEST_F(ScenarioTest, RegistryCommandMistakesAreUsageErrors) {
    ProcessResult result = RunRegistry({"set-string", "SOFTWARE\\VELD", "InstallDir", "x"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.errors.find("is not a key below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER"),
              std::string::npos);
}
