#include "ResFormat/StringListFormat.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<std::string> Texts(const ResFormat::StringList& list) {
    return {list.texts.begin(), list.texts.end()};
}

TEST(StringListFormat, TextsFollowEachOtherAfterTheCount) {
    const auto bytes = Bytes(std::string("\x0A\0\0\0OK\0Cancel\0", 14));
    const auto list = ResFormat::ParseStringList(bytes);
    EXPECT_FALSE(list.problem.has_value());
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"OK", "Cancel"}));
}

TEST(StringListFormat, EmptyTextsKeepTheirPlace) {
    const auto bytes = Bytes(std::string("\x05\0\0\0a\0\0b\0", 9));
    const auto list = ResFormat::ParseStringList(bytes);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "", "b"}));
}

TEST(StringListFormat, CountOfZeroHoldsNoTexts) {
    const auto list = ResFormat::ParseStringList(Bytes(std::string("\0\0\0\0", 4)));
    EXPECT_FALSE(list.problem.has_value());
    EXPECT_TRUE(list.texts.empty());
}

TEST(StringListFormat, MalformedListsGiveAProblemAndNoTexts) {
    EXPECT_EQ(*ResFormat::ParseStringList(Bytes(std::string("\x01\0\0", 3))).problem,
              "shorter than its 4-byte count");
    EXPECT_EQ(*ResFormat::ParseStringList(Bytes(std::string("\x09\0\0\0OK\0", 7))).problem,
              "count 9 does not match the 3 bytes that follow it");
    EXPECT_EQ(*ResFormat::ParseStringList(Bytes(std::string("\x01\0\0\0OK\0", 7))).problem,
              "count 1 does not match the 3 bytes that follow it");
    const auto unterminated = ResFormat::ParseStringList(Bytes(std::string("\x05\0\0\0OK\0ab", 9)));
    EXPECT_EQ(*unterminated.problem, "the last text has no closing NUL");
    EXPECT_TRUE(unterminated.texts.empty());
}

} // namespace
