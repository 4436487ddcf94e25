#include "DebugOutput.hpp"
#include "HostTestSupport.hpp"

#include <gtest/gtest.h>

#include <climits>

using HostTestSupport::DebugCapture;

TEST(DBPrintf, PercentSTakesUtf16AsTheHostRuleSays) {
    DebugCapture capture;
    const char16_t modulePath[] = u"/opt/Mödüle ✓/VELD \xD83D\xDE00.apx";
    DBPrintf("Abnormal add-on termination (\"%s\")", modulePath);
    DBPrintf("\n");
    ASSERT_EQ(capture.texts.size(), 2u);
    EXPECT_EQ(capture.texts[0], "Abnormal add-on termination (\"/opt/Mödüle ✓/VELD 😀.apx\")");
    EXPECT_EQ(capture.texts[1], "\n");
}

TEST(DBPrintf, PercentHsTakesUtf8AndNullStringsPrintNull) {
    DebugCapture capture;
    DBPrintf("%hs|%s|%hs", "8-bit ü", static_cast<const char16_t*>(nullptr),
             static_cast<const char*>(nullptr));
    ASSERT_EQ(capture.texts.size(), 1u);
    EXPECT_EQ(capture.texts[0], "8-bit ü|(null)|(null)");
}

TEST(DBPrintf, PercentDTakesAnInt) {
    DebugCapture capture;
    DBPrintf("%d %i|%d|%d", -42, 7, INT_MIN, INT_MAX);
    ASSERT_EQ(capture.texts.size(), 1u);
    EXPECT_EQ(capture.texts[0], "-42 7|" + std::to_string(INT_MIN) + "|" + std::to_string(INT_MAX));
}

// Conversions no caller of the host uses (widths, lengths, other types) take no argument: the one
// after them still lines up with its own conversion.
TEST(DBPrintf, UnknownConversionsAndATrailingPercentAreCopied) {
    DebugCapture capture;
    DBPrintf("%q %d", 5);
    DBPrintf("100%");
    DBPrintf("%-");
    DBPrintf("%5d %x %p|%hs|%%", "after");
    ASSERT_EQ(capture.texts.size(), 4u);
    EXPECT_EQ(capture.texts[0], "%q 5");
    EXPECT_EQ(capture.texts[1], "100%");
    EXPECT_EQ(capture.texts[2], "%-");
    EXPECT_EQ(capture.texts[3], "%5d %x %p|after|%");
}

TEST(DBPrintf, TheSinkGetsEachCallWholeNotSplitIntoLines) {
    DebugCapture capture;
    DBPrintf("first\nsecond\n");
    ASSERT_EQ(capture.texts.size(), 1u);
    EXPECT_EQ(capture.texts[0], "first\nsecond\n");
}

TEST(DBPrintf, WithoutASinkTheTextGoesToStandardError) {
    GS::SetDebugSink(nullptr, nullptr);
    testing::internal::CaptureStderr();
    DBPrintf("to stderr: %hs %d\n", "text", 3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "to stderr: text 3\n");
}
