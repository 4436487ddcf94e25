#include "ScenarioHarness.hpp"

#include <sstream>

using namespace Scenarios;

namespace {

std::vector<Json> LaunchLines(const std::filesystem::path& folder) {
    std::vector<Json> lines;
    std::istringstream text(ReadFile(folder / "VeldEngineer.launches.jsonl"));
    for (std::string line; std::getline(text, line);) {
        lines.push_back(Json::parse(line));
    }
    return lines;
}

} // namespace

TEST_F(ScenarioTest, VeldEngineerRecordsEachLaunchBesideItselfWithArgumentsIntact) {
    const std::filesystem::path exe = installFolder / "VeldEngineer.exe";
    const std::string workbook = "/tmp/out folder/\"Model\" \xC3\xA9t\xC3\xA9\\ACToVELDEngineer.xlsx";
    // Neither run hands over a workbook that exists: the program says so with exit code 2, and
    // records the launch all the same. A start without a workbook is a wrong command line, not a
    // launch: refused with 64 and not recorded.
    ProcessResult first = RunProcess({exe.string(), workbook}, root, root);
    ASSERT_EQ(first.exitCode, 2) << first.errors;
    ProcessResult second = RunProcess({exe.string(), "relative.xlsx"}, root, installFolder);
    ASSERT_EQ(second.exitCode, 2) << second.errors;
    ProcessResult bare = RunProcess({exe.string()}, root, installFolder);
    ASSERT_EQ(bare.exitCode, 64) << bare.errors;

    std::vector<Json> launches = LaunchLines(installFolder);
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0]["argv"], Json::array({workbook}));
    EXPECT_EQ(launches[0]["cwd"], std::filesystem::canonical(root).string());
    EXPECT_EQ(launches[1]["argv"], Json::array({"relative.xlsx"}));
    EXPECT_EQ(launches[1]["cwd"], std::filesystem::canonical(installFolder).string());
}
