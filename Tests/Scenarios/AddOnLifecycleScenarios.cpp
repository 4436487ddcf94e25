#include "ScenarioHarness.hpp"

using namespace Scenarios;

namespace {

constexpr int NotInitialised = static_cast<int>(0x81060001u);
constexpr int MissingSlot = static_cast<int>(0x81060387u);
const std::string AddOnText = "VELD Engineer In-Out: Export/Import add-on";

bool HasAbnormalTerminationLine(const Json& debugEvent) {
    return debugEvent["text"].get<std::string>().starts_with("Abnormal add-on termination (\"");
}

int CountAbnormalTerminationLines(const HostSimRun& run) {
    int count = 0;
    for (const Json& line : run.EventsNamed("debug")) {
        count += HasAbnormalTerminationLine(line) ? 1 : 0;
    }
    return count;
}

} // namespace

TEST_F(ScenarioTest, DescribeGivesTheSameNameAndDescriptionFromTheModule) {
    HostSimRun run = RunHostSim("quit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    Json describe = run.Entry("describe");
    EXPECT_EQ(describe["result"], 1);
    EXPECT_EQ(describe["addOnName"], AddOnText);
    EXPECT_EQ(describe["addOnDescription"], AddOnText);
}

TEST_F(ScenarioTest, ExportsHandTheAgreedRecord) {
    HostSimRun run = RunHostSim("");
    ASSERT_EQ(run.EventsNamed("exports").size(), 1u);
    Json exports = run.EventsNamed("exports").front();
    EXPECT_EQ(exports["interfaceVersion"], "0x001A0001");
    EXPECT_EQ(exports["platformCode"], 26000);
    EXPECT_EQ(exports["reservedZero"], true)
        << "hostsim pre-fills the buffer; every reserved byte must be written";
    EXPECT_EQ(run.Entry("SetImportedFuncAddrs")["result"], 0);
}

TEST_F(ScenarioTest, WithoutAnInstallationRegisterOffersNoMenuAndStartStillInstallsTheHandler) {
    HostSimRun run = RunHostSim("quit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.Entry("register")["result"], 0);
    EXPECT_TRUE(run.HostCalls("HostMenuRegister").empty());
    EXPECT_TRUE(run.EventsNamed("menu-register").empty());

    EXPECT_EQ(run.Entry("start")["result"], 0);
    std::vector<Json> installs = run.HostCalls("HostMenuHandlerInstall");
    ASSERT_EQ(installs.size(), 1u);
    EXPECT_EQ(installs[0]["arguments"]["menuList"], 32500);
    EXPECT_EQ(installs[0]["token"], run.Entry("start")["token"]);
    EXPECT_EQ(installs[0]["result"], 0);
}

TEST_F(ScenarioTest, WithAnInstallationRegisterOffersTheMenuOfTheModulesLists) {
    RegisterInstallation();
    HostSimRun run = RunHostSim("quit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<Json> registrations = run.HostCalls("HostMenuRegister");
    ASSERT_EQ(registrations.size(), 1u);
    EXPECT_EQ(registrations[0]["arguments"],
              (Json{{"menuList", 32500}, {"promptList", 32600}, {"menuCode", 18}, {"flags", 0}}));
    EXPECT_FALSE(registrations[0].contains("token"));
    EXPECT_EQ(registrations[0]["result"], 0);
    EXPECT_EQ(run.Entry("register")["result"], 0);

    ASSERT_EQ(run.EventsNamed("menu-register").size(), 1u);
    Json menu = run.EventsNamed("menu-register").front();
    EXPECT_EQ(menu["menuTexts"],
              (Json{"VELD Engineer Connection", "Open in VELD Engineer...^ES^E3^ED^EM^10001",
                    "VELD Engineer Export Settings...^ES^E3^ED^EM^10001"}));
    EXPECT_EQ(menu["promptTexts"], (Json{"VELD Engineer Connection", "Open in VELD Engineer...",
                                         "VELD Engineer Export Settings..."}));
    EXPECT_NE(run.errors.find("menu 32500 1"), std::string::npos) << "the menu is shown to the person too";

    ASSERT_EQ(run.HostCalls("HostMenuHandlerInstall").size(), 1u);
    EXPECT_EQ(run.HostCalls("HostMenuHandlerInstall")[0]["arguments"]["menuList"], 32500);
}

TEST_F(ScenarioTest, ANormalRunReleasesBeforeUnloadingAndLeavesNoAbnormalTerminationLine) {
    HostSimRun run = RunHostSim("quit\n");
    EXPECT_EQ(run.Entry("release")["result"], 0);
    ASSERT_EQ(run.EventsNamed("module-unload").size(), 1u);
    EXPECT_EQ(run.EventsNamed("module-unload")[0]["released"], true);
    EXPECT_EQ(run.EventsNamed("module-unload")[0]["stillMapped"], false);
    EXPECT_EQ(CountAbnormalTerminationLines(run), 0);
    EXPECT_TRUE(run.EventsNamed("lifecycle-violation").empty());
}

TEST_F(ScenarioTest, UnloadingWithoutReleaseWritesTheAbnormalTerminationLineOnce) {
    HostSimRun run = RunHostSim("quit\n", {"--no-release"});
    EXPECT_TRUE(run.EventsWhere("entry", "name", "release").empty());
    ASSERT_EQ(CountAbnormalTerminationLines(run), 1) << run.errors;
    for (const Json& line : run.EventsNamed("debug")) {
        if (HasAbnormalTerminationLine(line)) {
            const std::string text = line["text"];
            EXPECT_NE(text.find("VELDEngineerConnection.apx\")"), std::string::npos) << text;
            EXPECT_EQ(line["module"], "VELDEngineerConnection");
        }
    }
    EXPECT_EQ(run.EventsNamed("module-unload")[0]["released"], false);
}

TEST_F(ScenarioTest, EntryPointsBeforeTheTableAnswerWithoutDoingAnything) {
    RegisterInstallation();
    HostSimRun run = RunHostSim("quit\n", {"--entry-before-table"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<Json> early;
    for (const Json& entry : run.EventsNamed("entry")) {
        if (entry.value("beforeTable", false)) {
            early.push_back(entry);
        }
    }
    ASSERT_EQ(early.size(), 4u);
    EXPECT_EQ(early[0]["name"], "describe");
    EXPECT_EQ(early[0]["result"], 0);
    EXPECT_EQ(early[0]["addOnName"], "") << "describe before the table leaves the record alone";
    for (std::size_t index = 1; index < 4; ++index) {
        EXPECT_EQ(early[index]["result"], NotInitialised) << early[index]["name"];
    }
    // The normal life follows: one menu registration and one handler, both from the later calls.
    EXPECT_EQ(run.HostCalls("HostMenuRegister").size(), 1u);
    EXPECT_EQ(run.HostCalls("HostMenuHandlerInstall").size(), 1u);
    EXPECT_EQ(run.Entry("start")["result"], 0);
    EXPECT_TRUE(run.EventsNamed("lifecycle-violation").empty());
    EXPECT_EQ(CountAbnormalTerminationLines(run), 0);
}

TEST_F(ScenarioTest, AnEmptyMenuRegisterSlotMakesRegisterFailWithTheMissingSlotCode) {
    RegisterInstallation();
    HostSimRun run = RunHostSim("quit\n", {"--empty-slot", "MenuRegister"});
    EXPECT_EQ(run.Entry("register")["result"], MissingSlot);
    EXPECT_TRUE(run.HostCalls("HostMenuRegister").empty()) << "an empty slot is never called";
    EXPECT_TRUE(run.EventsNamed("menu-register").empty());
}

TEST_F(ScenarioTest, AFailedHandlerInstallIsStartsAnswer) {
    HostSimRun run = RunHostSim("quit\n", {"--fail", "MenuHandlerInstall=5"});
    EXPECT_EQ(run.Entry("start")["result"], 5);
    std::vector<Json> installs = run.HostCalls("HostMenuHandlerInstall");
    ASSERT_EQ(installs.size(), 1u);
    EXPECT_EQ(installs[0]["injected"], true);
    EXPECT_EQ(installs[0]["result"], 5);
    EXPECT_TRUE(run.EventsWhere("menu", "list", 32500).empty());
    // Start was called, so the host still closes the bracket with release.
    EXPECT_EQ(run.Entry("release")["result"], 0);
    EXPECT_EQ(CountAbnormalTerminationLines(run), 0);
}

TEST_F(ScenarioTest, AFailingRegistryLookupLooksLikeNoInstallation) {
    RegisterInstallation();
    HostSimRun run = RunHostSim("quit\n", {"--fail", "GSPref::OpenRootKey=-1"});
    EXPECT_EQ(run.Entry("register")["result"], 0);
    EXPECT_TRUE(run.HostCalls("HostMenuRegister").empty());
    std::vector<Json> opens = run.EventsWhere("library-call", "op", "GSPref::OpenRootKey");
    ASSERT_FALSE(opens.empty());
    EXPECT_EQ(opens[0]["injected"], -1);
    EXPECT_EQ(opens[0]["module"], "VELDEngineerConnection");
}
