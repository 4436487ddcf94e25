#include "CallTimer.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class RecordingTimer : public GS::CallTimer {
public:
    void Entered(const char* operation) override { events.push_back(std::string("enter ") + operation); }
    void Left(const char* operation) override { events.push_back(std::string("leave ") + operation); }
    std::vector<std::string> events;
};

class TimerInstalled {
public:
    explicit TimerInstalled(GS::CallTimer& timer) { GS::SetCallTimer(&timer); }
    ~TimerInstalled() { GS::SetCallTimer(nullptr); }
    TimerInstalled(const TimerInstalled&) = delete;
    TimerInstalled& operator=(const TimerInstalled&) = delete;
};

void Launch(bool fail) {
    const GS::TimedCall timed("Launch");
    if (fail) {
        throw std::runtime_error("refused");
    }
}

} // namespace

TEST(CallTimer, ATimedCallIsEnteredAndLeftAlsoWhenItThrows) {
    RecordingTimer timer;
    {
        TimerInstalled installed(timer);
        Launch(false);
        EXPECT_THROW(Launch(true), std::runtime_error);
    }
    EXPECT_EQ(timer.events,
              (std::vector<std::string>{"enter Launch", "leave Launch", "enter Launch", "leave Launch"}));
}

TEST(CallTimer, WithoutATimerNothingIsTimedAndACallInProgressKeepsItsTimer) {
    EXPECT_EQ(GS::InstalledCallTimer(), nullptr);
    Launch(false);
    RecordingTimer timer;
    {
        GS::SetCallTimer(&timer);
        const GS::TimedCall timed("Launch");
        // Taken away while the call runs: the call still reports its end to the timer it began with.
        GS::SetCallTimer(nullptr);
    }
    EXPECT_EQ(timer.events, (std::vector<std::string>{"enter Launch", "leave Launch"}));
}
