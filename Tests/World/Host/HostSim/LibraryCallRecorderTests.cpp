#include "Record/DebugLineCollector.hpp"
#include "Record/LibraryCallRecorder.hpp"
#include "Services/MenuBook.hpp"
#include "TranscriptFile.hpp"

#include <gtest/gtest.h>

#include <sstream>

using namespace HostSim;

namespace {

class LibraryCallRecorderTest : public ::testing::Test {
protected:
    TranscriptFile transcript;
    FaultPlan faults;
    std::string caller = "Sample";
    LibraryCallRecorder recorder{transcript.Get(), faults, [this] { return caller; }};
};

} // namespace

TEST_F(LibraryCallRecorderTest, ACallAndItsResultMakeOneEvent) {
    EXPECT_EQ(recorder.OnCall("GSPref::OpenRootKey", "domain=2"), NoError);
    recorder.OnResult("GSPref::OpenRootKey", "opened");
    std::vector<Json> calls = transcript.Events("library-call");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0]["op"], "GSPref::OpenRootKey");
    EXPECT_EQ(calls[0]["details"], "domain=2");
    EXPECT_EQ(calls[0]["result"], "opened");
    EXPECT_EQ(calls[0]["module"], "Sample");
    EXPECT_FALSE(calls[0].contains("injected"));
}

TEST_F(LibraryCallRecorderTest, NestedCallsAreWrittenAsTheyFinishAndKeepTheirCallOrderNumber) {
    recorder.OnCall("Outer", "");
    recorder.OnCall("Inner", "");
    recorder.OnResult("Inner", "i");
    recorder.OnResult("Outer", "o");
    std::vector<Json> calls = transcript.Events("library-call");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0]["op"], "Inner");
    EXPECT_EQ(calls[1]["op"], "Outer");
    EXPECT_LT(calls[1]["sequence"].get<int>(), calls[0]["sequence"].get<int>());
}

TEST_F(LibraryCallRecorderTest, AFailedCallWithoutResultIsStillWrittenWithItsInjectedCode) {
    faults.Add({"FileExists", -1, std::nullopt});
    EXPECT_EQ(recorder.OnCall("FileExists", "path"), -1);
    recorder.OnCall("GSPref::CloseRootKey", "");
    recorder.OnResult("GSPref::CloseRootKey", "closed");
    recorder.Flush();
    std::vector<Json> calls = transcript.Events("library-call");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1]["op"], "FileExists");
    EXPECT_EQ(calls[1]["injected"], -1);
    EXPECT_EQ(calls[1]["result"], "0xFFFFFFFF");
}

TEST_F(LibraryCallRecorderTest, TheHostsOwnLibraryWorkIsNeitherRecordedNorFailed) {
    faults.Add({"RSGetIndString_ParamAdapter", 5, std::nullopt});
    {
        LibraryCallRecorder::HostWork hostWork(recorder);
        EXPECT_EQ(recorder.OnCall("RSGetIndString_ParamAdapter", "list=32500"), NoError);
        recorder.OnResult("RSGetIndString_ParamAdapter", "text");
    }
    recorder.Flush();
    EXPECT_TRUE(transcript.Events().empty());
    EXPECT_EQ(faults.CallCount("RSGetIndString_ParamAdapter"), 0u);
    EXPECT_EQ(recorder.OnCall("RSGetIndString_ParamAdapter", "list=32000"), 5);
}

TEST(DebugLineCollectorTests, OneLineMayComeInSeveralPiecesAndSeveralLinesInOnePiece) {
    TranscriptFile transcript;
    std::ostringstream console;
    std::string caller = "Sample";
    DebugLineCollector collector(transcript.Get(), console, [&] { return caller; });
    collector.Receive("Abnormal add-on termination (\"/x/A.apx\")");
    caller.clear();
    collector.Receive("\n");
    collector.Receive("first\nsecond\nunfinished");
    EXPECT_EQ(transcript.Events("debug").size(), 3u);
    collector.Flush();
    std::vector<Json> lines = transcript.Events("debug");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]["text"], "Abnormal add-on termination (\"/x/A.apx\")");
    EXPECT_EQ(lines[0]["module"], "Sample") << "the line belongs to whoever began it";
    EXPECT_EQ(lines[1]["text"], "first");
    EXPECT_FALSE(lines[1].contains("module"));
    EXPECT_EQ(lines[3]["text"], "unfinished");
    EXPECT_EQ(console.str(), "Abnormal add-on termination (\"/x/A.apx\")\nfirst\nsecond\nunfinished");
}

TEST(MenuTextTests, ControlCodesAreNotShown) {
    EXPECT_EQ(VisibleMenuText("Open in VELD Engineer...^ES^E3^ED^EM^10001"), "Open in VELD Engineer...");
    EXPECT_EQ(VisibleMenuText("VELD Engineer Connection"), "VELD Engineer Connection");
}
