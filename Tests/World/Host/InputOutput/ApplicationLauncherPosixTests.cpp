#include "LauncherTestFixture.hpp"

using LauncherTest::Launch;
using ApplicationLauncherPosixTest = LauncherTest::Fixture;

// Quotes and backslashes are ordinary name characters on POSIX; no shell ever sees the path.
TEST_F(ApplicationLauncherPosixTest, AProgramWhoseFolderHoldsQuotesAndBackslashesStarts) {
    const std::filesystem::path folder = temp.Path() / "VELD \"Engineer\" back\\slash $HOME `x`";
    std::filesystem::create_directories(folder);
    const std::filesystem::path program = folder / "it's \"Veld\".exe";
    std::filesystem::copy_file(Probe(), program);

    ASSERT_EQ(Launch(program, {"/tmp/ACToVELDEngineer.xlsx"}), NoError);
    EXPECT_EQ(AwaitRecord().arguments, std::vector<std::string>{"/tmp/ACToVELDEngineer.xlsx"});
}

TEST_F(ApplicationLauncherPosixTest, AFileWithoutTheExecuteBitIsNotStartedEvenForAnAdministrator) {
    std::filesystem::copy_file(Probe(), temp.Path() / "VeldEngineer.exe");
    std::filesystem::permissions(temp.Path() / "VeldEngineer.exe",
                                 std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec |
                                     std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::remove);
    EXPECT_EQ(Launch(temp.Path() / "VeldEngineer.exe", {}), GSErr::IOError);
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
}
