#include "LauncherTestFixture.hpp"

using LauncherTest::Launch;
using ApplicationLauncherWindowsTest = LauncherTest::Fixture;

// Windows would hand a batch file to the command interpreter, which expands % and splits on & and |.
TEST_F(ApplicationLauncherWindowsTest, BatchFilesAreRefusedWhateverTheCaseOfTheirExtension) {
    for (const char* name : {"VeldEngineer.bat", "VeldEngineer.cmd", "VeldEngineer.BAT", "VeldEngineer.CMD",
                             "VeldEngineer.Bat"}) {
        temp.WriteFile(name, "echo ran > \"" + LauncherTest::Utf8Of(RecordFile()) + "\"\r\n");
        EXPECT_EQ(Launch(temp.Path() / name, {"a & b"}), GSErr::BadParameter) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
}
