#include "ScenarioHarness.hpp"
#include "ScenarioRegistry.hpp"

#include <fstream>

// hostsim's UI driver end to end, on the dialog fixture's menu 100: 1 error alert, 2 warning (its
// first button opens the settings dialog), 3 the don't-show-again dialog 7000, 4 the settings dialog
// 7100 (OK item 1, Cancel item 2, pop-up item 4 with Red, Green, Blue disabled, check box item 5).
namespace Scenarios {
namespace {

class DialogScenario : public ScenarioTest {
protected:
    HostSimRun Run(const std::string& script, const std::vector<std::string>& options = {}) {
        return RunHostSimOn({DIALOG_FIXTURE}, script, options);
    }

    static Json ItemOf(const Json& dialogEvent, int number) {
        return dialogEvent.at("items").at(static_cast<std::size_t>(number - 1));
    }

    static Json MenuResult(const HostSimRun& run, int item) {
        std::vector<Json> menus = run.EventsWhere("menu", "item", item);
        return menus.empty() ? Json() : menus.front().at("result");
    }
};

TEST_F(DialogScenario, AnErrorAlertIsAnsweredFromTheScriptWithEveryTextRecorded) {
    HostSimRun run = Run("menu 100 1\nbutton 1\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<Json> alerts = run.EventsNamed("alert");
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]["call"], "DGAlert");
    EXPECT_EQ(alerts[0]["alertType"], -1);
    EXPECT_EQ(alerts[0]["texts"], Json({"Fixture error", "Something went wrong.", "", "OK", "", ""}));
    EXPECT_EQ(alerts[0]["response"], 1);
    EXPECT_EQ(MenuResult(run, 1), 1);
}

TEST_F(DialogScenario, AWarningsFirstButtonOpensTheDialogAndItsOKClosesWithResponseOne) {
    HostSimRun run = Run("menu 100 2\nbutton 1\nselect 4 2\nclick 1\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<Json> alerts = run.EventsNamed("alert");
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]["call"], "WarningAlert");
    EXPECT_FALSE(alerts[0].contains("alertType"));
    EXPECT_EQ(alerts[0]["buttons"], Json({"Fixture Settings...", "Cancel", ""}));
    std::vector<Json> opened = run.EventsNamed("dialog-open");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0]["title"], "Fixture Settings");
    std::vector<Json> closed = run.EventsNamed("dialog-close");
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0]["response"], 1);
    EXPECT_EQ(MenuResult(run, 2), 1);
}

TEST_F(DialogScenario, TheDialogIsRecordedItemByItemAndAfterEveryAction) {
    HostSimRun run = Run("menu 100 4\nselect 4 2\ncheck 5 1\nclose 2\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<Json> opened = run.EventsNamed("dialog-open");
    ASSERT_EQ(opened.size(), 1u);
    const Json& open = opened[0];
    EXPECT_EQ(open["dialog"], 7100);
    EXPECT_EQ(open["width"], 300);
    EXPECT_EQ(open["height"], 130);
    ASSERT_EQ(open["items"].size(), 7u);
    EXPECT_EQ(ItemOf(open, 1), Json({{"number", 1},
                                     {"kind", "button"},
                                     {"left", 195},
                                     {"top", 97},
                                     {"width", 90},
                                     {"height", 23},
                                     {"text", "OK"},
                                     {"enabled", false}}));
    const Json popUp = ItemOf(open, 4);
    EXPECT_EQ(popUp["kind"], "popup");
    EXPECT_EQ(popUp["height"], 23);
    EXPECT_EQ(popUp["entries"], Json::parse(R"([{"text":"Red","enabled":true},{"text":"Green","enabled":true},
                                                {"text":"Blue","enabled":false}])"));
    EXPECT_EQ(popUp["selected"], 0);
    EXPECT_EQ(ItemOf(open, 6)["icon"], 32700);

    std::vector<Json> actions = run.EventsNamed("dialog-action");
    std::vector<Json> states = run.EventsNamed("dialog-state");
    ASSERT_EQ(actions.size(), 3u);
    ASSERT_EQ(states.size(), 3u);
    EXPECT_EQ(actions[0]["command"], "select 4 2");
    EXPECT_EQ(ItemOf(states[0], 4)["selected"], 2);
    EXPECT_EQ(ItemOf(states[0], 1)["enabled"], true);
    EXPECT_EQ(ItemOf(states[1], 5)["checked"], true);
    EXPECT_EQ(run.EventsNamed("dialog-close").at(0)["response"], 2);
    EXPECT_EQ(MenuResult(run, 4), 2);
}

TEST_F(DialogScenario, DisabledEntriesAndButtonsRefuseTheUserAndTheRunGoesOn) {
    HostSimRun run = Run("menu 100 4\nselect 4 3\nclick 1\nselect 3 1\nclick 2\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<Json> actions = run.EventsNamed("dialog-action");
    ASSERT_EQ(actions.size(), 4u);
    EXPECT_EQ(actions[0]["accepted"], false);
    EXPECT_EQ(actions[0]["refusal"], "entry 3 of pop-up 4 is disabled");
    EXPECT_EQ(actions[1]["refusal"], "item 1 (push button) is disabled");
    EXPECT_EQ(actions[2]["refusal"], "item 3 is a static text: it cannot be selected from");
    EXPECT_EQ(actions[3]["accepted"], true);
    EXPECT_EQ(ItemOf(run.EventsNamed("dialog-state").at(2), 4)["selected"], 0);
    EXPECT_EQ(MenuResult(run, 4), 2);
}

TEST_F(DialogScenario, AResizeMovesAndWidensWhatTheDialogsHandlerAsks) {
    HostSimRun run = Run("menu 100 4\nresize 40 10\nclose 2\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Json open = run.EventsNamed("dialog-open").at(0);
    const Json after = run.EventsNamed("dialog-state").at(0);
    EXPECT_EQ(after["width"], 340);
    EXPECT_EQ(after["height"], 130);
    EXPECT_EQ(ItemOf(after, 4)["width"], ItemOf(open, 4)["width"].get<int>() + 40);
    EXPECT_EQ(ItemOf(after, 1)["left"], ItemOf(open, 1)["left"].get<int>() + 40);
    EXPECT_EQ(ItemOf(after, 6)["left"], ItemOf(open, 6)["left"]);
}

TEST_F(DialogScenario, StoredUserDataOfTheRightSizeWidensTheDialogAndOtherSizesDoNot) {
    ProcessResult stored = RunProcess(
        {HOSTSIM_PATH, "user-data", "--home", home.string(), "set", "FixtureDialogData", "2800"}, root);
    ASSERT_EQ(stored.exitCode, 0) << stored.errors;
    HostSimRun widened = Run("menu 100 4\nclose 2\nquit\n");
    ASSERT_EQ(widened.exitCode, 0) << widened.errors;
    EXPECT_EQ(widened.EventsNamed("dialog-open").at(0)["width"], 340);

    HostSimRun untouched = Run("menu 100 4\nclose 2\nquit\n", {"--user-data", "FixtureDialogData=28000000"});
    ASSERT_EQ(untouched.exitCode, 0) << untouched.errors;
    EXPECT_EQ(untouched.EventsNamed("dialog-open").at(0)["width"], 300);
    std::vector<Json> retrieves =
        untouched.EventsWhere("library-call", "op", "DGRetrieveUserDataFromRegistry");
    ASSERT_EQ(retrieves.size(), 1u);
    EXPECT_EQ(retrieves[0]["result"], "stored=4 applied=false");
}

TEST_F(DialogScenario, ATickedDontShowAgainDialogStaysAwayInTheNextRunButNotInAFreshDataFolder) {
    HostSimRun first = Run("menu 100 3\ncheck 4 1\nclick 1\nquit\n");
    ASSERT_EQ(first.exitCode, 0) << first.errors;
    ASSERT_EQ(first.EventsNamed("dont-show-again").size(), 1u);
    EXPECT_EQ(first.EventsNamed("dont-show-again")[0], Json({{"event", "dont-show-again"},
                                                             {"dialog", 7000},
                                                             {"key", "FIXTUREINFORMATIONDIALOG"},
                                                             {"shown", true},
                                                             {"suppressed", true},
                                                             {"ticked", true}}));

    HostSimRun second = Run("menu 100 3\nquit\n");
    ASSERT_EQ(second.exitCode, 0) << second.errors;
    EXPECT_TRUE(second.EventsNamed("dialog-open").empty());
    EXPECT_EQ(second.EventsNamed("dont-show-again").at(0)["shown"], false);

    // A fresh data folder is a fresh user: on Windows the choice lives in the user's registry, which
    // outlives any data folder, so that user's keys go as well.
    home = root / "fresh-home";
    ClearScenarioRegistry();
    HostSimRun fresh = Run("menu 100 3\nclick 1\nquit\n");
    ASSERT_EQ(fresh.exitCode, 0) << fresh.errors;
    EXPECT_EQ(fresh.EventsNamed("dialog-open").size(), 1u);
    EXPECT_EQ(fresh.EventsNamed("dont-show-again").at(0)["shown"], true);
    EXPECT_EQ(fresh.EventsNamed("dont-show-again").at(0)["suppressed"], false);
}

TEST_F(DialogScenario, ADontShowAgainDialogClosedUntickedComesBack) {
    ASSERT_EQ(Run("menu 100 3\nclick 1\nquit\n").exitCode, 0);
    HostSimRun again = Run("menu 100 3\nclick 1\nquit\n");
    ASSERT_EQ(again.exitCode, 0) << again.errors;
    EXPECT_EQ(again.EventsNamed("dialog-open").size(), 1u);
}

TEST_F(DialogScenario, AScriptThatEndsWhileADialogIsOpenIsAnErrorNamingTheDialog) {
    HostSimRun run = Run("menu 100 4\nselect 4 2\n");
    EXPECT_EQ(run.exitCode, 2);
    std::vector<Json> errors = run.EventsNamed("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0]["message"], "the commands ended while a dialog is up: Fixture Settings");
    std::vector<Json> closed = run.EventsNamed("dialog-close");
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0]["response"], 2);
    EXPECT_EQ(closed[0]["abandoned"], true);
    EXPECT_EQ(run.Entry("release")["result"], 0);
}

TEST_F(DialogScenario, AScriptThatEndsWhileAnAlertIsUpIsAnErrorNamingTheAlert) {
    HostSimRun run = Run("menu 100 2\n");
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.EventsNamed("error").size(), 1u);
    EXPECT_EQ(run.EventsNamed("error")[0]["message"],
              "the commands ended while an alert is up: Warning \"Fixture warning\"");
    EXPECT_EQ(run.EventsNamed("alert").at(0)["response"], 2);
    EXPECT_TRUE(run.EventsNamed("dialog-open").empty());
}

TEST_F(DialogScenario, ALineThatFitsNothingOnScreenIsAnErrorNamingBothAndEndsTheScript) {
    HostSimRun run = Run("menu 100 4\nbutton 1\nmenu 100 1\nbutton 1\nquit\n");
    EXPECT_EQ(run.exitCode, 2);
    std::vector<Json> errors = run.EventsNamed("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0]["line"], 2);
    EXPECT_EQ(errors[0]["message"], "'button 1' but a dialog is up: Fixture Settings");
    EXPECT_TRUE(run.EventsNamed("alert").empty());
    EXPECT_EQ(run.EventsNamed("dialog-close").at(0)["response"], 2);
}

TEST_F(DialogScenario, ADialogCommandWithNothingOnScreenIsAnError) {
    HostSimRun run = Run("click 1\n");
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.EventsNamed("error").size(), 1u);
    EXPECT_EQ(run.EventsNamed("error")[0]["line"], 1);
}

TEST_F(DialogScenario, AMenuCommandWhileAnAlertIsUpNamesTheAlert) {
    HostSimRun run = Run("menu 100 1\nmenu 100 4\n");
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.EventsNamed("error").size(), 1u);
    EXPECT_EQ(run.EventsNamed("error")[0]["message"],
              "'menu 100 4' but an alert is up: Error \"Fixture error\"");
}

TEST_F(DialogScenario, AFailedInvokeShowsNothingAndAnswersCancel) {
    HostSimRun run = Run("menu 100 4\nquit\n", {"--fail", "DG::ModalDialog::Invoke=-1"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(run.EventsNamed("dialog-open").empty());
    EXPECT_EQ(MenuResult(run, 4), 2);
    std::vector<Json> invokes = run.EventsWhere("library-call", "op", "DG::ModalDialog::Invoke");
    ASSERT_EQ(invokes.size(), 1u);
    EXPECT_EQ(invokes[0]["injected"], -1);
}

TEST_F(DialogScenario, AFailedWarningShowsNothingAndAnswersItsLastButton) {
    HostSimRun run = Run("menu 100 2\nquit\n", {"--fail", "DG::WarningAlert=-1"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(run.EventsNamed("alert").empty());
    EXPECT_TRUE(run.EventsNamed("dialog-open").empty());
    EXPECT_EQ(MenuResult(run, 2), 0);
}

TEST_F(DialogScenario, TheDialogsHostCallsAreRecordedAsTheAddOnsLibraryCalls) {
    HostSimRun run = Run("menu 100 4\nselect 4 2\nclick 1\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<Json> invokes = run.EventsWhere("library-call", "op", "DG::ModalDialog::Invoke");
    ASSERT_EQ(invokes.size(), 1u);
    EXPECT_EQ(invokes[0]["module"], "DialogFixture");
    EXPECT_EQ(invokes[0]["result"], "shown=true response=1 result=true");
    EXPECT_FALSE(run.EventsWhere("library-call", "op", "DG::Item::SetStatus").empty());
}

TEST_F(DialogScenario, SnapshotsPictureEveryOpenAndStateAsNumberedSvgFiles) {
    const std::filesystem::path pictures = root / "pictures";
    HostSimRun run = Run("menu 100 4\nselect 4 2\nclose 2\nquit\n", {"--snapshots", pictures.string()});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::filesystem::path openPicture = pictures / "001-7100-Fixture-Settings-dialog-open.svg";
    const std::filesystem::path statePicture = pictures / "002-7100-Fixture-Settings-dialog-state.svg";
    ASSERT_TRUE(std::filesystem::exists(openPicture));
    ASSERT_TRUE(std::filesystem::exists(statePicture));
    EXPECT_TRUE(std::filesystem::exists(pictures / "003-7100-Fixture-Settings-dialog-state.svg"));
    const std::string open = ReadFile(openPicture);
    const std::string state = ReadFile(statePicture);
    EXPECT_EQ(open.rfind("<svg ", 0), 0u);
    EXPECT_NE(open.find(">Fixture Settings</text>"), std::string::npos);
    EXPECT_NE(open.find(">Remember the choice</text>"), std::string::npos);
    EXPECT_EQ(open.find(">Green</text>"), std::string::npos);
    EXPECT_NE(state.find(">Green</text>"), std::string::npos);
}

} // namespace
} // namespace Scenarios
