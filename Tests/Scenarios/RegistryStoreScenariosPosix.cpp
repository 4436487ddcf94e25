// hostsim's registry on Linux: one store file per hive in the host's data folder.
#include "ScenarioHarness.hpp"

using namespace Scenarios;

namespace {

const std::string MalformedHive = "Windows Registry Editor Version 5.00\r\n"
                                  "\r\n"
                                  "\"InstallDir\"=\"C:\\\\nowhere\"\r\n";

} // namespace

TEST_F(ScenarioTest, TheLocalMachineHiveIsAFileInTheHome) {
    ASSERT_EQ(RunRegistry({"set-string", "HKLM\\SOFTWARE\\VELD", "Publisher", "VELD"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(home / "Registry" / "LocalMachine.reg"));
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

// A hive, or the folder holding the hives, marked read-only: each write says so in words, naming
// the file, and leaves the file as it was.
TEST_F(ScenarioTest, AWriteToAReadOnlyHiveIsRefusedInWords) {
    const std::filesystem::path folder = home / "Registry";
    const std::filesystem::path hive = folder / "LocalMachine.reg";
    const struct {
        std::vector<std::string> request;
        std::filesystem::path markedReadOnly;
        std::string said;
    } cases[] = {
        {{"set-string", "HKLM\\SOFTWARE\\VELD", "Publisher", "Other"}, hive, "it is marked read-only"},
        {{"set-dword", "HKLM\\SOFTWARE\\VELD", "Count", "7"}, hive, "it is marked read-only"},
        {{"delete-value", "HKLM\\SOFTWARE\\VELD", "Publisher"}, hive, "it is marked read-only"},
        {{"delete-key", "HKLM\\SOFTWARE\\VELD"}, hive, "it is marked read-only"},
        {{"set-string", "HKLM\\SOFTWARE\\VELD", "Publisher", "Other"},
         folder,
         "its folder " + folder.string() + " is marked read-only"},
    };
    std::filesystem::create_directories(folder);
    for (const auto& [request, markedReadOnly, said] : cases) {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        std::filesystem::remove(hive);
        ASSERT_EQ(RunRegistry({"set-string", "HKLM\\SOFTWARE\\VELD", "Publisher", "VELD"}).exitCode, 0);
        const std::string before = ReadFile(hive);
        std::filesystem::permissions(markedReadOnly,
                                     std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_write |
                                         std::filesystem::perms::others_write,
                                     std::filesystem::perm_options::remove);
        const ProcessResult run = RunRegistry(request);
        std::filesystem::permissions(markedReadOnly, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        EXPECT_EQ(run.exitCode, 1) << request[0];
        const std::string expected =
            "hostsim registry: " + request[0] + " failed: cannot write " + hive.string() + ": " + said;
        EXPECT_NE(run.errors.find(expected), std::string::npos) << request[0] << ": " << run.errors;
        EXPECT_EQ(ReadFile(hive), before) << request[0];
    }
}
