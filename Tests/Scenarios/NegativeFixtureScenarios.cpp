#include "ScenarioHarness.hpp"

using namespace Scenarios;

namespace {

std::string RejectionReason(const HostSimRun& run, const std::string& module) {
    std::vector<Json> rejected = run.EventsWhere("module-rejected", "module", module);
    EXPECT_EQ(rejected.size(), 1u) << module;
    return rejected.empty() ? std::string() : rejected[0]["reason"].get<std::string>();
}

} // namespace

TEST_F(ScenarioTest, BrokenModulesAreNamedWithTheirFaultAndTheGoodOneAfterThemStillRuns) {
    RegisterInstallation();
    HostSimRun run =
        RunHostSimOn({MISSING_EXPORT_FIXTURE, WRONG_RECORD_FIXTURE, AddOnModulePath()}, "menu 32500 3\n");
    EXPECT_EQ(run.exitCode, 1) << "a run with unusable modules does not count as clean";

    EXPECT_EQ(RejectionReason(run, "MissingExportFixture"),
              "the module does not export SetImportedFuncAddrs");
    EXPECT_EQ(RejectionReason(run, "WrongRecordFixture"),
              "entry-point record starts with 0x001A0002, expected 0x001A0001");
    EXPECT_NE(run.errors.find("MissingExportFixture"), std::string::npos);
    EXPECT_NE(run.errors.find("does not export SetImportedFuncAddrs"), std::string::npos);
    EXPECT_NE(run.errors.find("WrongRecordFixture"), std::string::npos);
    EXPECT_NE(run.errors.find("0x001A0002"), std::string::npos);
    for (const char* refused : {"MissingExportFixture", "WrongRecordFixture"}) {
        EXPECT_TRUE(run.EventsWhere("entry", "module", refused).empty())
            << refused << " must never be called";
        EXPECT_EQ(run.EventsWhere("module-unload", "module", refused).size(), 1u) << refused;
    }

    EXPECT_EQ(run.Entry("start")["result"], 0);
    EXPECT_EQ(run.HostCalls("HostMenuRegister").size(), 1u);
    ASSERT_EQ(run.EventsNamed("menu").size(), 1u);
    EXPECT_EQ(run.EventsNamed("menu")[0]["module"], "VELDEngineerConnection");
}

TEST_F(ScenarioTest, AFileThatIsNoModuleIsReportedWithTheLoadersReason) {
    const std::filesystem::path broken = root / "NotAModule.apx";
    WriteFile(broken, "this is text, not a module");
    HostSimRun run = RunHostSimOn({broken.string(), AddOnModulePath()}, "");
    EXPECT_EQ(run.exitCode, 1);
    std::vector<Json> loads = run.EventsWhere("module-load", "module", "NotAModule");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0]["result"], "failed");
    EXPECT_FALSE(loads[0]["reason"].get<std::string>().empty());
    EXPECT_NE(run.errors.find("cannot load NotAModule"), std::string::npos);
    EXPECT_EQ(run.Entry("start")["result"], 0);
}

TEST_F(ScenarioTest, TheAddOnsFolderIsLoadedInNameOrder) {
    const std::filesystem::path folder = root / "Add-Ons";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(AddOnModulePath(), folder / "B.apx");
    std::filesystem::copy_file(WRONG_RECORD_FIXTURE, folder / "A.apx");
    WriteFile(folder / "C.txt", "not an add-on");
    HostSimRun run = RunHostSimOn({}, "", {"--addons", folder.string()});
    std::vector<Json> loads = run.EventsNamed("module-load");
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[0]["module"], "A");
    EXPECT_EQ(loads[1]["module"], "B");
    EXPECT_EQ(run.EventsWhere("entry", "module", "B").size(), 5u)
        << "table, describe, register, start, release";
}

TEST_F(ScenarioTest, WithoutModulesTheInstallationsRegisteredAddOnsFolderIsLoaded) {
    const std::filesystem::path folder = root / "Installed Add-Ons";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(AddOnModulePath(), folder / "Installed.apx");
    // Another host version's installation is not this hostsim's.
    const std::filesystem::path otherFolder = root / "Other Add-Ons";
    std::filesystem::create_directories(otherFolder);
    std::filesystem::copy_file(AddOnModulePath(), otherFolder / "Other.apx");
    for (const auto& [version, registered] : {std::pair{"27", folder}, std::pair{"26", otherFolder}}) {
        ProcessResult result = RunRegistry({"set-string", std::string("HKLM\\SOFTWARE\\HostSim\\") + version,
                                            "AddOnsFolder", PathText(registered)});
        ASSERT_EQ(result.exitCode, 0) << result.errors;
    }

    HostSimRun installed = RunHostSimOn({}, "");
    std::vector<Json> loads = installed.EventsNamed("module-load");
    ASSERT_EQ(loads.size(), 1u) << installed.errors;
    EXPECT_EQ(loads[0]["module"], "Installed");
    EXPECT_EQ(loads[0]["result"], "loaded");
    EXPECT_EQ(installed.exitCode, 0) << installed.errors;

    // A module named on the command line is the whole choice: the installation's folder stays unread.
    HostSimRun named = RunHostSimOn({AddOnModulePath()}, "");
    loads = named.EventsNamed("module-load");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0]["module"], "VELDEngineerConnection");
}

TEST_F(ScenarioTest, TheHostCatchesForgedTokensMenusOutsideRegisterAndLeftBlocks) {
    HostSimRun run = RunHostSimOn({MISBEHAVING_FIXTURE}, "menu 100 1\nmenu 100 2\n");
    EXPECT_EQ(run.exitCode, 1);
    std::vector<Json> violations = run.EventsWhere("lifecycle-violation", "module", "MisbehavingFixture");
    ASSERT_EQ(violations.size(), 2u) << run.errors;
    EXPECT_NE(violations[0]["message"].get<std::string>().find("HostMenuHandlerInstall with unknown token"),
              std::string::npos);
    EXPECT_EQ(violations[1]["message"],
              "HostMenuRegister outside the add-on's register call (add-on registered)");

    std::vector<Json> installs = run.HostCalls("HostMenuHandlerInstall");
    ASSERT_EQ(installs.size(), 2u);
    EXPECT_NE(installs[0]["result"], 0) << "a forged token is refused";
    EXPECT_EQ(installs[1]["result"], 0);
    EXPECT_NE(run.HostCalls("HostMenuRegister").at(0)["result"], 0);

    std::vector<Json> allocations = run.EventsWhere("allocations", "after", "menu");
    ASSERT_EQ(allocations.size(), 2u);
    EXPECT_EQ(allocations[0]["liveBlocks"], 1) << "the block left by item 1 is seen";
    EXPECT_EQ(allocations[1]["liveBlocks"], 0);
}
