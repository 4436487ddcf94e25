#include "Record/TerminalFilter.hpp"

#include <gtest/gtest.h>

#include <sstream>

using HostSim::FilteredTerminal;
using HostSim::TerminalSafe;

namespace {

// Texts from outside as they would reach the terminal, and what the terminal must get instead.
const struct {
    std::string text;
    std::string shown;
} Cases[] = {
    {"plain text\twith a tab\n", "plain text\twith a tab\n"},
    {"\x1B[2J\x1B]0;title\x07", "\\x1B[2J\\x1B]0;title\\x07"},
    {"over\rwritten", "over\\x0Dwritten"},
    {"delete\x7F", "delete\\x7F"},
    {"C1 \xC2\x9B"
     "31m",
     "C1 \\u009B31m"},
    {"\xC2\xA0 no-break space and \xC3\xA9", "\xC2\xA0 no-break space and \xC3\xA9"},
    {"ends with a lead byte \xC2", "ends with a lead byte \xC2"},
};

TEST(TerminalFilter, ControlCharactersAreShownAsTheirCodes) {
    for (const auto& [text, shown] : Cases) {
        EXPECT_EQ(TerminalSafe(text), shown);
    }
}

// The stream filter sees the text in pieces as the program writes it, a character at a time or
// split inside a UTF-8 sequence, and must end with the same as the whole text would.
TEST(TerminalFilter, AFilteredStreamShowsTheSameWhateverTheWritesSplitsAre) {
    for (const auto& [text, shown] : Cases) {
        std::ostringstream screen;
        {
            const FilteredTerminal filtered(screen);
            for (const char character : text) {
                screen << character;
            }
        }
        EXPECT_EQ(screen.str(), shown);
        std::ostringstream whole;
        {
            const FilteredTerminal filtered(whole);
            whole << text << std::flush;
        }
        EXPECT_EQ(whole.str(), shown);
    }
}

} // namespace
