#include "ScenarioHarness.hpp"

using namespace Scenarios;

TEST_F(ScenarioTest, TheRegistryCommandWritesReadsAndDeletesValues) {
    const std::string key = "HKLM\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\24";
    ASSERT_EQ(RunRegistry({"set-string", key, "InstallDir", "/opt/VELD Engineer \"24\""}).exitCode, 0);
    ProcessResult read =
        RunRegistry({"get", "hkey_local_machine\\software\\veld\\installer\\veldengineer\\24", "installdir"});
    EXPECT_EQ(read.exitCode, 0) << read.errors;
    EXPECT_EQ(read.output, "/opt/VELD Engineer \"24\"\n");

    ASSERT_EQ(RunRegistry({"delete-value", key, "InstallDir"}).exitCode, 0);
    ProcessResult gone = RunRegistry({"get", key, "InstallDir"});
    EXPECT_NE(gone.exitCode, 0);
    EXPECT_NE(gone.errors.find("no string value"), std::string::npos) << gone.errors;
}

TEST_F(ScenarioTest, RegistryCommandMistakesAreUsageErrors) {
    ProcessResult result = RunRegistry({"set-string", "SOFTWARE\\VELD", "InstallDir", "x"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.errors.find("is not a key below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER"),
              std::string::npos);
}
