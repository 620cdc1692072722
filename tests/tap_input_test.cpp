// Taps: a press and its release handed to the window procedure in the same pass of a loop, as a
// touchpad tap or a synthetic click delivers them. Every press must reach one frame; a held
// key must read as held in every frame.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/main_loop.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "hud_test_atlas.h"
#include "input/input.h"
#include "input/press_latch.h"
#include "platform/events.h"
#include "render/title_screen.h"
#include "rules/director.h"
#include "rules/frame_timer.h"
#include "rules/game_update.h"
#include "run/game_frame.h"
#include "support/fake_clock.h"
#include "support/gl_test_context.h"

namespace {

struct Control {
    std::string name;
    uint32_t downMessage, upMessage;
    uint64_t wParam;
    std::function<bool()> isDown;
};

const Control kControls[] = {
    {"P key", WM_KEYDOWN, WM_KEYUP, VK_P, [] { return input.keys.isDown(VK_P); }},
    {"Enter key", WM_KEYDOWN, WM_KEYUP, VK_RETURN, [] { return input.keys.isDown(VK_RETURN); }},
    {"left button", WM_LBUTTONDOWN, WM_LBUTTONUP, 0, [] { return input.mouseLeftDown != 0; }},
    {"right button", WM_RBUTTONDOWN, WM_RBUTTONUP, 0, [] { return input.mouseRightDown != 0; }},
    {"joystick button 1", MM_JOY1BUTTONDOWN, MM_JOY1BUTTONUP, JOY_BUTTON1CHG,
     [] { return input.joyButton1; }},
    {"joystick button 2", MM_JOY1BUTTONDOWN, MM_JOY1BUTTONUP, JOY_BUTTON2CHG,
     [] { return input.joyButton2; }},
};

// As the loops hand messages on.
void down(const Control& c) {
    dispatchInput({c.downMessage, c.wParam, makeLParam(10, 20)});
}
void up(const Control& c) {
    dispatchInput({c.upMessage, c.wParam, 0});
}

TEST(Taps, APressReleasedInTheSamePassIsDownForExactlyOneFrame) {
    for (const Control& c : kControls) {
        down(c);
        up(c);
        EXPECT_TRUE(c.isDown()) << c.name << ": the tap never reached a frame";
        endInputFrame();
        EXPECT_FALSE(c.isDown()) << c.name << ": the tap stuck after its frame";
        endInputFrame();
        EXPECT_FALSE(c.isDown()) << c.name;
    }
}

TEST(Taps, HoldingReleasesAtOnceOnceAFrameHasSeenThePress) {
    for (const Control& c : kControls) {
        down(c);
        endInputFrame();
        EXPECT_TRUE(c.isDown()) << c.name;
        down(c);  // auto-repeat while held is no new press
        endInputFrame();
        down(c);
        up(c);
        EXPECT_FALSE(c.isDown()) << c.name << ": a held release was delayed";
    }
}

TEST(Taps, TwoTapsInOnePassAndATapThenHoldInOnePass) {
    for (const Control& c : kControls) {
        down(c);
        up(c);
        down(c);
        up(c);
        EXPECT_TRUE(c.isDown()) << c.name;
        endInputFrame();
        EXPECT_FALSE(c.isDown()) << c.name;

        down(c);
        up(c);
        down(c);  // pressed again and held
        endInputFrame();
        EXPECT_TRUE(c.isDown()) << c.name << ": a held press was let go";
        up(c);
        EXPECT_FALSE(c.isDown()) << c.name;
    }
}

TEST(Taps, TwoClicksInOnePassAreOnePressAtTheFirstPointAndOtherMessagesPass) {
    dispatchInput({WM_LBUTTONDOWN, 0, makeLParam(100, 110)});
    dispatchInput({WM_LBUTTONUP, 0, 0});
    dispatchInput({WM_LBUTTONDOWN, 0, makeLParam(300, 310)});
    dispatchInput({WM_LBUTTONUP, 0, 0});
    EXPECT_EQ(input.clickX, 100);
    EXPECT_EQ(input.clickY, 110);
    endInputFrame();
    EXPECT_EQ(input.mouseLeftDown, 0);

    dispatchInput({MM_JOY1MOVE, 0, makeLParam(0, 0)});  // not a press: straight through
    EXPECT_TRUE(input.joyLeft && input.joyUp);
    dispatchInput({WM_KEYUP, VK_SPACE, 0});  // a release without a press: straight through
    dispatchInput({WM_CLOSE, 0, 0});
    Message quit;
    ASSERT_TRUE(platform::peekMessage(quit));
    EXPECT_EQ(quit.message, WM_QUIT);
}

// Frames the loop under test has run. A loop that missed a tap would run on for ever: after
// a few frames the clock asks it to quit.
int framesRun = 0;
uint32_t countingClock() {
    if (++framesRun == 20) platform::postMessage(WM_QUIT);
    return testclock::readRunning();
}

// The loops themselves, with both halves of each tap posted before the loop runs.
struct TapLoopTest : ::testing::Test {
    void SetUp() override {
        REQUIRE_GL();
        const auto page = [](float, float) { return hudtest::Rgb{90, 90, 90}; };
        textures.titleMainPage = hudtest::makeRgba(16, page);
        textures.titleHelpPage = hudtest::makeRgba(16, page);
        textures.titleOptionsPage = hudtest::makeRgba(16, page);
        testclock::install(5000);
        testclock::step = 10;
        resetFrameTimer();
        platform::setMillisecondClock(countingClock);
        framesRun = 0;
    }
    void TearDown() override { testclock::uninstall(); }

    static void tapAt(int x, int y) {
        platform::postMessage(WM_LBUTTONDOWN, 0, makeLParam(x, y));
        platform::postMessage(WM_LBUTTONUP, 0, makeLParam(x, y));
    }
    static void tapKey(int key) {
        platform::postMessage(WM_KEYDOWN, static_cast<uint64_t>(key), 0);
        platform::postMessage(WM_KEYUP, static_cast<uint64_t>(key), 0);
    }
};

TEST_F(TapLoopTest, ATapOnQuitEndsTheTitleLoop) {
    tapAt(455, 300);
    runTitleLoop();
    EXPECT_EQ(framesRun, 1);
    EXPECT_TRUE(shared.quitRequested);
    EXPECT_EQ(input.mouseLeftDown, 0);
}

TEST_F(TapLoopTest, TapsOnOptionsAndOfEnterAreSeenByTheFirstFrame) {
    tapAt(290, 300);
    tapKey(VK_RETURN);
    runTitleLoop();
    EXPECT_EQ(framesRun, 1);
    EXPECT_TRUE(titleScreen.optionsPage);
    EXPECT_TRUE(shared.titleFinished);
    EXPECT_FALSE(input.keys.isDown(VK_RETURN));
}

TEST_F(TapLoopTest, TapsOfPAndEscapeInTheGameLoopPauseAndQuit) {
    resetDirector();
    tapKey(VK_P);
    tapKey(VK_ESCAPE);
    runGameLoop();
    EXPECT_EQ(framesRun, 1);
    EXPECT_TRUE(shared.quitRequested);
    EXPECT_TRUE(pauseState.paused);
    EXPECT_FALSE(input.keys.isDown(VK_P));
}

}  // namespace
