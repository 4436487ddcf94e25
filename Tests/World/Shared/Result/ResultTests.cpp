#include "Result/Result.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

Result<std::unique_ptr<int>> Made(bool succeed) {
    if (!succeed) {
        return Failure{"cannot make it"};
    }
    return std::make_unique<int>(7);
}

Result<> Checked(int value) {
    if (value < 0) {
        return Failure{"negative: " + std::to_string(value)};
    }
    return {};
}

// What a caller relies on: a success holds its value (a move-only one too) and no error text; a
// failure holds its text and no value.
TEST(Result, ASuccessHoldsItsValueAndAFailureItsText) {
    Result<std::unique_ptr<int>> made = Made(true);
    ASSERT_TRUE(made.Ok());
    EXPECT_EQ(made.Error(), "");
    EXPECT_EQ(*made.Value(), 7);
    const std::unique_ptr<int> taken = std::move(made).Value();
    EXPECT_EQ(*taken, 7);

    const Result<std::unique_ptr<int>> refused = Made(false);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.Error(), "cannot make it");

    EXPECT_TRUE(Checked(1));
    EXPECT_EQ(Checked(1).Error(), "");
    EXPECT_FALSE(Checked(-2));
    EXPECT_EQ(Checked(-2).Error(), "negative: -2");
}

} // namespace
