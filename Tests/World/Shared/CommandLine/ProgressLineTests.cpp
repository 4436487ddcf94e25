#include "ProgressLine.hpp"

#include <gtest/gtest.h>

#include <sstream>

using namespace CommandLine;

TEST(ProgressLineTests, RedrawsOnlyWhenWhatItShowsChangesAndBlanksWhatAShorterLineLeaves) {
    std::ostringstream out;
    {
        ProgressLine line(out, true, "Tool");
        line.Stage("writing out.json", 1000, ProgressLine::Unit::Bytes);
        for (std::uint64_t done = 0; done <= 1000; done += 5) {
            line.Advance(done); // 201 reports, 101 percentages
        }
        line.Stage("reading", 0, ProgressLine::Unit::Bytes);
        line.Advance(2'500'000);
        line.Finish("wrote 3 members");
    }
    const std::string text = out.str();
    std::size_t draws = 0;
    for (const char c : text) {
        if (c == '\r') {
            ++draws;
        }
    }
    EXPECT_EQ(draws, 101u + 2u + 1u); // 0..100 %, "reading", "reading 2.5 MB", the closing line
    EXPECT_NE(text.find("\rTool: writing out.json 57 %"), std::string::npos);
    // "Tool: reading" is shorter than "Tool: writing out.json 100 %": blanks cover the rest.
    EXPECT_NE(text.find("\rTool: reading               \r"), std::string::npos) << text;
    EXPECT_NE(text.find("\rTool: reading 2.5 MB"), std::string::npos);
    // The closing line, last: "Tool: wrote 3 members in S.D s" and the line's end.
    const std::size_t closing = text.rfind("\rTool: wrote 3 members in ");
    ASSERT_NE(closing, std::string::npos) << text;
    const std::string time = text.substr(closing + 26);
    EXPECT_TRUE(time.size() >= 6 && time.find(" s") != std::string::npos && time.back() == '\n' &&
                time.find_first_not_of("0123456789. s\n") == std::string::npos)
        << time;
}

TEST(ProgressLineTests, ShowsNothingWhenNotShownAndEndsALineLeftOpen) {
    std::ostringstream hidden;
    {
        ProgressLine line(hidden, false, "Tool");
        line.Stage("writing", 10);
        line.Advance(5);
        line.Finish("done");
    }
    EXPECT_EQ(hidden.str(), "");

    std::ostringstream stopped;
    {
        ProgressLine line(stopped, true, "Tool");
        line.Stage("counting");
        line.Advance(12'345); // whole thousands once past ten thousand
    }
    EXPECT_EQ(stopped.str(), "\rTool: counting\rTool: counting 12000\n");
}

TEST(ProgressLineTests, ByteCountsReadAsAPersonReadsThem) {
    EXPECT_EQ(ByteCountText(999), "999 bytes");
    EXPECT_EQ(ByteCountText(138'400), "138 kB");
    EXPECT_EQ(ByteCountText(94'123'456), "94.1 MB");
}
