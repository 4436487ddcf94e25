#include "ScenarioHarness.hpp"
#include "ScenarioRegistry.hpp"

// The window face against the text face: the same script, once answered as text and once done to
// real windows (buttons clicked, lists picked with their notification, the window resized and
// closed), must leave the same transcript. Runs under Wine's null graphics driver: no display.
namespace Scenarios {
namespace {

struct FaceCase {
    const char* name;
    bool withDialogFixture;
    const char* script;
};

// Each case goes through a different path of the face: alerts and their buttons, pick, tick,
// resize, close box, refusals (disabled entry, disabled or missing item, a script given up),
// the don't-show-again dialog, and the add-on's own story on its layouts 7000 and 7001.
const FaceCase faceCases[] = {
    {"ErrorAlertAndWarningIntoTheDialog", true,
     "menu 100 1\nbutton 1\nmenu 100 2\nbutton 1\nselect 4 2\nclick 1\nquit\n"},
    {"PickTickResizeAndCloseBox", true,
     "menu 100 4\nselect 4 2\ncheck 5 1\nclick 5\nresize 40 10\nclose 2\nquit\n"},
    {"RefusedActions", true,
     "menu 100 4\nselect 4 3\nselect 4 9\nclick 9\nclick 4\nselect 3 1\nclick 2\nquit\n"},
    {"DontShowAgainTicked", true, "menu 100 3\ncheck 4 1\nclick 1\nmenu 100 3\nquit\n"},
    {"ScriptGivenUpInsideTheDialog", true, "menu 100 4\nbutton 1\nmenu 100 1\nbutton 1\nquit\n"},
    {"TheAddOnsStory", false,
     "menu 32500 1\nbutton 1\nselect 4 2\nclick 1\nmenu 32500 1\ncheck 5 1\nclick 1\nquit\n"},
};

// An event without what differs between any two runs: addresses, object identifiers, times.
Json Comparable(const Json& value) {
    if (value.is_object() || value.is_array()) {
        Json copy = value;
        for (auto& [key, member] : copy.items()) {
            member = key == "elapsedMs" || key == "time" ? Json("#") : Comparable(member);
        }
        return copy;
    }
    if (!value.is_string()) {
        return value;
    }
    const std::string text = value.get<std::string>();
    const bool address = text.size() >= 6 && text.rfind("0x", 0) == 0;
    const bool guid = text.size() == 36 && text[8] == '-' && text[13] == '-' && text[23] == '-';
    return address || guid ? Json("#") : value;
}

class WindowFaceScenario : public ScenarioTest, public ::testing::WithParamInterface<FaceCase> {
protected:
    HostSimRun RunFace(const char* face) {
        // Each face starts from the same world: a fresh data folder and registry.
        ClearScenarioRegistry();
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
        RegisterInstallation();
        std::vector<std::string> options{"--face", face};
        if (!GetParam().withDialogFixture) {
            options.insert(options.end(), {"--model", DEMO_BUILDING_PATH});
            return RunHostSim(GetParam().script, options);
        }
        return RunHostSimOn({DIALOG_FIXTURE}, GetParam().script, options);
    }
};

TEST_P(WindowFaceScenario, DoingTheScriptToWindowsRecordsWhatTheTextFaceRecords) {
    const HostSimRun text = RunFace("text");
    const HostSimRun windows = RunFace("windows");
    EXPECT_EQ(windows.exitCode, text.exitCode) << windows.errors;
    // A control that did not answer, or a window Windows would not make, says so on the console.
    EXPECT_EQ(windows.errors.find("did not answer"), std::string::npos) << windows.errors;
    EXPECT_EQ(windows.errors.find("would not make"), std::string::npos) << windows.errors;
    ASSERT_FALSE(text.EventsNamed("dialog-close").empty() && text.EventsNamed("alert").empty());
    ASSERT_EQ(windows.events.size(), text.events.size());
    for (std::size_t index = 0; index < text.events.size(); ++index) {
        EXPECT_EQ(Comparable(windows.events[index]), Comparable(text.events[index])) << "event " << index;
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, WindowFaceScenario, ::testing::ValuesIn(faceCases),
                         [](const ::testing::TestParamInfo<FaceCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace Scenarios
