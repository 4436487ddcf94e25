#include "XercescInitializer.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

using GSXML::XercescInitializer;

TEST(XercescInitializer, TheFirstInstanceStartsAndTheLastStops) {
    ASSERT_EQ(XercescInitializer::GetReferenceCount(), 0);
    EXPECT_FALSE(XercescInitializer::IsInitialised());
    {
        XercescInitializer module;
        EXPECT_EQ(XercescInitializer::GetReferenceCount(), 1);
        EXPECT_TRUE(XercescInitializer::IsInitialised());
        auto second = std::make_unique<XercescInitializer>();
        EXPECT_EQ(XercescInitializer::GetReferenceCount(), 2);
        second.reset();
        EXPECT_EQ(XercescInitializer::GetReferenceCount(), 1);
        EXPECT_TRUE(XercescInitializer::IsInitialised());
    }
    EXPECT_EQ(XercescInitializer::GetReferenceCount(), 0);
    EXPECT_FALSE(XercescInitializer::IsInitialised());
}

TEST(XercescInitializer, CountsStayExactAcrossThreads) {
    XercescInitializer held;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 1000; ++i) {
                XercescInitializer inner;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(XercescInitializer::GetReferenceCount(), 1);
    EXPECT_TRUE(XercescInitializer::IsInitialised());
}
