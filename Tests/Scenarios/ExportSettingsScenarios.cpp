#include "ExportSettingsScenario.hpp"
#include "OpenCommandScenario.hpp"

// The export settings dialog of the real add-on: what it offers and selects, what OK, Cancel and
// "Details..." do, how it follows a resize, and how the chosen translator lives in the project.
namespace Scenarios {
namespace {

using Names = std::vector<std::string>;

const std::string Si = "Structural Analysis (SI)";
const std::string Imperial = "Structural Analysis (Imperial)";
const std::string LoadBearing = "Load-Bearing Elements Only";

std::vector<Json> ObjectOps(const HostSimRun& run, const std::string& op) {
    return run.EventsWhere("object", "op", op);
}

Json CloseOf(const HostSimRun& run, int dialog) {
    const std::vector<Json> closes = run.EventsWhere("dialog-close", "dialog", dialog);
    EXPECT_EQ(closes.size(), 1u);
    return closes.empty() ? Json::object() : closes.front();
}

class ExportSettingsDialogScenario : public ExportSettingsScenario {
protected:
    // Stores `entry` of the first run's pop-up (the placeholder is entry 1) and saves the project.
    void StoreEntry(int entry) {
        HostSimRun run = RunSettings("select 4 " + std::to_string(entry) + "\nclick 1\nsave\n");
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        ASSERT_EQ(CloseOf(run, SettingsDialog).at("response"), 1);
    }
};

TEST_F(ExportSettingsDialogScenario, WithNothingStoredThePlaceholderIsSelectedDisabledAndOkIsOff) {
    HostSimRun run = RunSettings("select 4 3\nclick 2\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<Json> views = SettingsViews(run);
    ASSERT_EQ(views.size(), 3u);
    EXPECT_EQ(EntryTexts(views[0]), (Names{Placeholder, Si, Imperial, LoadBearing}));
    EXPECT_EQ(EntryEnabled(views[0]), (std::vector<bool>{false, true, true, true}));
    EXPECT_EQ(SelectedEntry(views[0]), 1);
    EXPECT_FALSE(OkEnabled(views[0]));
    const std::vector<Json> finds = ObjectOps(run, "find");
    ASSERT_EQ(finds.size(), 1u);
    EXPECT_EQ(finds[0].at("guid"), "00000000-0000-0000-0000-000000000000")
        << "a project with nothing written";
    EXPECT_TRUE(ObjectOps(run, "read").empty());

    EXPECT_EQ(EntryTexts(views[1]), (Names{Si, Imperial, LoadBearing})) << "picking removes the placeholder";
    EXPECT_EQ(EntryEnabled(views[1]), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(SelectedText(views[1]), Imperial);
    EXPECT_TRUE(OkEnabled(views[1]));

    EXPECT_EQ(CloseOf(run, SettingsDialog).at("response"), 2);
    EXPECT_TRUE(ObjectOps(run, "create").empty()) << "Cancel writes nothing";
    EXPECT_TRUE(ObjectOps(run, "modify").empty());
    ExpectMenusAnsweredZeroWithoutLeaks(run);
}

TEST_F(ExportSettingsDialogScenario, AStoredTranslatorIsSelectedWithoutPlaceholderAndOkOn) {
    StoreEntry(3);
    HostSimRun run = RunSettings("click 2\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Json opened = SettingsViews(run).at(0);
    EXPECT_EQ(EntryTexts(opened), (Names{Si, Imperial, LoadBearing}));
    EXPECT_EQ(SelectedText(opened), Imperial) << "the stored name wins over the SAF add-on's current one";
    EXPECT_TRUE(OkEnabled(opened));
    ExpectMenusAnsweredZeroWithoutLeaks(run);
}

TEST_F(ExportSettingsDialogScenario, AStoredTranslatorThatNoLongerExistsGivesThePlaceholder) {
    WriteTranslators({"Steel", "Timber", "Retired"});
    StoreEntry(4);
    WriteTranslators({"Steel", "Timber"});
    HostSimRun run = RunSettings("click 2\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Json opened = SettingsViews(run).at(0);
    EXPECT_EQ(EntryTexts(opened), (Names{Placeholder, "Steel", "Timber"}));
    EXPECT_EQ(SelectedEntry(opened), 1);
    EXPECT_FALSE(OkEnabled(opened));
    ExpectMenusAnsweredZeroWithoutLeaks(run);
}

TEST_F(ExportSettingsDialogScenario, OfTwoEqualTranslatorsTheDialogOpensOnTheLaterAndDetailsPicksTheEarlier) {
    WriteTranslators({"Alpha", "Twin", "Beta", "Twin"});
    StoreEntry(3);
    // "Details...", then OK in the SAF add-on's own details dialog, then Cancel.
    HostSimRun run = RunSettings("click 5\nclick 1\nclick 2\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<Json> views = SettingsViews(run);
    ASSERT_EQ(views.size(), 3u);
    EXPECT_EQ(EntryTexts(views[0]), (Names{"Alpha", "Twin", "Beta", "Twin"}));
    EXPECT_EQ(SelectedEntry(views[0]), 4);
    EXPECT_EQ(run.EventsWhere("command-call", "command", "SSTD").at(0).at("name"), "Twin");
    EXPECT_EQ(run.EventsWhere("command-call", "command", "GSTD").at(1).at("name"), "Twin");
    EXPECT_EQ(SelectedEntry(views[1]), 2);
    EXPECT_TRUE(OkEnabled(views[1]));
    ExpectMenusAnsweredZeroWithoutLeaks(run);
}

TEST_F(ExportSettingsDialogScenario, DetailsOnThePlaceholderHandsItsTextToTheSafAddOnAndTakesItsAnswer) {
    // In the SAF details dialog the user picks the third translator and presses OK; then OK here.
    HostSimRun run = RunSettings("click 5\nselect 4 3\nclick 1\nclick 1\nsave\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Json handedOver = run.EventsWhere("command-call", "command", "SSTD").at(0);
    EXPECT_EQ(handedOver.at("name"), Placeholder);
    EXPECT_NE(handedOver.at("result"), 0) << "the SAF add-on knows no such translator";
    EXPECT_EQ(run.EventsWhere("dialog-open", "dialog", SafDetailsDialog).size(), 1u);

    const Json afterDetails = SettingsViews(run).at(1);
    EXPECT_EQ(EntryTexts(afterDetails), (Names{Si, Imperial, LoadBearing}));
    EXPECT_EQ(SelectedText(afterDetails), LoadBearing);
    EXPECT_TRUE(OkEnabled(afterDetails));
    ASSERT_EQ(ObjectOps(run, "create").size(), 1u);

    HostSimRun next = RunSettings("click 2\n");
    ASSERT_EQ(next.exitCode, 0) << next.errors;
    EXPECT_EQ(SelectedText(SettingsViews(next).at(0)), LoadBearing);
    ExpectMenusAnsweredZeroWithoutLeaks(run);
}

TEST_F(ExportSettingsDialogScenario, ADetailsAnswerThatIsNotInThePopUpChangesNoSelection) {
    // Without a translator list the pop-up holds only the placeholder; the SAF add-on still answers
    // "Details..." with its current translator, which the pop-up does not have.
    HostSimRun run = RunSettings("click 5\nclick 1\nclick 2\n", {"--saf-fail", "GTRS=7"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.EventsWhere("command-call", "command", "GSTD").at(0).at("name"), Si);
    const std::vector<Json> views = SettingsViews(run);
    ASSERT_EQ(views.size(), 3u);
    for (const Json& view : {views[0], views[1]}) {
        EXPECT_EQ(EntryTexts(view), Names{Placeholder});
        EXPECT_EQ(SelectedEntry(view), 1);
        EXPECT_FALSE(OkEnabled(view));
    }
    ExpectMenusAnsweredZeroWithoutLeaks(run);
}

TEST_F(ExportSettingsDialogScenario, OkWritesEvenTheUnchangedNameIntoTheOneObject) {
    StoreEntry(2);
    HostSimRun run = RunSettings("click 1\nsave\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<Json> modified = ObjectOps(run, "modify");
    ASSERT_EQ(modified.size(), 1u);
    EXPECT_EQ(modified[0].at("result"), 0);
    EXPECT_TRUE(ObjectOps(run, "create").empty());
    EXPECT_EQ(CloseOf(run, SettingsDialog).at("response"), 1);
    ASSERT_EQ(SavedObjects().size(), 1u);
    EXPECT_EQ(SavedObjects()[0].at("guid"), modified[0].at("guid"));
    ExpectMenusAnsweredZeroWithoutLeaks(run);
}

// A write the project refuses is told in an alert and the dialog stays open on the same choice: a
// second OK then stores it, Cancel leaves the project as it was.
TEST_F(ExportSettingsDialogScenario, ARefusedWriteIsToldAndTheDialogStaysOpenForOkAgainOrCancel) {
    const struct {
        const char* fault;
        bool storedBefore;
    } refusals[] = {
        {"HostObjectFind=-5@2", false}, // the first find is the dialog's read at construction
        {"HostObjectCreate=-7@1", false},
        {"HostObjectModify=-7@1", true},
    };
    for (const auto& refusal : refusals) {
        for (const bool retry : {true, false}) {
            SCOPED_TRACE(std::string(refusal.fault) + (retry ? ", OK again" : ", then Cancel"));
            std::filesystem::remove(ProjectPath());
            if (refusal.storedBefore) {
                StoreEntry(4);
            }
            const Json before = refusal.storedBefore ? SavedObjects() : Json::array();
            // Si is the first translator after the placeholder, or the first entry without one.
            const std::string pick = refusal.storedBefore ? "select 4 1\n" : "select 4 2\n";
            HostSimRun run =
                RunSettings(pick + "click 1\nbutton 1\n" + (retry ? "click 1\n" : "click 2\n") + "save\n",
                            {"--fail", refusal.fault});
            ASSERT_EQ(run.exitCode, 0) << run.errors;
            const std::vector<Json> alerts = run.EventsNamed("alert");
            ASSERT_EQ(alerts.size(), 1u);
            EXPECT_EQ(TextsOf(alerts[0]), StoreRefusedTexts);
            EXPECT_EQ(CloseOf(run, SettingsDialog).at("response"), retry ? 1 : 2);
            EXPECT_EQ(SelectedText(SettingsViews(run).back()), Si) << "the choice stays in the dialog";
            ExpectMenusAnsweredZeroWithoutLeaks(run);
            if (!retry) {
                EXPECT_EQ(SavedObjects(), before);
                continue;
            }
            HostSimRun next = RunSettings("click 2\n");
            ASSERT_EQ(next.exitCode, 0) << next.errors;
            EXPECT_EQ(SelectedText(SettingsViews(next).at(0)), Si);
        }
    }
}

TEST_F(ExportSettingsDialogScenario, CancelLeavesTheStoredNameAsItWas) {
    StoreEntry(3);
    const Json before = SavedObjects();
    HostSimRun run = RunSettings("select 4 3\nclick 2\nsave\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(CloseOf(run, SettingsDialog).at("response"), 2);
    EXPECT_TRUE(ObjectOps(run, "modify").empty());
    EXPECT_EQ(SavedObjects(), before);
    ExpectMenusAnsweredZeroWithoutLeaks(run);
}

// Items 3, 4, 7 and 8 grow with the dialog, items 1, 2 and 5 keep their distance from its right edge,
// and the icon, item 6, stays put.
void ExpectFollowedAWidening(const Json& before, const Json& after, int change) {
    EXPECT_EQ(after.at("width"), before.at("width").get<int>() + change);
    for (int number = 1; number <= 8; ++number) {
        const Json was = ItemOf(before, number);
        const Json now = ItemOf(after, number);
        const bool grows = number == 3 || number == 4 || number == 7 || number == 8;
        const bool moves = number == 1 || number == 2 || number == 5;
        EXPECT_EQ(now.at("width"), was.at("width").get<int>() + (grows ? change : 0)) << "item " << number;
        EXPECT_EQ(now.at("left"), was.at("left").get<int>() + (moves ? change : 0)) << "item " << number;
        EXPECT_EQ(now.at("top"), was.at("top")) << "item " << number;
        EXPECT_EQ(now.at("height"), was.at("height")) << "item " << number;
    }
}

TEST_F(ExportSettingsDialogScenario, AWideningBy40WidensTheTextsPopUpAndRuleAndMovesTheButtons) {
    HostSimRun run = RunSettings("resize 40 0\nclick 2\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<Json> views = SettingsViews(run);
    ASSERT_EQ(views.size(), 3u);
    ExpectFollowedAWidening(views[0], views[1], 40);
    ExpectMenusAnsweredZeroWithoutLeaks(run);
}

TEST_F(ExportSettingsDialogScenario, ANarrowingAfterAWideningTakesTheItemsBack) {
    HostSimRun run = RunSettings("resize 60 0\nresize -20 0\nclick 2\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<Json> views = SettingsViews(run);
    ASSERT_EQ(views.size(), 4u);
    ExpectFollowedAWidening(views[1], views[2], -20);
    ExpectFollowedAWidening(views[0], views[2], 40);
    ExpectMenusAnsweredZeroWithoutLeaks(run);
}

TEST_F(ExportSettingsDialogScenario, AStoredTwoByteWidthIsAppliedAndARecordOfAnotherSizeIsNot) {
    HostSimRun plain = RunSettings("click 2\n");
    HostSimRun widened = RunSettings("click 2\n", {"--user-data", "ExportSettingsDialogData=2800"});
    ASSERT_EQ(plain.exitCode, 0) << plain.errors;
    ASSERT_EQ(widened.exitCode, 0) << widened.errors;
    ExpectFollowedAWidening(SettingsViews(plain).at(0), SettingsViews(widened).at(0), 40);

    for (const std::string record : {"28", "28000000"}) {
        HostSimRun ignored = RunSettings("click 2\n", {"--user-data", "ExportSettingsDialogData=" + record});
        ASSERT_EQ(ignored.exitCode, 0) << ignored.errors;
        EXPECT_EQ(SettingsViews(ignored).at(0), SettingsViews(plain).at(0)) << record;
        ExpectMenusAnsweredZeroWithoutLeaks(ignored);
    }
}

TEST_F(ExportSettingsDialogScenario, TheChoiceSurvivesSaveQuitAndANewRunAndTwoOksKeepOneObject) {
    HostSimRun first = RunOnProject("menu 32500 2\nselect 4 2\nclick 1\n"
                                    "menu 32500 2\nselect 4 3\nclick 1\nsave\nquit\n");
    ASSERT_EQ(first.exitCode, 0) << first.errors;
    const std::vector<Json> created = ObjectOps(first, "create");
    const std::vector<Json> modified = ObjectOps(first, "modify");
    ASSERT_EQ(created.size(), 1u);
    ASSERT_EQ(modified.size(), 1u);
    EXPECT_EQ(modified[0].at("guid"), created[0].at("guid"));
    EXPECT_EQ(SelectedText(SettingsViews(first).at(3)), Si) << "the second dialog starts from the first OK";
    ASSERT_EQ(SavedObjects().size(), 1u);
    EXPECT_EQ(SavedObjects()[0].at("name"), "VELDExportTranslatorName");
    ExpectMenusAnsweredZeroWithoutLeaks(first);

    HostSimRun second = RunSettings("click 2\n");
    ASSERT_EQ(second.exitCode, 0) << second.errors;
    EXPECT_EQ(SelectedText(SettingsViews(second).at(0)), LoadBearing);
    EXPECT_EQ(ObjectOps(second, "read").at(0).at("guid"), created[0].at("guid"));
}

TEST_F(ExportSettingsDialogScenario, AChoiceThatIsNotSavedIsGoneInTheNextRun) {
    HostSimRun unsaved = RunSettings("select 4 3\nclick 1\n");
    ASSERT_EQ(unsaved.exitCode, 0) << unsaved.errors;
    EXPECT_FALSE(std::filesystem::exists(ProjectPath()));
    HostSimRun next = RunSettings("click 2\n");
    ASSERT_EQ(next.exitCode, 0) << next.errors;
    EXPECT_EQ(SelectedText(SettingsViews(next).at(0)), Placeholder);
}

} // namespace
} // namespace Scenarios
