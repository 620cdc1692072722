#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "assets/texture_table.h"
#include "common/globals.h"
#include "hud/banner.h"
#include "hud_test_atlas.h"
#include "input/input.h"
#include "platform/clock.h"
#include "player/player_ship.h"
#include "render/stereo_frame.h"
#include "rules/frame_timer.h"
#include "rules/game_update.h"
#include "support/fake_clock.h"
#include "support/gl_test_context.h"
#include "view/fade.h"

namespace {

using hudtest::inside;

constexpr int kPictureLevel = 200;

// Only the rectangle of one picture is lit in the HUD atlas.
void useAtlasLighting(float u0, float u1, float v0, float v1) {
    textures.hudAtlas = hudtest::makeLuminance(512, [=](float u, float v) {
        return inside(u, u0, u1) && inside(v, v0, v1) ? kPictureLevel : 0;
    });
}

struct BannerTest : ::testing::Test {
    void SetUp() override {
        REQUIRE_GL();
        textures.backdropTexture = hudtest::makeLuminance(8, [](float, float) { return 0; });
        player.shield.strength = 0;  // the shield's glow is not what these tests look at
        shared.fadeAlpha = 1.0f;
        shared.stereoEnabled = true;
        shared.eyeSeparation = 5.0f;
    }
};

void advance(Banner& banner, float seconds) {
    shared.frameSeconds = seconds;
    banner.updateBanner();
}

TEST_F(BannerTest, FadingMessageIsHalfBrightHalfwayThroughItsRun) {
    useAtlasLighting(0.0f, 0.66f, 0.08f, 0.16f);  // cannons upgraded
    messageBanner.setImage(BannerCannonsUpgraded);
    messageBanner.setMode(Banner::kStereo | Banner::kFadeOut);
    messageBanner.setDuration(1.5f);
    messageBanner.start();
    for (int i = 0; i < 3; ++i) advance(messageBanner, 0.25f);
    EXPECT_FLOAT_EQ(messageBanner.alpha, 0.5f);

    renderStereoFrame();
    // Its middle, seen by both eyes at the same brightness.
    const auto p = hudtest::project(-170, 16, 0);
    const auto pixel = testgl::readPixel(p.x, p.y);
    EXPECT_NEAR(pixel.r, kPictureLevel / 2, 3);
    EXPECT_NEAR(pixel.b, kPictureLevel / 2, 3);

    // The frame that reaches the end stops it: nothing more is drawn.
    advance(messageBanner, 0.75f);
    EXPECT_FALSE(messageBanner.running);
    renderStereoFrame();
    const auto after = testgl::readPixel(p.x, p.y);
    EXPECT_EQ(after.r, 0);
    EXPECT_EQ(after.b, 0);
}

TEST_F(BannerTest, SlidingCardStartsDeepInTheSceneAndEndsAtTen) {
    useAtlasLighting(0.56f, 0.75f, 0.0f, 0.08f);  // start-of-play card
    shared.stereoEnabled = false;                        // one camera, so one picture to measure
    messageBanner.setImage(BannerStartCard);
    messageBanner.setDuration(1.0f);
    messageBanner.setMode(Banner::kStereo | Banner::kSlideIn);
    messageBanner.start();
    advance(messageBanner, 0.6f);

    renderStereoFrame();
    const auto frame = testgl::readFrame();
    // First seen at x = -990 + 1000 x 0.6 = -390, not at its resting place of -100.
    const auto span = hudtest::litSpan(frame, 240, 0, 40);
    EXPECT_NEAR(span.first, hudtest::project(-390, 0, 12).x, 1);
    EXPECT_NEAR(span.last, hudtest::project(-390, 0, -12).x, 1);

    advance(messageBanner, 0.4f);
    EXPECT_FALSE(messageBanner.running);
    EXPECT_FLOAT_EQ(messageBanner.xOffset, 10.0f);

    // A new mode brings the picture back to its resting place.
    messageBanner.setMode(Banner::kStereo);
    messageBanner.start();
    renderStereoFrame();
    const auto still = hudtest::litSpan(testgl::readFrame(), 240, 0, 40);
    EXPECT_NEAR(still.first, hudtest::project(-100, 0, 12).x, 1);
}

TEST_F(BannerTest, PictureOutsideTheTableDrawsNothingButStillPassesThroughTheFade) {
    useAtlasLighting(0.0f, 1.0f, 0.0f, 1.0f);
    for (int image : {0, BannerNewBest + 1}) {
        Banner banner;
        banner.setImage(image);
        banner.setMode(Banner::kStereo);
        banner.setDuration(1.0f);
        banner.start();
        testgl::clearAll();
        hudtest::centreCamera();

        shared.fadeAlpha = 1.0f;
        glColor4f(1, 1, 1, 0.6f);
        banner.drawBanner();
        EXPECT_FLOAT_EQ(currentAlpha(), 0.6f);
        ASSERT_EQ(testgl::litPixels(testgl::readFrame(), testgl::anyChannel), 0)
            << "image " << image;

        // Like every faded draw it hands the alpha back through the fade once more.
        shared.fadeAlpha = 0.5f;
        glColor4f(1, 1, 1, 0.6f);
        banner.drawBanner();
        EXPECT_FLOAT_EQ(currentAlpha(), 0.3f);
    }
}

TEST_F(BannerTest, PauseNoticeAppearsOnceAtScreenDepthAndStaysFrozenWhilePaused) {
    useAtlasLighting(0.75f, 1.0f, 0.0f, 0.08f);  // pause notice
    testclock::install(1000);
    resetFrameTimer();
    testclock::now = 1100;
    updateGame();  // a first ordinary frame

    testclock::now = 1200;
    windowProc(WM_KEYDOWN, VK_P, 0);
    updateGame();  // P goes down: the notice starts and advances by this frame's 0.1 s
    EXPECT_TRUE(pauseState.paused);

    const auto expectNotice = [] {
        shared.fadeAlpha = 1.0f;
        renderStereoFrame();
        const auto frame = testgl::readFrame();
        const int row = hudtest::project(-170, 16, 0).y;
        const auto red = hudtest::litSpan(frame, row, 0, 40);
        const auto blue = hudtest::litSpan(frame, row, 2, 40);
        // Drawn once for both eyes: no offset between the pictures, and not twice as bright.
        EXPECT_EQ(red.first, blue.first);
        EXPECT_EQ(red.last, blue.last);
        EXPECT_NEAR(red.first, hudtest::project(-170, 16, 12).x, 1);
        EXPECT_NEAR(hudtest::channelAt(frame, 320, row, 0), kPictureLevel * 0.8f, 3);
        EXPECT_NEAR(hudtest::channelAt(frame, 320, row, 2), kPictureLevel * 0.8f, 3);
    };
    expectNotice();

    // A long pause changes nothing.
    testclock::now = 60000;
    updateGame();
    windowProc(WM_KEYUP, VK_P, 0);
    updateGame();
    expectNotice();

    // Resuming: the notice fades out over the rest of its half second.
    windowProc(WM_KEYDOWN, VK_P, 0);
    updateGame();
    EXPECT_FALSE(pauseState.paused);
    windowProc(WM_KEYUP, VK_P, 0);
    testclock::now += 200;
    updateGame();
    EXPECT_NEAR(noticeBanner.alpha, 0.4f, 1e-5f);
    testclock::now += 200;
    updateGame();
    EXPECT_FALSE(noticeBanner.running);
    testclock::uninstall();
}

}  // namespace
