#include "ProgramCommandLine.hpp"

#include <gtest/gtest.h>

#include <sstream>

using namespace CommandLine;

TEST(ProgramCommandLineTests, HelpAndVersionAreFoundAnywhereAndTheFirstWins) {
    const std::vector<std::pair<std::vector<std::string>, Request>> cases = {
        {{}, Request::Run},
        {{"a.xlsx", "--check"}, Request::Run},
        {{"a.xlsx", "-h"}, Request::Help},
        {{"--help", "--version"}, Request::Help},
        {{"x", "--version", "--help"}, Request::Version},
        {{"--helpme", "-hv"}, Request::Run},
    };
    for (const auto& [arguments, expected] : cases) {
        EXPECT_EQ(StandardRequest(arguments), expected) << ::testing::PrintToString(arguments);
    }
}

TEST(ProgramCommandLineTests, AnswersGoToOutputAndRefusalsNameTheProblemBeforeTheUsage) {
    const ProgramText program{"Tool", "usage: Tool FILE\n"};
    std::ostringstream out;
    EXPECT_EQ(Answer(Request::Help, program, out), 0);
    EXPECT_EQ(Answer(Request::Version, program, out), 0);
    EXPECT_EQ(out.str(), "usage: Tool FILE\n" + VersionLine("Tool") + "\n");
    EXPECT_EQ(VersionLine("Tool").rfind("Tool ", 0), 0u);
    EXPECT_GT(VersionLine("Tool").size(), 5u);

    std::ostringstream errors;
    EXPECT_EQ(Refuse(program, "unknown option --x", errors), UsageExitCode);
    EXPECT_EQ(errors.str(), "Tool: unknown option --x\nusage: Tool FILE\n");
}

TEST(ProgramCommandLineTests, NumbersAreWholeAndWithinTheirRange) {
    EXPECT_EQ(ParseUnsigned("200000", 10'000'000), 200000u);
    EXPECT_EQ(ParseUnsigned("0x10", 16), 16u);
    EXPECT_EQ(ParseUnsigned("10000001", 10'000'000), std::nullopt);
    EXPECT_EQ(ParseUnsigned("18446744073709551617", UINT64_MAX), std::nullopt); // past 64 bits
    for (const char* wrong : {"-5", "+5", "", " 5", "5 ", "5x", "0x", "1e3"}) {
        EXPECT_EQ(ParseUnsigned(wrong, UINT64_MAX), std::nullopt) << wrong;
    }
    EXPECT_EQ(ParseSigned("-32768", INT16_MIN, INT16_MAX), -32768);
    EXPECT_EQ(ParseSigned("+7", 0, 10), 7);
    EXPECT_EQ(ParseSigned("-32769", INT16_MIN, INT16_MAX), std::nullopt);
    EXPECT_EQ(ParseSigned("--1", INT16_MIN, INT16_MAX), std::nullopt);
}
