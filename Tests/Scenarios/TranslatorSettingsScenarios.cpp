#include "ScenarioHarness.hpp"

#include <cstdint>

using namespace Scenarios;

namespace {

// hostsim's project document and its SAF add-on, watched through a probe module that makes the calls
// the add-on makes (the fixture lists what each item of its menu 100 does).
class TranslatorSettingsScenario : public ScenarioTest {
protected:
    HostSimRun RunProbe(const std::string& script, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"--project", ProjectArgument()});
        return RunHostSimOn({SAF_PROBE_FIXTURE}, script, options);
    }
    std::filesystem::path ProjectPath() const { return root / u8"Tower Project \u00E9.json"; }
    // hostsim takes its arguments as UTF-8 on every platform.
    std::string ProjectArgument() const { return PathText(ProjectPath()); }
    std::filesystem::path TranslatorStorePath() const { return home / "SAF" / "Translators.json"; }

    static Json MenuResult(const HostSimRun& run, std::size_t index) {
        const std::vector<Json> menus = run.EventsNamed("menu");
        EXPECT_GT(menus.size(), index);
        return menus.size() > index ? menus[index]["result"] : Json();
    }
};

TEST_F(TranslatorSettingsScenario, TheTranslatorObjectSurvivesSaveQuitAndANewRunOnTheSameProject) {
    HostSimRun first = RunProbe("menu 100 5\nmenu 100 4\nmenu 100 4\nmenu 100 5\nsave\nquit\n");
    ASSERT_EQ(first.exitCode, 0) << first.errors;
    EXPECT_EQ(MenuResult(first, 0), 1) << "nothing was written yet";
    EXPECT_EQ(MenuResult(first, 3), 0);
    const std::vector<Json> objects = first.EventsNamed("object");
    std::vector<std::string> ops;
    for (const Json& object : objects) {
        ops.push_back(object["op"]);
        EXPECT_EQ(object["result"], 0);
    }
    EXPECT_EQ(ops, (std::vector<std::string>{"find", "find", "create", "find", "modify", "find", "read"}));
    EXPECT_EQ(objects[2]["name"], "VELDExportTranslatorName");
    EXPECT_EQ(objects[2]["contentSize"], 6 + 2 * 26);
    ASSERT_EQ(first.EventsWhere("project-save", "result", "saved").size(), 1u);
    for (const Json& count : first.EventsWhere("allocations", "after", "menu")) {
        EXPECT_EQ(count["liveBlocks"], 0);
    }

    const Json saved = Json::parse(ReadFile(ProjectPath()));
    ASSERT_EQ(saved["addOnObjects"].size(), 1u) << "a second write modifies the one object";
    EXPECT_EQ(saved["addOnObjects"][0]["guid"], objects[2]["guid"]);

    HostSimRun second = RunProbe("menu 100 5\nquit\n");
    ASSERT_EQ(second.exitCode, 0) << second.errors;
    EXPECT_EQ(MenuResult(second, 0), 0);
    EXPECT_EQ(second.EventsWhere("object", "op", "read").at(0)["guid"], objects[2]["guid"]);
}

TEST_F(TranslatorSettingsScenario, WithoutSaveTheProjectFileIsNeitherCreatedNorChanged) {
    HostSimRun run = RunProbe("menu 100 4\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(ProjectPath()));
}

TEST_F(TranslatorSettingsScenario, ACorruptProjectIsRefusedBeforeAnyAddOnLoadsAndIsLeftAsItWas) {
    const std::string corrupt =
        "{\"format\": \"hostsim-project\", \"version\": 1,\n \"model\": {}, \"addOnObjects\": [";
    WriteFile(ProjectPath(), corrupt);
    HostSimRun run = RunProbe("menu 100 4\nsave\nquit\n");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.EventsNamed("module-load").empty());
    EXPECT_TRUE(run.EventsNamed("object").empty());
    const std::vector<Json> refused = run.EventsNamed("project-refused");
    ASSERT_EQ(refused.size(), 1u);
    const std::string message = refused[0]["message"];
    EXPECT_NE(message.find("Tower Project \u00E9.json"), std::string::npos) << message;
    EXPECT_NE(message.find("line 2, column"), std::string::npos) << message;
    EXPECT_NE(run.errors.find(message), std::string::npos);
    EXPECT_EQ(ReadFile(ProjectPath()), corrupt);
}

TEST_F(TranslatorSettingsScenario, AFirstRunOffersThreeTranslatorsThatSstdAllAccepts) {
    HostSimRun run = RunProbe("menu 100 1\nmenu 100 2\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(MenuResult(run, 0), 0);
    EXPECT_EQ(MenuResult(run, 1), 0) << "SSTD refused a name that GTRS delivered";
    const Json store = Json::parse(ReadFile(TranslatorStorePath()));
    EXPECT_EQ(store["translators"].size(), 3u);

    const std::vector<Json> calls = run.EventsNamed("command-call");
    std::vector<std::string> commands;
    for (const Json& call : calls) {
        commands.push_back(call["command"]);
        EXPECT_EQ(call["target"], Json::array({"0x47242F2E", "0x8D897D96"}));
        EXPECT_EQ(call["module"], "SafProbeFixture");
    }
    EXPECT_EQ(commands, (std::vector<std::string>{"LADA", "GTRS", "GSTD", "FADA", "LADA", "GTRS", "SSTD",
                                                  "SSTD", "SSTD", "FADA"}));
    EXPECT_EQ(calls[1]["count"], 3);
    const std::vector<Json> open = run.EventsNamed("saf-open-handles");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]["count"], 0);
}

TEST_F(TranslatorSettingsScenario, AHandleLeftOpenIsReportedAtExitAsTheAddOnsFault) {
    HostSimRun run = RunProbe("menu 100 3\nquit\n");
    EXPECT_EQ(run.exitCode, 1);
    const std::vector<Json> open = run.EventsNamed("saf-open-handles");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]["count"], 1);
    EXPECT_EQ(open[0]["handles"][0]["openedBy"], "SafProbeFixture");
    EXPECT_EQ(open[0]["handles"][0]["handle"], run.EventsNamed("command-call").at(0)["handle"]);
    const std::vector<Json> violations = run.EventsWhere("lifecycle-violation", "module", "SafProbeFixture");
    ASSERT_EQ(violations.size(), 1u);
    EXPECT_NE(violations[0]["message"].get<std::string>().find("never given back with 'FADA'"),
              std::string::npos);
}

TEST_F(TranslatorSettingsScenario, SafFailuresAndCommandCallFailuresReachTheCaller) {
    HostSimRun safFailing = RunProbe("menu 100 1\nquit\n", {"--saf-fail", "GTRS=7"});
    ASSERT_EQ(safFailing.exitCode, 0) << safFailing.errors;
    EXPECT_EQ(MenuResult(safFailing, 0), 7);
    EXPECT_EQ(safFailing.EventsWhere("command-call", "command", "GTRS").at(0)["injected"], true);
    EXPECT_EQ(safFailing.EventsWhere("command-call", "command", "FADA").size(), 1u);

    HostSimRun tableFailing = RunProbe("menu 100 1\nquit\n", {"--fail", "CommandCall=0x81060387"});
    ASSERT_EQ(tableFailing.exitCode, 0) << tableFailing.errors;
    EXPECT_EQ(MenuResult(tableFailing, 0), static_cast<std::int32_t>(0x81060387u));
    EXPECT_TRUE(tableFailing.EventsNamed("command-call").empty());

    HostSimRun badOption = RunProbe("quit\n", {"--saf-fail", "GTR=7"});
    EXPECT_EQ(badOption.exitCode, 64);
}

TEST_F(TranslatorSettingsScenario, TheDetailsStepShowsTheSafDialogAndOkSelectsTheUsersChoice) {
    HostSimRun run = RunProbe("menu 100 6\nselect 4 3\nclick 1\nmenu 100 6\nselect 4 1\nclose 2\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(MenuResult(run, 0), 0);
    EXPECT_EQ(MenuResult(run, 1), 0);
    const std::vector<Json> opened = run.EventsNamed("dialog-open");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0]["title"], "SAF Translator Details");
    EXPECT_EQ(opened[0]["items"][3]["entries"].size(), 3u);
    EXPECT_EQ(opened[1]["items"][3]["selected"], 3) << "the second run starts from the first run's choice";
    const std::vector<Json> read = run.EventsWhere("command-call", "command", "GSTD");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]["name"], "Load-Bearing Elements Only");
    EXPECT_EQ(read[1]["name"], "Load-Bearing Elements Only") << "a cancelled details step changes nothing";
}

TEST_F(TranslatorSettingsScenario, ACorruptTranslatorStoreIsReportedLeftAsItWasAndEveryLadaFails) {
    std::filesystem::create_directories(TranslatorStorePath().parent_path());
    const std::string corrupt = "{\"version\": 1, \"translators\": [{\"name\": 5}]}";
    WriteFile(TranslatorStorePath(), corrupt);
    HostSimRun run = RunProbe("menu 100 1\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<Json> errors = run.EventsNamed("saf-store-error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0]["message"].get<std::string>().find("member translators[0].name"), std::string::npos);
    EXPECT_EQ(MenuResult(run, 0), static_cast<std::int32_t>(0x81061006u));
    EXPECT_EQ(run.EventsNamed("command-call").size(), 1u);
    EXPECT_EQ(ReadFile(TranslatorStorePath()), corrupt);
}

// The add-on itself: the export settings dialog fills its pop-up from the SAF add-on, stores the
// choice in the project, and a later run on the saved project starts from that choice.
class AddOnTranslatorScenario : public TranslatorSettingsScenario {
protected:
    HostSimRun RunAddOn(const std::string& script) {
        return RunHostSim(script, {"--project", ProjectArgument()});
    }
    // The content the add-on stores: the host channel's bytes of the name, as the project keeps them.
    static std::string ContentHexOf(const std::string& asciiName) {
        std::string bytes = {'\x01', '\x00'};
        const auto count = static_cast<unsigned>(asciiName.size());
        for (int shift = 0; shift < 32; shift += 8) {
            bytes += static_cast<char>((count >> shift) & 0xFFu);
        }
        for (const char c : asciiName) {
            bytes += {c, '\0'};
        }
        return HexText(bytes);
    }
    Json SavedObjects() const { return Json::parse(ReadFile(ProjectPath()))["addOnObjects"]; }
    static std::vector<std::string> Commands(const HostSimRun& run) {
        std::vector<std::string> commands;
        for (const Json& call : run.EventsNamed("command-call")) {
            commands.push_back(call["command"]);
        }
        return commands;
    }
};

TEST_F(AddOnTranslatorScenario, TheChosenTranslatorIsStoredSavedAndPreselectedInTheNextRun) {
    RegisterInstallation();
    HostSimRun first = RunAddOn("menu 32500 2\nselect 4 3\nclick 1\nsave\nquit\n");
    ASSERT_EQ(first.exitCode, 0) << first.errors;
    EXPECT_EQ(Commands(first), (std::vector<std::string>{"LADA", "GTRS", "GSTD", "FADA"}));
    const Json opened = first.EventsNamed("dialog-open").at(0);
    EXPECT_EQ(opened["items"][3]["entries"].size(), 4u) << "three translators and the placeholder";
    EXPECT_EQ(opened["items"][3]["selected"], 1);
    ASSERT_EQ(SavedObjects().size(), 1u);
    EXPECT_EQ(SavedObjects()[0]["name"], "VELDExportTranslatorName");
    EXPECT_EQ(SavedObjects()[0]["content"], ContentHexOf("Structural Analysis (Imperial)"));
    for (const Json& count : first.EventsWhere("allocations", "after", "menu")) {
        EXPECT_EQ(count["liveBlocks"], 0);
    }

    HostSimRun second = RunAddOn("menu 32500 2\nclose 2\nquit\n");
    ASSERT_EQ(second.exitCode, 0) << second.errors;
    const Json reopened = second.EventsNamed("dialog-open").at(0);
    EXPECT_EQ(reopened["items"][3]["entries"].size(), 3u) << "no placeholder for a stored translator";
    EXPECT_EQ(reopened["items"][3]["selected"], 2);
    EXPECT_EQ(second.EventsWhere("object", "op", "read").size(), 1u);
    EXPECT_TRUE(second.EventsWhere("object", "op", "modify").empty()) << "cancel writes nothing";
}

TEST_F(AddOnTranslatorScenario, DetailsPickedInTheSafDialogBecomeTheStoredTranslator) {
    RegisterInstallation();
    HostSimRun run =
        RunAddOn("menu 32500 2\nselect 4 2\nclick 5\nselect 4 3\nclick 1\nclick 1\nsave\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Commands(run), (std::vector<std::string>{"LADA", "GTRS", "GSTD", "FADA", "LADA", "SSTD", "ISID",
                                                       "GSTD", "FADA"}));
    EXPECT_EQ(run.EventsWhere("command-call", "command", "SSTD").at(0)["name"], "Structural Analysis (SI)");
    EXPECT_EQ(run.EventsNamed("dialog-open").at(1)["title"], "SAF Translator Details");
    ASSERT_EQ(SavedObjects().size(), 1u);
    EXPECT_EQ(SavedObjects()[0]["content"], ContentHexOf("Load-Bearing Elements Only"));
    EXPECT_EQ(run.EventsNamed("saf-open-handles").at(0)["count"], 0);
}

TEST_F(AddOnTranslatorScenario, WithoutTranslatorsFromTheSafAddOnOnlyThePlaceholderIsOffered) {
    RegisterInstallation();
    HostSimRun run =
        RunHostSim("menu 32500 2\nclose 2\nquit\n", {"--project", ProjectArgument(), "--saf-fail", "GTRS=7"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Commands(run), (std::vector<std::string>{"LADA", "GTRS", "FADA"}));
    const Json opened = run.EventsNamed("dialog-open").at(0);
    ASSERT_EQ(opened["items"][3]["entries"].size(), 1u);
    EXPECT_EQ(opened["items"][3]["entries"][0]["text"], "Select translator");
    EXPECT_EQ(opened["items"][0]["enabled"], false);
}

TEST_F(AddOnTranslatorScenario, OnlyAnEarlyVersion26HostHasTheSafAddOnFillThePopUp) {
    RegisterInstallation();
    struct HostGeneration {
        const char* version;
        const char* build;
        std::vector<std::string> commands;
    };
    const std::vector<HostGeneration> generations = {
        {"26", "3999", {"LADA", "FTRP", "FADA"}},
        {"26", "4000", {"LADA", "GTRS", "GSTD", "FADA"}},
        {"27", "100", {"LADA", "GTRS", "GSTD", "FADA"}},
    };
    for (const HostGeneration& generation : generations) {
        HostSimRun run = RunHostSim("menu 32500 2\nclose 2\nquit\n",
                                    {"--host-version", generation.version, "--build", generation.build});
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        EXPECT_EQ(Commands(run), generation.commands) << generation.version << " build " << generation.build;
        const Json popUp = run.EventsNamed("dialog-open").at(0)["items"][3];
        ASSERT_EQ(popUp["entries"].size(), 4u);
        EXPECT_EQ(popUp["entries"][1]["text"], "Structural Analysis (SI)");
    }
}

} // namespace
