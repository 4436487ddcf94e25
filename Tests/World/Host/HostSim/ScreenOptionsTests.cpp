#include "Tools/UserDataTool.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// `--face` picks where alerts and dialogs are shown; only the Windows build has windows to draw them.
namespace {

struct FaceCase {
    std::vector<std::string> arguments;
    HostSim::ScreenFace face;
    const char* error; // a part of the message, or empty when the arguments are fine
};

#if defined(_WIN32)
constexpr HostSim::ScreenFace NativeFace = HostSim::ScreenFace::Windows;
constexpr const char* WindowsError = "";
#else
constexpr HostSim::ScreenFace NativeFace = HostSim::ScreenFace::Text;
constexpr const char* WindowsError = "the Windows build only";
#endif

TEST(ScreenFaceOption, PicksTheFaceOrSaysWhyNot) {
    const FaceCase cases[] = {
        {{"module.apx"}, NativeFace, ""},
        {{"--face", "text", "module.apx"}, HostSim::ScreenFace::Text, ""},
        {{"--face", "windows", "module.apx"}, HostSim::ScreenFace::Windows, WindowsError},
        {{"--face", "terminal"}, NativeFace, "expected text or windows, got \"terminal\""},
        {{"--face"}, NativeFace, "--face needs a value"},
    };
    for (const FaceCase& each : cases) {
        const HostSim::ScreenOptionsParse parsed = HostSim::TakeScreenOptions(each.arguments);
        SCOPED_TRACE(each.arguments.size() > 1 ? each.arguments[1] : each.arguments[0]);
        if (*each.error != '\0') {
            EXPECT_NE(parsed.error.find(each.error), std::string::npos) << parsed.error;
            continue;
        }
        EXPECT_EQ(parsed.error, "");
        EXPECT_EQ(parsed.options.face, each.face);
        EXPECT_EQ(parsed.rest, std::vector<std::string>{"module.apx"});
    }
}

} // namespace
