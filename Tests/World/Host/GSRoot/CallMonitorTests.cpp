#include "CallMonitor.hpp"
#include "DebugOutput.hpp"
#include "HostTestSupport.hpp"

#include <gtest/gtest.h>

using HostTestSupport::DebugCapture;
using HostTestSupport::RecordingMonitor;

TEST(CallMonitor, WithoutAMonitorNothingIsReportedAndNothingFails) {
    GS::SetCallMonitor(nullptr);
    EXPECT_FALSE(GS::IsCallMonitorActive());
    EXPECT_EQ(GS::ReportCall("GSPref::OpenRootKey", "domain=2"), NoError);
    GS::ReportResult("GSPref::OpenRootKey", "null");
}

TEST(CallMonitor, TheMonitorSeesEachCallAndItsAnswerIsPassedOn) {
    RecordingMonitor monitor;
    monitor.failures["Some::Operation"] = GSErr::IOError;
    EXPECT_TRUE(GS::IsCallMonitorActive());
    EXPECT_EQ(GS::ReportCall("Some::Operation", "x=1"), GSErr::IOError);
    EXPECT_EQ(GS::ReportCall("Other::Operation", nullptr), NoError);
    GS::ReportResult("Some::Operation", "failed");
    ASSERT_EQ(monitor.calls.size(), 2u);
    EXPECT_EQ(monitor.calls[0].details, "x=1");
    EXPECT_EQ(monitor.calls[1].details, "");
    ASSERT_EQ(monitor.results.size(), 1u);
    EXPECT_EQ(monitor.results[0].details, "failed");
}

TEST(CallMonitor, DebugOutputReportsItsTextAndCannotBeMadeToFail) {
    DebugCapture capture;
    RecordingMonitor monitor;
    monitor.failures["DBPrintf"] = GSErr::Generic;
    DBPrintf("path \"%s\"\n", u"C:\\VELD");
    const auto calls = monitor.CallsOf("DBPrintf");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].details, "text=\"path \\\"C:\\\\VELD\\\"\\n\"");
    ASSERT_EQ(capture.texts.size(), 1u);
    EXPECT_EQ(capture.texts[0], "path \"C:\\VELD\"\n");
    ASSERT_EQ(monitor.results.size(), 1u);
    EXPECT_EQ(monitor.results[0].operation, "DBPrintf");
}

namespace {
// A monitor that logs through the host's own debug output, which reports to the monitor again.
class LoggingMonitor : public GS::CallMonitor {
public:
    GSErrCode OnCall(const char* operation, const char* /*details*/) override {
        ++calls;
        DBPrintf("saw %hs\n", operation);
        return NoError;
    }
    int calls = 0;
};
} // namespace

TEST(CallMonitor, AMonitorThatCallsTheLibrariesIsNotAskedAgain) {
    DebugCapture capture;
    LoggingMonitor monitor;
    GS::SetCallMonitor(&monitor);
    DBPrintf("outer\n");
    GS::SetCallMonitor(nullptr);
    EXPECT_EQ(monitor.calls, 1);
    ASSERT_EQ(capture.texts.size(), 2u);
    EXPECT_EQ(capture.texts[0], "saw DBPrintf\n");
    EXPECT_EQ(capture.texts[1], "outer\n");
}
