#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "app/main_loop.h"
#include "assets/banner_layout.h"
#include "assets/texture_table.h"
#include "assets/title_layout.h"
#include "common/globals.h"
#include "hud/hud.h"
#include "hud_test_atlas.h"
#include "input/input.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "player/player_ship.h"
#include "profile/scores.h"
#include "render/stereo_frame.h"
#include "render/title_screen.h"
#include "rules/frame_timer.h"
#include "run/game_frame.h"
#include "support/fake_clock.h"
#include "support/gl_test_context.h"
#include "support/scratch_folder.h"
#include "view/fade.h"
#include "view/frame_scale.h"
#include "view/projection.h"

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

// A point of the main page clear of the best score.
constexpr int kPageX = 320, kPageY = 150;

TEST_F(TitleTest, ClicksOnTheEdgePixelsOfAButtonDoNothing) {
    const MenuRect& start = kStartButton;
    for (auto [x, y] : {std::pair{start.left, midY(start)},
                        {start.right, midY(start)},
                        {midX(start), start.top},
                        {midX(start), start.bottom}}) {
        click(x, y);
        EXPECT_FALSE(titleScreen.startChosen) << x << "," << y;
    }
    click(kQuitButton.left, midY(kQuitButton));
    EXPECT_FALSE(shared.quitRequested);
    click(start.left + 1, start.top + 1);  // the first pixel inside
    EXPECT_TRUE(titleScreen.startChosen);
    click(kQuitButton.right - 1, kQuitButton.bottom - 1);  // the last pixel inside
    EXPECT_TRUE(shared.quitRequested);
}

TEST_F(TitleTest, PagesFollowTheirButtonsAndBackButtons) {
    EXPECT_EQ(seen(kPageX, kPageY).r, kMainRed);

    clickOn(kHelpButton);
    EXPECT_EQ(seen(320, 240).g, kHelpGreen);
    EXPECT_EQ(seen(320, 240).r, 0);
    // The back button sits below the help page.
    EXPECT_EQ(seen(midX(kHelpBackButton), midY(kHelpBackButton)).r, kBackRed);
    clickOn(kHelpBackButton);
    EXPECT_EQ(seen(kPageX, kPageY).r, kMainRed);

    clickOn(kOptionsButton);
    EXPECT_EQ(seen(320, 240).b, kOptionsBlue);
    EXPECT_EQ(seen(midX(kOptionsBackButton), midY(kOptionsBackButton)).r, kBackRed);
    clickOn(kOptionsBackButton);
    EXPECT_EQ(seen(kPageX, kPageY).r, kMainRed);
    EXPECT_FALSE(titleScreen.startChosen);
    EXPECT_FALSE(shared.titleFinished);
}

TEST_F(TitleTest, MainPageShowsTheBestScoreInTheHudDigitsClearOfTheButtons) {
    constexpr int kLabelLevel = 100;
    textures.hudAtlas = hudtest::makeLuminance(512, [](float u, float v) {
        if (inside(v, kDigitRowTop, kDigitRowBottom)) {
            return hudtest::digitLevel(static_cast<int>(u / kDigitCellWidth));
        }
        return inside(u, kBestLabelRect.uLeft, kBestLabelRect.uRight) &&
                       inside(v, kBestLabelRect.vTop, kBestLabelRect.vBottom)
                   ? kLabelLevel
                   : 0;
    });
    testsupport::CapturedStream err;  // no file behind the table: said there, not here
    bestScores.open("", err.file);
    bestScores.enter({90210, 100, 0}, err.file);
    testgl::clearAll();
    drawTitle();
    const auto frame = testgl::readFrame();
    // The stand-in page is red only: green is the label and the digits.
    const auto green = [&](double z) {
        const auto p = hudtest::project(
            -10.0f, static_cast<float>(kBestRowTop + kBestRowBottom) / 2, static_cast<float>(z));
        return hudtest::channelAt(frame, p.x, p.y, 1);
    };
    EXPECT_EQ(green(kBestRowLeft - kBestLabelWidth / 2), kLabelLevel);
    const int expected[6] = {0, 9, 0, 2, 1, 0};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(hudtest::cellFromLevel(
                      green(kBestDigitsLeft - i * kBestDigitStep - kBestDigitWidth / 2)),
                  expected[i])
            << "digit " << i;
    }
    for (const MenuRect& button : {kStartButton, kQuitButton, kHelpButton, kOptionsButton}) {
        for (int y = button.top; y <= button.bottom; ++y) {
            for (int x = button.left; x <= button.right; ++x) {
                ASSERT_EQ(hudtest::channelAt(frame, x, y, 1), 0) << "over a button at " << x;
            }
        }
    }
}

TEST_F(TitleTest, OptionsOpenedDuringTheStartFadeStillEndInTheGame) {
    clickOn(kStartButton);
    ASSERT_TRUE(titleScreen.startChosen);
    frame(250);
    frame(250);
    clickOn(kOptionsButton);  // 10 ms more
    EXPECT_TRUE(titleScreen.optionsPage);
    // The options page, faded like everything else on the title.
    EXPECT_NEAR(seen(320, 240).b, kOptionsBlue * titleScreen.fade, 2);
    EXPECT_LT(titleScreen.fade, 0.5f);
    frame(250);
    EXPECT_FALSE(shared.titleFinished);
    frame(230);  // exactly 0 left: still shown
    EXPECT_FALSE(shared.titleFinished);
    frame(10);
    EXPECT_TRUE(shared.titleFinished);
    EXPECT_FALSE(shared.quitRequested);
}

TEST_F(TitleTest, StereoOffHidesTheSeparationRowAndKeepsTheChoice) {
    clickOn(kOptionsButton);
    clickOn(kSeparationButtons[2]);
    EXPECT_EQ(shared.eyeSeparation, 2.0f);
    EXPECT_EQ(seen(416, 266).r, kMarkerRed);
    EXPECT_EQ(seen(313, 266).b, kOptionsBlue);
    EXPECT_EQ(seen(226, 172).r, kMarkerRed);  // stereo marker on "on"
    EXPECT_EQ(seen(320, 172).g, kOnGreen);

    clickOn(kStereoOffButton);
    EXPECT_FALSE(shared.stereoEnabled);
    EXPECT_EQ(seen(416, 266).r, 0);
    EXPECT_EQ(seen(313, 266).b, 0);
    EXPECT_EQ(seen(320, 100).b, kOptionsBlue);  // the top of the page stays
    EXPECT_EQ(seen(408, 172).r, kMarkerRed);    // stereo marker on "off"
    EXPECT_EQ(seen(226, 172).r, 0);
    EXPECT_EQ(seen(320, 172).g, kOffGreen);

    clickOn(kSeparationButtons[0]);  // hidden
    EXPECT_EQ(shared.eyeSeparation, 2.0f);

    clickOn(kStereoOnButton);
    EXPECT_TRUE(shared.stereoEnabled);
    EXPECT_EQ(shared.eyeSeparation, 2.0f);
    EXPECT_EQ(seen(416, 266).r, kMarkerRed);
    EXPECT_EQ(seen(216, 266).r, 0);
}

TEST_F(TitleTest, EnterDuringTheFadeStartsAtOnce) {
    clickOn(kStartButton);
    frame(100);
    EXPECT_FALSE(shared.titleFinished);
    windowProc(WM_KEYDOWN, VK_RETURN, 0);
    frame(10);
    EXPECT_TRUE(shared.titleFinished);
    EXPECT_GT(titleScreen.fade, 0.8f);
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
    shared.fadeAlpha = 1.0f;
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
    shared.fadeAlpha = 0.0f;
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
    EXPECT_TRUE(shared.titleFinished);
    EXPECT_FALSE(shared.quitRequested);
    EXPECT_LT(titleScreen.fade, 0.0f);
    leaveTitle();
    expectFirstGameFrameDark();
}

TEST_F(TitleTest, EnterSkipsTheFadeAndTheGameStillStartsDark) {
    platform::postMessage(WM_KEYDOWN, VK_RETURN, 0);
    runTitleLoop();
    EXPECT_TRUE(shared.titleFinished);
    EXPECT_FLOAT_EQ(currentAlpha(), 1.0f);  // what the title leaves: the page at full strength
    leaveTitle();
    expectFirstGameFrameDark();
}

// The title page as the window shows it, drawn as the game draws its frames (smaller and
// enlarged when a pixel limit is set): the lit square of the main page's red, client pixels,
// and how many of them one drawn pixel covers.
struct PageBox {
    int left = 0, top = 0, side = 0;
    double pixel = 1;
};
PageBox drawnPage() {
    beginScaledFrame();
    drawTitle();
    endScaledFrame();
    const std::vector<uint8_t> frame = testgl::readFrame();
    int left = windowView.width, right = -1, top = windowView.height, bottom = -1;
    for (int y = 0; y < windowView.height; ++y) {
        for (int x = 0; x < windowView.width; ++x) {
            if (frame[(static_cast<size_t>(y) * windowView.width + x) * 3] < kMainRed / 2) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    const double pixel = 1.0 * windowView.picture.height /
                         frameSizeFor(windowView.picture.width, windowView.picture.height).height;
    EXPECT_NEAR(right - left, bottom - top, 2 * pixel) << "the page is square";
    return {left, top, bottom - top + 1, pixel};
}

// At each window shape the page is centred and takes the share of the picture it takes of 480
// rows, drawn at full size or smaller and enlarged. A click on every button where it is drawn
// does what it does at 640 x 480; a click where it sits at 640 x 480 but is not drawn does
// nothing.
TEST_F(TitleTest, AtEveryWindowShapeThePageIsCentredAndClicksLandOnTheButtonsAsDrawn) {
    struct WindowShape {
        int width, height;
        int pictureHeight;
    };
    // 16:9 and 4:3 fill the window; 5:4 gets bars above and below, 21:9 at the sides.
    constexpr WindowShape kShapes[] = {
        {1280, 720, 720}, {1024, 768, 768}, {1280, 1024, 960}, {2560, 1080, 1080}};
    struct Button {
        const char* name;
        bool optionsPage, helpPage;
        MenuRect rect;
        bool (*done)();
    };
    const Button buttons[] = {
        {"start", false, false, kStartButton, [] { return titleScreen.startChosen; }},
        {"quit", false, false, kQuitButton, [] { return shared.quitRequested; }},
        {"help", false, false, kHelpButton, [] { return titleScreen.helpPage; }},
        {"options", false, false, kOptionsButton, [] { return titleScreen.optionsPage; }},
        {"help back", false, true, kHelpBackButton, [] { return !titleScreen.helpPage; }},
        {"stereo off", true, false, kStereoOffButton, [] { return !shared.stereoEnabled; }},
        {"separation 2", true, false, kSeparationButtons[2],
         [] { return shared.eyeSeparation == 2.0f; }},
        {"options back", true, false, kOptionsBackButton, [] { return !titleScreen.optionsPage; }},
    };
    const PageBox classic = drawnPage();
    for (const WindowShape& shape : kShapes) {
        ASSERT_TRUE(testgl::resizeWindow(shape.width, shape.height));
        PageBox page;
        for (int limit : {100000, 0}) {  // smaller and enlarged, and at full size
            SCOPED_TRACE(testing::Message()
                         << shape.width << "x" << shape.height << " limit " << limit);
            setFramePixelLimit(limit);
            page = drawnPage();
            // Enlarged, each edge may fall anywhere in one drawn pixel.
            EXPECT_NEAR(page.side, classic.side * shape.pictureHeight / 480.0, 2 + page.pixel);
            EXPECT_NEAR(page.left + page.side / 2.0, shape.width / 2.0, 1 + page.pixel);
            EXPECT_NEAR(page.top + page.side / 2.0, shape.height / 2.0, 1 + page.pixel);
        }
        const double scale = static_cast<double>(page.side) / classic.side;
        for (const Button& button : buttons) {
            SCOPED_TRACE(testing::Message()
                         << shape.width << "x" << shape.height << " " << button.name);
            titleScreen.startChosen = shared.quitRequested = false;
            shared.stereoEnabled = true;
            shared.eyeSeparation = 5.0f;
            titleScreen.optionsPage = button.optionsPage;
            titleScreen.helpPage = button.helpPage;
            const double x = (button.rect.left + button.rect.right) / 2.0;
            const double y = (button.rect.top + button.rect.bottom) / 2.0;
            click(static_cast<int>(x), static_cast<int>(y));
            EXPECT_FALSE(button.done()) << "at its 640 x 480 place";
            click(static_cast<int>(page.left + (x - classic.left) * scale),
                  static_cast<int>(page.top + (y - classic.top) * scale));
            EXPECT_TRUE(button.done()) << "where it is drawn";
        }
    }
}

// On a software renderer a large window gets the frame drawn at a whole fraction of its size
// and enlarged without filtering: every drawn pixel is a uniform square, edges included.
TEST_F(TitleTest, AnEnlargedFrameShowsEveryDrawnPixelAsAWholeSquare) {
    setFramePixelLimit(kSoftwareFramePixels);
    for (const auto [width, height, factor] : {std::array{1280, 720, 2}, {1920, 1080, 3}}) {
        SCOPED_TRACE(testing::Message() << width << "x" << height);
        ASSERT_TRUE(testgl::resizeWindow(width, height));
        ASSERT_EQ(enlargementFor(width, height), factor);
        drawnPage();
        const std::vector<uint8_t> frame = testgl::readFrame();
        const auto at = [&](int x, int y) {  // y counted up from the bottom row, as GL draws
            return &frame[(static_cast<size_t>(height - 1 - y) * width + x) * 3];
        };
        int uneven = 0;
        for (int y = 0; y < height / factor * factor; ++y) {
            for (int x = 0; x < width; ++x)
                uneven += !std::equal(at(x, y), at(x, y) + 3, at(x - x % factor, y - y % factor));
        }
        EXPECT_EQ(uneven, 0);
    }
}

TEST_F(TitleTest, QuitButtonEndsTheTitleLoop) {
    platform::postMessage(WM_LBUTTONDOWN, 0, makeLParam(midX(kQuitButton), midY(kQuitButton)));
    runTitleLoop();
    EXPECT_TRUE(shared.quitRequested);
    EXPECT_FALSE(shared.titleFinished);
}

}  // namespace
