#include "ExportSettingsScenario.hpp"

#include <cstddef>

// The add-on's talks with the SAF add-on, seen through its export settings dialog: every bracket
// closed whatever fails, the host generation that decides how the pop-up is filled, and translator
// names at the edges of what a user may type.
namespace Scenarios {
namespace {

using Names = std::vector<std::string>;

const Names DefaultNames = {"Structural Analysis (SI)", "Structural Analysis (Imperial)",
                            "Load-Bearing Elements Only"};

class TranslatorBridgeScenario : public ExportSettingsScenario {
protected:
    // Ends a run cleanly: no broken bracket, no handle left with the SAF add-on, every menu answered 0
    // without a leak.
    static void ExpectBracketsKept(const HostSimRun& run) {
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        EXPECT_EQ(BracketFaults(run), Names{});
        const std::vector<Json> open = run.EventsNamed("saf-open-handles");
        ASSERT_EQ(open.size(), 1u);
        EXPECT_EQ(open[0].at("count"), 0) << open[0];
        EXPECT_TRUE(run.EventsNamed("lifecycle-violation").empty());
        ExpectMenusAnsweredZeroWithoutLeaks(run);
    }
};

struct FailureCase {
    std::vector<std::string> options;
    // Once the dialog is up: "Details...", whatever the SAF details dialog needs, then Cancel.
    std::string script;
    Names expectedCommands;
    Names entriesAtOpen;
    Names entriesAfterDetails;
};

TEST_F(TranslatorBridgeScenario, EveryOpenedBracketIsClosedOnceWhicheverCallFails) {
    const Names placeholderOnly{Placeholder};
    Names withPlaceholder{Placeholder};
    withPlaceholder.insert(withPlaceholder.end(), DefaultNames.begin(), DefaultNames.end());
    const std::vector<FailureCase> cases = {
        {{"--saf-fail", "GTRS=7"},
         "click 5\nclick 1\nclick 2\n",
         {"LADA", "GTRS", "FADA", "LADA", "SSTD", "ISID", "GSTD", "FADA"},
         placeholderOnly,
         placeholderOnly},
        {{"--saf-fail", "GSTD=7"},
         "click 5\nclick 1\nclick 2\n",
         {"LADA", "GTRS", "GSTD", "FADA", "LADA", "SSTD", "ISID", "GSTD", "FADA"},
         placeholderOnly,
         placeholderOnly},
        {{"--saf-fail", "LADA=7"}, "click 5\nclick 2\n", {"LADA", "LADA"}, placeholderOnly, placeholderOnly},
        {{"--saf-fail", "ISID=7"},
         "click 5\nclick 2\n",
         {"LADA", "GTRS", "GSTD", "FADA", "LADA", "SSTD", "ISID", "FADA"},
         withPlaceholder,
         withPlaceholder},
        {{"--saf-fail", "FADA=7"},
         "click 5\nselect 4 2\nclick 1\nclick 2\n",
         {"LADA", "GTRS", "GSTD", "FADA", "LADA", "SSTD", "ISID", "GSTD", "FADA"},
         withPlaceholder,
         withPlaceholder},
        {{"--host-version", "26", "--build", "3999", "--saf-fail", "FTRP=7"},
         "click 5\nclick 1\nclick 2\n",
         {"LADA", "FTRP", "FADA", "LADA", "SSTD", "ISID", "GSTD", "FADA"},
         placeholderOnly,
         placeholderOnly},
        {{"--fail", "CommandCall=0x81060387"},
         "click 5\nclick 2\n",
         {"LADA", "LADA"},
         placeholderOnly,
         placeholderOnly},
        {{"--fail", "CommandCall=0x81060387@2"},
         "click 5\nclick 1\nclick 2\n",
         {"LADA", "GTRS", "FADA", "LADA", "SSTD", "ISID", "GSTD", "FADA"},
         placeholderOnly,
         placeholderOnly},
        {{"--fail", "CommandCall=0x81060387@3"},
         "click 5\nclick 1\nclick 2\n",
         {"LADA", "GTRS", "GSTD", "FADA", "LADA", "SSTD", "ISID", "GSTD", "FADA"},
         placeholderOnly,
         placeholderOnly},
        {{"--fail", "CommandCall=0x81060387@7"},
         "click 5\nclick 2\n",
         {"LADA", "GTRS", "GSTD", "FADA", "LADA", "SSTD", "ISID", "FADA"},
         withPlaceholder,
         withPlaceholder},
    };
    for (const FailureCase& failure : cases) {
        std::string trace;
        for (const std::string& option : failure.options) {
            trace += option + " ";
        }
        SCOPED_TRACE(trace);
        HostSimRun run = RunSettings(failure.script, failure.options);
        ExpectBracketsKept(run);
        EXPECT_EQ(SafCommands(run), failure.expectedCommands);
        const std::vector<Json> views = SettingsViews(run);
        ASSERT_EQ(views.size(), 3u);
        EXPECT_EQ(EntryTexts(views[0]), failure.entriesAtOpen);
        EXPECT_EQ(EntryTexts(views[1]), failure.entriesAfterDetails);
        for (const Json& view : {views[0], views[1]}) {
            EXPECT_EQ(SelectedEntry(view), 1);
            EXPECT_FALSE(OkEnabled(view)) << "a failed talk never enables OK";
        }
        EXPECT_EQ(run.EventsWhere("dialog-close", "dialog", SettingsDialog).at(0).at("response"), 2);
    }
}

TEST_F(TranslatorBridgeScenario, TheBracketAuditCatchesAModuleThatLeavesABracketOpen) {
    // The probe's item 3 opens with 'LADA' and never closes; item 1 is a whole bracket.
    HostSimRun run =
        RunHostSimOn({SAF_PROBE_FIXTURE}, "menu 100 1\nmenu 100 3\nmenu 100 1\nmenu 100 3\nquit\n");
    EXPECT_EQ(SafCommands(run, "SafProbeFixture"),
              (Names{"LADA", "GTRS", "GSTD", "FADA", "LADA", "LADA", "GTRS", "GSTD", "FADA", "LADA"}));
    EXPECT_EQ(BracketFaults(run, "SafProbeFixture"),
              (Names{"call 6 'LADA': opened while the previous bracket was still open",
                     "the last 'LADA' was never closed"}));

    HostSimRun failedOpen = RunHostSimOn({SAF_PROBE_FIXTURE}, "menu 100 1\nquit\n", {"--saf-fail", "LADA=7"});
    EXPECT_EQ(BracketFaults(failedOpen, "SafProbeFixture"), Names{});
    EXPECT_EQ(SafCommands(failedOpen, "SafProbeFixture"), Names{"LADA"});
}

TEST_F(TranslatorBridgeScenario, AFailedTranslatorListLeavesOnlyThePlaceholderEvenWithAStoredName) {
    HostSimRun store = RunSettings("select 4 3\nclick 1\nsave\n");
    ASSERT_EQ(store.exitCode, 0) << store.errors;
    for (const std::string failure : {"GTRS=7", "GSTD=9"}) {
        SCOPED_TRACE(failure);
        HostSimRun run = RunSettings("click 2\n", {"--saf-fail", failure});
        ExpectBracketsKept(run);
        const Json opened = SettingsViews(run).at(0);
        EXPECT_EQ(EntryTexts(opened), Names{Placeholder});
        EXPECT_EQ(EntryEnabled(opened), std::vector<bool>{false});
        EXPECT_FALSE(OkEnabled(opened));
    }
}

TEST_F(TranslatorBridgeScenario, AnEarlyVersion26HostLetsTheSafAddOnFillThePopUpAndLaterHostsGetTheList) {
    struct Generation {
        std::string version;
        std::string build;
        Names commands;
    };
    const Names popUpPath{"LADA", "FTRP", "FADA"};
    const Names listPath{"LADA", "GTRS", "GSTD", "FADA"};
    const std::vector<Generation> generations = {
        {"26", "3999", popUpPath}, {"26", "0", popUpPath},     {"26", "4000", listPath},
        {"26", "4001", listPath},  {"27", "3999", listPath},   {"25", "100", listPath},
        {"260", "3999", listPath}, {"26.0", "3999", listPath},
    };
    for (const Generation& host : generations) {
        SCOPED_TRACE("version " + host.version + " build " + host.build);
        std::filesystem::remove(ProjectPath());
        HostSimRun run = RunSettings("select 4 3\nclick 1\nsave\n",
                                     {"--host-version", host.version, "--build", host.build});
        ExpectBracketsKept(run);
        Names commands = SafCommands(run);
        EXPECT_EQ(commands, host.commands);
        const Json opened = SettingsViews(run).at(0);
        Names offered{Placeholder};
        offered.insert(offered.end(), DefaultNames.begin(), DefaultNames.end());
        EXPECT_EQ(EntryTexts(opened), offered);
        EXPECT_EQ(SelectedEntry(opened), 1);

        HostSimRun next = RunSettings("click 2\n", {"--host-version", host.version, "--build", host.build});
        ExpectBracketsKept(next);
        EXPECT_EQ(SelectedText(SettingsViews(next).at(0)), DefaultNames[1])
            << "the stored choice on either path";
    }
}

// A store of `count` translators numbered in order, with the given names placed at their indices.
Names NumberedTranslators(std::size_t count, const std::vector<std::pair<std::size_t, std::string>>& placed) {
    Names names;
    for (std::size_t index = 0; index < count; ++index) {
        names.push_back("Translator " + std::to_string(index + 1));
    }
    for (const auto& [index, name] : placed) {
        names[index] = name;
    }
    return names;
}

std::string Repeated(const std::string& unit, std::size_t times) {
    std::string text;
    for (std::size_t count = 0; count < times; ++count) {
        text += unit;
    }
    return text;
}

class UnusualTranslatorNamesScenario : public TranslatorBridgeScenario {
protected:
    // Every name of the stand-in's store reaches the dialog; picking `entry` stores that name, which the
    // next run on the saved project selects again (at `reselectedEntry`, the last entry of that name).
    // Nothing stored reads as the empty name, so a store without an empty name opens on the placeholder.
    void ExpectRoundTrip(const Names& translators, bool placeholderFirst, std::size_t entry,
                         std::size_t reselectedEntry) {
        std::filesystem::remove(ProjectPath());
        HostSimRun first = RunSettings("select 4 " + std::to_string(entry) + "\nclick 1\nsave\n");
        ExpectBracketsKept(first);
        const Json opened = SettingsViews(first).at(0);
        Names offered = placeholderFirst ? Names{Placeholder} : Names{};
        offered.insert(offered.end(), translators.begin(), translators.end());
        ASSERT_EQ(EntryTexts(opened), offered);
        const std::string chosen = offered.at(entry - 1);
        EXPECT_EQ(SelectedText(SettingsViews(first).at(1)), chosen);

        HostSimRun next = RunSettings("click 2\n");
        ExpectBracketsKept(next);
        const Json reopened = SettingsViews(next).at(0);
        EXPECT_EQ(EntryTexts(reopened), translators)
            << "a stored name, even an empty one, needs no placeholder";
        EXPECT_EQ(SelectedEntry(reopened), static_cast<int>(reselectedEntry));
        EXPECT_EQ(SelectedText(reopened), chosen);
        EXPECT_TRUE(OkEnabled(reopened));
    }
};

TEST_F(UnusualTranslatorNamesScenario, NonAsciiLettersAndAThousandCharacterNameRoundTripThroughTheProject) {
    const std::string accented =
        "\u00DCbersetzer f\u00FCr Stahlbau \u2013 \u69CB\u9020\u89E3\u6790 \u00E9\u00E8";
    const std::string thousand = Repeated("\u03A9", 500) + Repeated("a", 500);
    const Names translators = {"Plain", accented, thousand};
    WriteTranslators(translators);
    ExpectRoundTrip(translators, true, 3, 2);
    ExpectRoundTrip(translators, true, 4, 3);
}

TEST_F(UnusualTranslatorNamesScenario, DuplicateAndEmptyNamesRoundTripToTheirLastEntry) {
    const Names translators = {"", "Twin", "Other", "Twin", ""};
    WriteTranslators(translators);
    HostSimRun fresh = RunSettings("click 2\n");
    ExpectBracketsKept(fresh);
    const Json opened = SettingsViews(fresh).at(0);
    EXPECT_EQ(SelectedEntry(opened), 5) << "nothing stored matches the last empty name";
    EXPECT_TRUE(OkEnabled(opened));

    ExpectRoundTrip(translators, false, 2, 4);
    ExpectRoundTrip(translators, false, 1, 5);
}

TEST_F(UnusualTranslatorNamesScenario, TenThousandTranslatorsAreAllOfferedAndAnyOneRoundTrips) {
    const std::string thousand = Repeated("\u00E9", 1000);
    const Names translators = NumberedTranslators(10000, {{4711, thousand}, {9999, "\u00DCbersetzer"}});
    WriteTranslators(translators);
    ExpectRoundTrip(translators, true, 4713, 4712);
    ExpectRoundTrip(translators, true, 10001, 10000);
}

} // namespace
} // namespace Scenarios
