#include "CallMonitor.hpp"
#include "Location.hpp"
#include "Record/PathText.hpp"
#include "Session/HostSession.hpp"
#include "TranscriptFile.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

using namespace HostSim;

// A host that records nothing installs no library call monitor, so the libraries skip their call
// reports; a transcript or a fault plan brings the monitor back.
namespace {

class QuietHost : public ::testing::Test {
protected:
    QuietHost() {
        home = std::filesystem::temp_directory_path() /
               ("hostsim-quiet-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(home);
        options.home = PathToUtf8(home);
    }
    ~QuietHost() override {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }

    bool MonitorActiveDuringSession(Transcript& transcript) {
        HostSession session(options, {}, project, transcript, timings, console);
        return GS::IsCallMonitorActive();
    }

    std::filesystem::path home;
    HostSimOptions options;
    ProjectDocument project;
    RunTimings timings;
    std::ostringstream console;
};

} // namespace

TEST_F(QuietHost, WithoutTranscriptOrFaultPlanNoMonitorIsInstalled) {
    Transcript none;
    EXPECT_FALSE(MonitorActiveDuringSession(none));
}

TEST_F(QuietHost, ATranscriptInstallsTheMonitorForTheSessionsLife) {
    TranscriptFile transcript;
    EXPECT_TRUE(MonitorActiveDuringSession(transcript.Get()));
    EXPECT_FALSE(GS::IsCallMonitorActive());
}

TEST_F(QuietHost, AFaultPlanInstallsTheMonitorEvenWithoutTranscript) {
    options.failRules.push_back(ParseFailRule("GSPref::OpenRootKey=5").Value());
    Transcript none;
    EXPECT_TRUE(MonitorActiveDuringSession(none));
}

TEST_F(QuietHost, TimingsAloneLeaveTheHostQuiet) {
    RunTimings written(PathToUtf8(home / "timings.jsonl"));
    ASSERT_TRUE(written.IsOpen());
    const CallTimerInstallation timer(written);
    Transcript none;
    HostSession session(options, {}, project, none, written, console);
    EXPECT_FALSE(GS::IsCallMonitorActive());
    EXPECT_EQ(GS::InstalledCallTimer(), &written);
}
