#include <gtest/gtest.h>

#include "common/globals.h"
#include "input/input.h"
#include "rules/frame_timer.h"
#include "rules/game_update.h"
#include "support/fake_clock.h"

namespace {

struct PauseTest : ::testing::Test {
    void SetUp() override {
        testclock::install(1000);
        resetFrameTimer();
    }
    void TearDown() override { testclock::uninstall(); }

    void frame(uint32_t ms, bool pDown) {
        testclock::now += ms;
        windowProc(pDown ? WM_KEYDOWN : WM_KEYUP, VK_P, 0);
        updateGame();
    }
};

TEST_F(PauseTest, HoldingPPausesOnceAndOnlyAFreshPressResumes) {
    frame(10, true);
    EXPECT_TRUE(pauseState.paused);
    frame(10, true);  // still held: stays paused, no toggle
    frame(10, true);
    EXPECT_TRUE(pauseState.paused);
    frame(10, false);
    EXPECT_TRUE(pauseState.paused);
    frame(10, true);  // a fresh press resumes
    EXPECT_FALSE(pauseState.paused);
    frame(10, true);  // held after resuming: does not pause again
    EXPECT_FALSE(pauseState.paused);
    frame(10, false);
    frame(10, true);
    EXPECT_TRUE(pauseState.paused);
}

TEST_F(PauseTest, PausedTimeNeverReachesFrameSecondsAndTheResumeFrameDoesNoUpdate) {
    frame(20, false);
    EXPECT_FLOAT_EQ(shared.frameSeconds, 0.020f);
    frame(30, true);  // pauses after this frame's update
    EXPECT_FLOAT_EQ(shared.frameSeconds, 0.030f);
    frame(60000, false);  // a minute paused
    frame(5000, true);    // the resume frame: no tick
    EXPECT_FLOAT_EQ(shared.frameSeconds, 0.030f);
    frame(16, false);
    EXPECT_FLOAT_EQ(shared.frameSeconds, 0.016f);
}

}  // namespace
