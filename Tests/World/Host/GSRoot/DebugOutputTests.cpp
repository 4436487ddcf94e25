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

TEST(DBPrintf, FormatsNumbersWithWidthPrecisionAndLength) {
    DebugCapture capture;
    DBPrintf("%d %i %u %x %X|%5d|%-5d|%05d|%+d|%.3d", -42, 7, 4000000000u, 255u, 255u, 42, 42, 42, 42, 5);
    DBPrintf("%lld %llu %ld %hd %hu %hhd|%c|%%|%*d|%-*d|", -9000000000LL, 18000000000ULL, LONG_MIN, 70000,
             70000u, 300, 'Z', 6, 1, 3, 2);
    ASSERT_EQ(capture.texts.size(), 2u);
    EXPECT_EQ(capture.texts[0], "-42 7 4000000000 ff FF|   42|42   |00042|+42|005");
    EXPECT_EQ(capture.texts[1],
              "-9000000000 18000000000 " + std::to_string(LONG_MIN) + " 4464 4464 44|Z|%|     1|2  |");
}

TEST(DBPrintf, StringPrecisionAndWidthCountCharacters) {
    DebugCapture capture;
    DBPrintf("[%.3s][%6s][%-4hs][%.2hs]", u"äbcdef", u"äö", "ü", "xyz");
    ASSERT_EQ(capture.texts.size(), 1u);
    EXPECT_EQ(capture.texts[0], "[äbc][    äö][ü   ][xy]");
}

TEST(DBPrintf, PrecisionStopsReadingAnUnterminatedString) {
    DebugCapture capture;
    const char16_t unterminated[3] = {u'a', u'b', u'c'};
    const char bytes[2] = {'x', 'y'};
    DBPrintf("%.3s %.2hs", unterminated, bytes);
    ASSERT_EQ(capture.texts.size(), 1u);
    EXPECT_EQ(capture.texts[0], "abc xy");
}

TEST(DBPrintf, UnknownConversionsAndATrailingPercentAreCopied) {
    DebugCapture capture;
    DBPrintf("%q %d", 5);
    DBPrintf("100%");
    DBPrintf("%-");
    ASSERT_EQ(capture.texts.size(), 3u);
    EXPECT_EQ(capture.texts[0], "%q 5");
    EXPECT_EQ(capture.texts[1], "100%");
    EXPECT_EQ(capture.texts[2], "%-");
}

TEST(DBPrintf, PointersPrintAsHex) {
    DebugCapture capture;
    DBPrintf("%p", reinterpret_cast<void*>(0xABCDEF));
    ASSERT_EQ(capture.texts.size(), 1u);
    EXPECT_EQ(capture.texts[0], "0xabcdef");
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
