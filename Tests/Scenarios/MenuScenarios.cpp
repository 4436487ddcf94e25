#include "ScenarioHarness.hpp"

using namespace Scenarios;

namespace {

// The events that happened for the n-th menu command: those after the previous menu event, or after
// the last entry point call before the first one.
std::vector<Json> EventsLeadingTo(const HostSimRun& run, std::size_t menuNumber) {
    std::vector<Json> between;
    std::size_t menusSeen = 0;
    for (const Json& event : run.events) {
        if (event["event"] == "menu") {
            if (menusSeen++ == menuNumber) {
                return between;
            }
            between.clear();
        } else if (event["event"] == "entry") {
            between.clear();
        } else {
            between.push_back(event);
        }
    }
    ADD_FAILURE() << "no menu event " << menuNumber;
    return {};
}

} // namespace

TEST_F(ScenarioTest, TheHandlerIgnoresOtherItemsAndOtherMenusWithZero) {
    RegisterInstallation();
    HostSimRun run = RunHostSim("menu 32500 3\n"
                                "menu 32500 0\n"
                                "menu 32500 -1\n"
                                "menu 32600 1 to 32500\n"
                                "quit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<Json> menus = run.EventsNamed("menu");
    ASSERT_EQ(menus.size(), 4u);
    for (std::size_t index = 0; index < menus.size(); ++index) {
        EXPECT_EQ(menus[index]["handled"], true);
        EXPECT_EQ(menus[index]["module"], "VELDEngineerConnection");
        EXPECT_EQ(menus[index]["result"], 0);
        for (const Json& event : EventsLeadingTo(run, index)) {
            EXPECT_NE(event["event"], "host-call")
                << "an ignored command asks nothing of the host: " << event;
        }
    }
    EXPECT_EQ(menus[3]["list"], 32600);
    EXPECT_EQ(menus[3]["deliveredTo"], 32500);
}

TEST_F(ScenarioTest, EveryMenuCommandLeavesNoBlockOfTheAddOnBehind) {
    HostSimRun run = RunHostSim("menu 32500 3\nmenu 32500 7\nmenu 32600 1 to 32500\n");
    std::vector<Json> allocations = run.EventsWhere("allocations", "after", "menu");
    ASSERT_EQ(allocations.size(), 3u);
    for (const Json& count : allocations) {
        EXPECT_EQ(count["owner"], "VELDEngineerConnection");
        EXPECT_EQ(count["liveBlocks"], 0);
        EXPECT_EQ(count["liveBytes"], 0);
    }
}

TEST_F(ScenarioTest, APickInAListWithoutHandlerIsReportedAndReachesNoAddOn) {
    HostSimRun run = RunHostSim("menu 32600 1\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<Json> menus = run.EventsNamed("menu");
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0]["handled"], false);
    EXPECT_EQ(menus[0]["error"], "no handler installed for menu list 32600");
    EXPECT_FALSE(menus[0].contains("result"));
    EXPECT_NE(run.errors.find("no add-on installed a handler for menu list 32600"), std::string::npos);
}

TEST_F(ScenarioTest, TheRunEndsAtQuitAndReleasesAfterTheLastCommand) {
    HostSimRun run = RunHostSim("menu 32500 3\nquit\nmenu 32500 4\n");
    ASSERT_EQ(run.EventsNamed("menu").size(), 1u);
    std::size_t menuIndex = 0, releaseIndex = 0;
    for (std::size_t index = 0; index < run.events.size(); ++index) {
        if (run.events[index]["event"] == "menu") {
            menuIndex = index;
        }
        if (run.events[index]["event"] == "entry" && run.events[index]["name"] == "release") {
            releaseIndex = index;
        }
    }
    EXPECT_LT(menuIndex, releaseIndex);
}
