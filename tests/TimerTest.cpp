// Frame pacing: how long a frame sleeps for the time it took.
#include <gtest/gtest.h>

#include "app/Timer.h"

TEST(FramePacing, SleepsUpTo33MillisecondsAndNeverWhenLate) {
    EXPECT_EQ(Timer::frameSleep(0), 33);
    EXPECT_EQ(Timer::frameSleep(1), 32);
    EXPECT_EQ(Timer::frameSleep(32), 1);
    EXPECT_EQ(Timer::frameSleep(33), 0);
    EXPECT_EQ(Timer::frameSleep(500), 0);
}

TEST(FramePacing, UnstartedTimerReadsZero) {
    Timer timer;
    EXPECT_FALSE(timer.started);
    EXPECT_EQ(timer.ticks(), 0);
}
