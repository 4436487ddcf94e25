#include "Screen/RelayedText.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct RelayCase {
    const char* name;
    std::vector<std::string> pieces; // as the pipe gives them
    std::vector<std::string> shown;  // what each piece shows above the prompt
    std::string rest;                // given up at the end
};

} // namespace

// A program's text is shown as it comes, in whole characters, and the prompt always gets a line of its
// own after it.
TEST(RelayedTextTest, ShowsWholeCharactersAndEndsEveryPieceWithALineEnd) {
    const std::vector<RelayCase> cases = {
        {"whole lines", {"one\ntwo\n"}, {"one\ntwo\n"}, ""},
        {"no line end", {"Press a key", " later\n"}, {"Press a key\n", " later\n"}, ""},
        {"a character split in two",
         {"Pr\xC3", "\xBC"
                    "fung\n"},
         {"Pr\n", "\xC3\xBC"
                  "fung\n"},
         ""},
        {"a four-byte character split three ways",
         {"\xF0\x9F", "\x8F", "\x97 x"},
         {"", "", "\xF0\x9F\x8F\x97 x\n"},
         ""},
        {"a character the program never finished", {"end \xE2\x82"}, {"end \n"}, "\xE2\x82"},
        {"bytes that start no character pass", {"\xFF\x80\n"}, {"\xFF\x80\n"}, ""},
        {"a progress line's carriage return", {"50 %\r"}, {"50 %\r\n"}, ""},
        {"nothing", {""}, {""}, ""},
    };
    for (const RelayCase& test : cases) {
        HostSim::RelayedText text;
        std::vector<std::string> shown;
        for (const std::string& piece : test.pieces) {
            shown.push_back(text.Take(piece));
        }
        EXPECT_EQ(shown, test.shown) << test.name;
        EXPECT_EQ(text.Rest(), test.rest) << test.name;
        EXPECT_EQ(text.Rest(), "") << test.name << ": the rest was given twice";
    }
}
