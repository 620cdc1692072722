#include <gtest/gtest.h>

#include "rules/frame_timer.h"
#include "support/fake_clock.h"

namespace {

struct FrameTimerTest : ::testing::Test {
    void SetUp() override {
        testclock::install(0);
        frameTimer = FrameTimer{};
    }
    void TearDown() override { testclock::uninstall(); }
};

TEST_F(FrameTimerTest, FirstTickIsZeroAndSameMillisecondGivesExactlyZero) {
    testclock::now = 5000;
    EXPECT_EQ(tickFrameTimer(), 0.0f);
    testclock::now = 5016;
    EXPECT_FLOAT_EQ(tickFrameTimer(), 0.016f);
    EXPECT_EQ(tickFrameTimer(), 0.0f);
}

TEST_F(FrameTimerTest, ClockWrappingPast32BitsStillGivesTheTrueDelta) {
    testclock::now = 0xFFFFFFF0u;
    tickFrameTimer();
    testclock::now = 0x00000010u;
    EXPECT_FLOAT_EQ(tickFrameTimer(), 0.032f);
    EXPECT_EQ(frameTimer.lastDeltaMs, 32);
}

TEST_F(FrameTimerTest, ResetMeasuresFromTheResetNotFromTheLastTick) {
    testclock::now = 1000;
    tickFrameTimer();
    testclock::now = 90000;  // a long title screen
    resetFrameTimer();
    testclock::now = 90020;
    EXPECT_FLOAT_EQ(tickFrameTimer(), 0.020f);
}

}  // namespace
