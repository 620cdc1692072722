#include <gtest/gtest.h>

#include "app/frame_timer.h"
#include "platform/clock.h"

namespace {

uint32_t fakeNow = 0;
uint32_t fakeClock() {
    return fakeNow;
}

struct FrameTimerTest : ::testing::Test {
    void SetUp() override {
        platform::setMillisecondClock(fakeClock);
        frameTimer = FrameTimer{};
    }
    void TearDown() override { platform::setMillisecondClock(nullptr); }
};

TEST_F(FrameTimerTest, FirstTickIsZeroAndSameMillisecondGivesExactlyZero) {
    fakeNow = 5000;
    EXPECT_EQ(tickFrameTimer(), 0.0f);
    fakeNow = 5016;
    EXPECT_FLOAT_EQ(tickFrameTimer(), 0.016f);
    EXPECT_EQ(tickFrameTimer(), 0.0f);
}

TEST_F(FrameTimerTest, ClockWrappingPast32BitsStillGivesTheTrueDelta) {
    fakeNow = 0xFFFFFFF0u;
    tickFrameTimer();
    fakeNow = 0x00000010u;
    EXPECT_FLOAT_EQ(tickFrameTimer(), 0.032f);
    EXPECT_EQ(frameTimer.lastDeltaMs, 32);
}

TEST_F(FrameTimerTest, ResetMeasuresFromTheResetNotFromTheLastTick) {
    fakeNow = 1000;
    tickFrameTimer();
    fakeNow = 90000;  // a long title screen
    resetFrameTimer();
    fakeNow = 90020;
    EXPECT_FLOAT_EQ(tickFrameTimer(), 0.020f);
}

}  // namespace
