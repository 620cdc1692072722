#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "hud/hud.h"
#include "hud_test_atlas.h"
#include "input/input.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "player/player_ship.h"
#include "render/stereo_frame.h"
#include "assets/title_layout.h"
#include "render/title_screen.h"
#include "rules/frame_timer.h"
#include "run/game_frame.h"
#include "support/fake_clock.h"
#include "support/gl_test_context.h"
#include "view/fade.h"

namespace {

using hudtest::inside;
using hudtest::Rgb;

// Stand-in pages: the main page red, help green, the options page blue with its widgets below.
constexpr int kMainRed = 200;
constexpr int kHelpGreen = 200;
constexpr int kOptionsBlue = 100;
constexpr int kMarkerRed = 200;
constexpr int kBackRed = 120;
constexpr int kOnGreen = 150;
constexpr int kOffGreen = 80;

void useTitleTextures() {
    textures.titleMainPage = hudtest::makeRgba(64, [](float, float) {
        return Rgb{kMainRed, 0, 0};
    });
    textures.titleHelpPage = hudtest::makeRgba(64, [](float, float) {
        return Rgb{0, kHelpGreen, 0};
    });
    textures.titleOptionsPage = hudtest::makeRgba(64, [](float s, float t) {
        const auto shows = [s, t](const TitleQuad& q) {
            return inside(s, static_cast<float>(q.sLeft), static_cast<float>(q.sRight)) &&
                   inside(t, static_cast<float>(q.tTop), static_cast<float>(q.tBottom));
        };
        if (t < kOptionsPageStereo.tBottom) return Rgb{0, 0, kOptionsBlue};
        if (shows(kOnLabelQuad)) return Rgb{0, kOnGreen, 0};
        if (shows(kOffLabelQuad)) return Rgb{0, kOffGreen, 0};
        if (shows(kStereoOnMarker)) return Rgb{kMarkerRed, 0, 0};
        if (shows(kBackButtonQuad)) return Rgb{kBackRed, 0, 0};
        return Rgb{0, 0, 0};
    });
}

uint32_t runningClock() {
    return testclock::now += 25;
}

struct TitleTest : ::testing::Test {
    void SetUp() override {
        REQUIRE_GL();
        player.shield.strength = 0;  // the shield's glow is not what these tests look at
        useTitleTextures();
        testclock::install(1000);
        resetFrameTimer();
    }
    void TearDown() override { testclock::uninstall(); }

    // One pass of the title loop after `ms` milliseconds.
    static void frame(uint32_t ms = 10) {
        testclock::now += ms;
        drawTitle();
        updateTitleFrame();
    }
    // Press, one frame with the button held, release.
    static void click(int x, int y) {
        windowProc(WM_LBUTTONDOWN, 0, makeLParam(x, y));
        frame();
        windowProc(WM_LBUTTONUP, 0, 0);
    }
    static testgl::Pixel seen(int x, int y) {
        drawTitle();
        return testgl::readPixel(x, y);
    }
};

// The middle of a hit area, in client pixels of the 640 x 480 window.
constexpr int midX(const MenuRect& r) {
    return (r.left + r.right) / 2;
}
constexpr int midY(const MenuRect& r) {
    return (r.top + r.bottom) / 2;
}
void clickOn(const MenuRect& r) {
    TitleTest::click(midX(r), midY(r));
}

TEST_F(TitleTest, ClicksOnTheEdgePixelsOfAButtonDoNothing) {
    const MenuRect& start = kStartButton;
    for (auto [x, y] : {std::pair{start.left, midY(start)}, {start.right, midY(start)},
                        {midX(start), start.top}, {midX(start), start.bottom}}) {
        click(x, y);
        EXPECT_FALSE(startChosen) << x << "," << y;
    }
    click(kQuitButton.left, midY(kQuitButton));
    EXPECT_FALSE(quitRequested);
    click(start.left + 1, start.top + 1);  // the first pixel inside
    EXPECT_TRUE(startChosen);
    click(kQuitButton.right - 1, kQuitButton.bottom - 1);  // the last pixel inside
    EXPECT_TRUE(quitRequested);
}

TEST_F(TitleTest, PagesFollowTheirButtonsAndBackButtons) {
    EXPECT_EQ(seen(320, 240).r, kMainRed);

    clickOn(kHelpButton);
    EXPECT_EQ(seen(320, 240).g, kHelpGreen);
    EXPECT_EQ(seen(320, 240).r, 0);
    // The back button sits below the help page.
    EXPECT_EQ(seen(midX(kHelpBackButton), midY(kHelpBackButton)).r, kBackRed);
    clickOn(kHelpBackButton);
    EXPECT_EQ(seen(320, 240).r, kMainRed);

    clickOn(kOptionsButton);
    EXPECT_EQ(seen(320, 240).b, kOptionsBlue);
    EXPECT_EQ(seen(midX(kOptionsBackButton), midY(kOptionsBackButton)).r, kBackRed);
    clickOn(kOptionsBackButton);
    EXPECT_EQ(seen(320, 240).r, kMainRed);
    EXPECT_FALSE(startChosen);
    EXPECT_FALSE(titleFinished);
}

TEST_F(TitleTest, OptionsOpenedDuringTheStartFadeStillEndInTheGame) {
    clickOn(kStartButton);
    ASSERT_TRUE(startChosen);
    frame(250);
    frame(250);
    clickOn(kOptionsButton);  // 10 ms more
    EXPECT_TRUE(optionsPage);
    // The options page, faded like everything else on the title.
    EXPECT_NEAR(seen(320, 240).b, kOptionsBlue * titleFade, 2);
    EXPECT_LT(titleFade, 0.5f);
    frame(250);
    EXPECT_FALSE(titleFinished);
    frame(230);  // exactly 0 left: still shown
    EXPECT_FALSE(titleFinished);
    frame(10);
    EXPECT_TRUE(titleFinished);
    EXPECT_FALSE(quitRequested);
}

TEST_F(TitleTest, StereoOffHidesTheSeparationRowAndKeepsTheChoice) {
    clickOn(kOptionsButton);
    clickOn(kSeparationButtons[2]);
    EXPECT_EQ(eyeSeparation, 2.0f);
    EXPECT_EQ(seen(416, 266).r, kMarkerRed);
    EXPECT_EQ(seen(313, 266).b, kOptionsBlue);
    EXPECT_EQ(seen(226, 172).r, kMarkerRed);  // stereo marker on "on"
    EXPECT_EQ(seen(320, 172).g, kOnGreen);

    clickOn(kStereoOffButton);
    EXPECT_FALSE(stereoEnabled);
    EXPECT_EQ(seen(416, 266).r, 0);
    EXPECT_EQ(seen(313, 266).b, 0);
    EXPECT_EQ(seen(320, 100).b, kOptionsBlue);  // the top of the page stays
    EXPECT_EQ(seen(408, 172).r, kMarkerRed);    // stereo marker on "off"
    EXPECT_EQ(seen(226, 172).r, 0);
    EXPECT_EQ(seen(320, 172).g, kOffGreen);

    clickOn(kSeparationButtons[0]);  // hidden
    EXPECT_EQ(eyeSeparation, 2.0f);

    clickOn(kStereoOnButton);
    EXPECT_TRUE(stereoEnabled);
    EXPECT_EQ(eyeSeparation, 2.0f);
    EXPECT_EQ(seen(416, 266).r, kMarkerRed);
    EXPECT_EQ(seen(216, 266).r, 0);
}

TEST_F(TitleTest, EnterDuringTheFadeStartsAtOnce) {
    clickOn(kStartButton);
    frame(100);
    EXPECT_FALSE(titleFinished);
    windowProc(WM_KEYDOWN, VK_RETURN, 0);
    frame(10);
    EXPECT_TRUE(titleFinished);
    EXPECT_GT(titleFade, 0.8f);
}

// How far apart the red and blue pictures of a bar at HUD depth are, in pixels.
int hudDisparity() {
    glColor4f(1, 1, 1, 1);
    renderStereoFrame();
    const auto frame = testgl::readFrame();
    const int row = hudtest::project(-100, 0, 0).y;
    return hudtest::litSpan(frame, row, 0, 20).first - hudtest::litSpan(frame, row, 2, 20).first;
}

TEST_F(TitleTest, ChosenSeparationSetsTheDepthOfTheGamePicture) {
    textures.backdropTexture = hudtest::makeLuminance(8, [](float, float) { return 0; });
    fadeAlpha = 1.0f;
    hullGauge.setPosition(-100, 0, 10);
    hullGauge.setValue(100);
    hullGauge.show();

    clickOn(kOptionsButton);
    const int wide = hudDisparity();
    clickOn(kSeparationButtons[1]);
    const int middle = hudDisparity();
    clickOn(kSeparationButtons[2]);
    const int narrow = hudDisparity();
    clickOn(kStereoOffButton);
    const int flat = hudDisparity();

    EXPECT_GT(wide, middle);
    EXPECT_GT(middle, narrow);
    EXPECT_GT(narrow, 0);
    EXPECT_NEAR(narrow, wide * 0.4f, 2);
    EXPECT_EQ(flat, 0);
}

// The first game frame, as the switch hands it over: the director has not faded in yet.
void expectFirstGameFrameDark() {
    textures.backdropTexture = hudtest::makeLuminance(8, [](float, float) { return 255; });
    fadeAlpha = 0.0f;
    renderStereoFrame();
    const auto frame = testgl::readFrame();
    int brightest = 0;
    for (uint8_t value : frame) brightest = std::max<int>(brightest, value);
    EXPECT_EQ(brightest, 0) << "the backdrop flashed before the fade-in";
}

TEST_F(TitleTest, TitleLoopRunsTheStartFadeAndTheGameStartsDark) {
    platform::setMillisecondClock(runningClock);
    // The button stays held: the loop takes one message per pass, so a release posted now
    // would arrive before any frame saw the press.
    platform::postMessage(WM_LBUTTONDOWN, 0, makeLParam(midX(kStartButton), midY(kStartButton)));
    runTitleLoop();
    EXPECT_TRUE(titleFinished);
    EXPECT_FALSE(quitRequested);
    EXPECT_LT(titleFade, 0.0f);
    leaveTitle();
    expectFirstGameFrameDark();
}

TEST_F(TitleTest, EnterSkipsTheFadeAndTheGameStillStartsDark) {
    platform::postMessage(WM_KEYDOWN, VK_RETURN, 0);
    runTitleLoop();
    EXPECT_TRUE(titleFinished);
    EXPECT_FLOAT_EQ(currentAlpha(), 1.0f);  // what the title leaves: the page at full strength
    leaveTitle();
    expectFirstGameFrameDark();
}

TEST_F(TitleTest, QuitButtonEndsTheTitleLoop) {
    platform::postMessage(WM_LBUTTONDOWN, 0, makeLParam(midX(kQuitButton), midY(kQuitButton)));
    runTitleLoop();
    EXPECT_TRUE(quitRequested);
    EXPECT_FALSE(titleFinished);
}

}  // namespace
