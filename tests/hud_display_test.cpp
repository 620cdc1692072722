#include <GL/gl.h>
#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "assets/sprite_layout.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "assets/banner_layout.h"
#include "hud/hud.h"
#include "hud_test_atlas.h"
#include "player/player_ship.h"
#include "render/stereo_frame.h"
#include "support/gl_test_context.h"

namespace {

using hudtest::inside;

constexpr int kLabelLevel = 100;
constexpr int kIconLevel = 200;

// The HUD atlas: every digit cell in its own grey, the score label a flat grey.
void useHudAtlas() {
    textures.hudAtlas = hudtest::makeLuminance(512, [](float u, float v) {
        if (inside(v, kDigitRowTop, kDigitRowBottom)) {
            const int cell = static_cast<int>(u / kDigitCellWidth);
            return cell < kDigitCells ? hudtest::digitLevel(cell) : 0;
        }
        const AtlasRect& label = kScoreLabelRect;
        if (inside(u, label.uLeft, label.uRight) && inside(v, label.vTop, label.vBottom)) {
            return kLabelLevel;
        }
        return 0;
    });
}

void useSpriteAtlas() {
    textures.spriteAtlas = hudtest::makeLuminance(
        256, [](float u, float v) { return inside(u, v, kLifeIconRect) ? kIconLevel : 0; });
}

// A fresh frame seen from the centre camera, drawing in white at full alpha.
void beginFrame() {
    testgl::clearAll();
    hudtest::centreCamera();
    shared.fadeAlpha = 1.0f;
    glColor4f(1, 1, 1, 1);
}

// Which cell each glyph shows, read from the middle of the part no neighbour overlaps.
std::vector<int> shownCells(const DigitGlyph* glyphs, int count) {
    const auto frame = testgl::readFrame();
    std::vector<int> cells;
    for (int i = 0; i < count; ++i) {
        const DigitGlyph& g = glyphs[i];
        const auto p = hudtest::project(g.position.x, g.position.y - 0.5f * g.height,
                                        g.position.z - 0.5f * g.width);
        cells.push_back(hudtest::cellFromLevel(hudtest::channelAt(frame, p.x, p.y, 0)));
    }
    return cells;
}

struct HudTest : ::testing::Test {
    void SetUp() override {
        REQUIRE_GL();
        player.shield.strength = 0;  // the shield's glow is not what these tests look at
        useHudAtlas();
        useSpriteAtlas();
    }
};

// A big clock in the middle of the screen so every glyph is easy to read.
void placeClock(TimeDisplay& clock, int mode) {
    clock.setPosition(-100, 10, 29.5f);
    clock.setSize(80, 10);
    clock.arrange(mode);
    clock.show();
}

std::vector<int> clockAfter(TimeDisplay& clock, float seconds) {
    shared.frameSeconds = seconds;
    clock.update();
    beginFrame();
    clock.draw();
    return shownCells(clock.glyphs, 8);
}

// The clock's eight glyphs after each of a run of updates: minutes, separator, seconds,
// separator, hundredths; -1 for a glyph not shown.
struct ClockCase {
    const char* what;
    int mode;
    std::vector<std::pair<float, std::vector<int>>> after;  // seconds added, cells shown
};

TEST_F(HudTest, ClockShowsThePlayTimeInItsMode) {
    const ClockCase cases[] = {
        {"minutes, seconds and hundredths", 1, {{83.456f, {0, 1, 10, 2, 3, 10, 4, 5}}}},
        // 0.29 s is 0.28999999 in float; x 100 rounded back to float would read 29 hundredths.
        {"double precision", 1, {{0.29f, {0, 0, 10, 0, 0, 10, 2, 8}}}},
        // Past 100 minutes the spare cells 10 and 11 stand for the tens; at 120 minutes (12 is
        // no cell) the first glyph freezes.
        {"past a hundred minutes",
         1,
         {{6000.5f, {10, 0, 10, 0, 0, 10, 5, 0}},
          {600.0f, {11, 0, 10, 0, 0, 10, 5, 0}},
          {600.0f, {11, 0, 10, 0, 0, 10, 5, 0}},
          {300.0f, {11, 5, 10, 0, 0, 10, 5, 0}}}},
        {"mode 2: minutes and seconds only", 2, {{83.456f, {0, 1, 10, 2, 3, -1, -1, -1}}}},
        {"any other mode: nothing", 3, {{83.456f, std::vector<int>(8, -1)}}},
    };
    for (const ClockCase& c : cases) {
        SCOPED_TRACE(c.what);
        TimeDisplay clock;
        placeClock(clock, c.mode);
        for (const auto& [seconds, cells] : c.after) {
            EXPECT_EQ(clockAfter(clock, seconds), cells) << "after " << seconds << " s more";
        }
    }
}

TEST_F(HudTest, GlyphBrightnessAndFadeScaleTheDigits) {
    TimeDisplay clock;
    placeClock(clock, 1);
    clock.setBrightness(0.7f);
    shared.frameSeconds = 83.456f;
    clock.update();
    beginFrame();
    shared.fadeAlpha = 0.5f;
    clock.draw();
    const auto frame = testgl::readFrame();
    const DigitGlyph& g = clock.glyphs[1];
    const auto p = hudtest::project(g.position.x, g.position.y - 5, g.position.z - 0.5f * g.width);
    EXPECT_NEAR(hudtest::channelAt(frame, p.x, p.y, 0), hudtest::digitLevel(1) * 0.35f, 3);
}

void placeScore(ScoreDisplay& score) {
    score.setPosition(-100, 10, 32);
    score.setSize(50, 10);
    score.arrange(true);
}

TEST_F(HudTest, ScoreShowsTheSeparatorCellAboveAMillionAndKeepsOldDigitsAfterReset) {
    ScoreDisplay score;
    placeScore(score);
    score.addScore(1034560);
    beginFrame();
    score.draw();
    EXPECT_EQ(shownCells(score.glyphs, 6), (std::vector<int>{10, 3, 4, 5, 6, 0}));

    // The label sits left of the digits, in the current colour.
    const auto label = hudtest::project(-100, 5, 32 - 12.5f);
    EXPECT_NEAR(testgl::readPixel(label.x, label.y).r, kLabelLevel, 3);

    score.addScore(200000);  // 1,234,560: 12 is no cell, the first glyph stays
    beginFrame();
    score.draw();
    EXPECT_EQ(shownCells(score.glyphs, 6), (std::vector<int>{10, 3, 4, 5, 6, 0}));

    score.resetScore();
    beginFrame();
    score.draw();
    EXPECT_EQ(shownCells(score.glyphs, 6), (std::vector<int>{10, 3, 4, 5, 6, 0}));

    score.addScore(20);
    beginFrame();
    score.draw();
    EXPECT_EQ(shownCells(score.glyphs, 6), (std::vector<int>{0, 0, 0, 0, 2, 0}));
}

TEST_F(HudTest, ScoreShowsZerosFromTheStartAndNothingUntilArranged) {
    ScoreDisplay score;
    score.setPosition(-100, 10, 32);
    score.setSize(50, 10);
    beginFrame();
    score.draw();
    EXPECT_EQ(shownCells(score.glyphs, 6), std::vector<int>(6, -1));
    score.arrange(true);
    beginFrame();
    score.draw();
    EXPECT_EQ(shownCells(score.glyphs, 6), std::vector<int>(6, 0));
}

TEST(HudScore, TotalWrapsAroundLikeA32BitRegister) {
    ScoreDisplay score;
    score.addScore(INT32_MAX);
    score.addScore(1);
    EXPECT_EQ(score.total, INT32_MIN);
    // Negative remainders are no cells: the digits keep what they showed.
    EXPECT_EQ(score.glyphs[5].cell, 7);
}

// Brightness of each of the first six icon places of a lives row at (-100, 0, 20).
std::vector<int> iconLevels(const LivesDisplay& lives) {
    beginFrame();
    lives.draw();
    const auto frame = testgl::readFrame();
    std::vector<int> levels;
    for (int i = 0; i < 6; ++i) {
        const auto p = hudtest::project(-100, 0, 20.0f - 5.0f * static_cast<float>(i));
        levels.push_back(hudtest::channelAt(frame, p.x, p.y, 0));
    }
    return levels;
}

TEST_F(HudTest, LivesRowDimsTheLastIconAndStaysBetweenNoneAndFive) {
    LivesDisplay lives;
    lives.setPosition(-100, 0, 20);
    lives.setCount(3);
    EXPECT_EQ(iconLevels(lives), std::vector<int>(6, 0));  // not shown yet
    lives.show();

    const int dim = static_cast<int>(kIconLevel * 0.4f);
    auto levels = iconLevels(lives);
    EXPECT_NEAR(levels[0], kIconLevel, 3);
    EXPECT_NEAR(levels[1], kIconLevel, 3);
    EXPECT_NEAR(levels[2], dim, 3);
    EXPECT_EQ(levels[3], 0);

    for (int i = 0; i < 4; ++i) lives.addLife();
    EXPECT_EQ(lives.count, 5);
    levels = iconLevels(lives);
    EXPECT_NEAR(levels[3], kIconLevel, 3);
    EXPECT_NEAR(levels[4], dim, 3);
    EXPECT_EQ(levels[5], 0);

    for (int i = 0; i < 4; ++i) lives.removeLife();
    levels = iconLevels(lives);
    EXPECT_NEAR(levels[0], dim, 3);  // the only life left is dimmed
    EXPECT_EQ(levels[1], 0);

    lives.removeLife();
    lives.removeLife();
    EXPECT_EQ(lives.count, 0);
    beginFrame();
    lives.draw();
    EXPECT_EQ(testgl::litPixels(testgl::readFrame(), testgl::anyChannel), 0);
}

// Lit columns of a bar at (-100, 0, 20) along its middle row, and the value at a given z.
struct BarPicture {
    hudtest::Span span;
    std::vector<uint8_t> frame;
    int at(float z) const {
        const auto p = hudtest::project(-100, 0, z);
        return hudtest::channelAt(frame, p.x, p.y, 0);
    }
};

BarPicture drawBar(float value) {
    BarGauge bar;
    bar.setPosition(-100, 0, 20);
    bar.setValue(value);
    bar.show();
    beginFrame();
    bar.draw();
    BarPicture picture;
    picture.frame = testgl::readFrame();
    picture.span = hudtest::litSpan(picture.frame, hudtest::project(-100, 0, 0).y, 0, 20);
    return picture;
}

TEST_F(HudTest, BarsAreDrawnUnclampedOverTheirBacking) {
    const int bar = static_cast<int>(255 * 0.45f);
    const int backing = static_cast<int>(255 * 0.25f);

    const auto full = drawBar(150);  // 30 units, 10 past the backing
    EXPECT_NEAR(full.at(10), bar + backing, 3);
    EXPECT_NEAR(full.at(-5), bar, 3);
    EXPECT_EQ(full.at(-12), 0);
    EXPECT_NEAR(full.span.first, hudtest::project(-100, 0, 20).x, 1);
    EXPECT_NEAR(full.span.last, hudtest::project(-100, 0, -10).x, 1);

    const auto negative = drawBar(-10);  // 2 units to the left of the position
    EXPECT_NEAR(negative.at(21), bar, 3);
    EXPECT_NEAR(negative.at(10), backing, 3);
    EXPECT_NEAR(negative.span.first, hudtest::project(-100, 0, 22).x, 1);
    EXPECT_NEAR(negative.span.last, hudtest::project(-100, 0, 0).x, 1);
}

TEST_F(HudTest, HudFloatsInFrontOfTheScreenInBothEyePasses) {
    shared.stereoEnabled = true;
    shared.eyeSeparation = 5.0f;
    textures.backdropTexture = hudtest::makeLuminance(8, [](float, float) { return 0; });
    hullGauge.setPosition(-100, 26, 43);
    hullGauge.setValue(100);
    hullGauge.show();
    shared.fadeAlpha = 1.0f;
    glColor4f(1, 1, 1, 1);
    renderStereoFrame();
    const auto frame = testgl::readFrame();
    const int row = hudtest::project(-100, 26, 0).y;
    const auto red = hudtest::litSpan(frame, row, 0, 20);
    const auto blue = hudtest::litSpan(frame, row, 2, 20);
    ASSERT_GE(red.first, 0) << "missing from the red (left eye) pass";
    ASSERT_GE(blue.first, 0) << "missing from the blue (right eye) pass";
    // Nearer than where the eyes converge: the left eye sees it further right.
    EXPECT_GT(red.first, blue.first + 10);
    // Each picture is where its own eye camera puts the bar's ends.
    EXPECT_NEAR(red.first, hudtest::project(-100, 26, 43, 5.0f).x, 1);
    EXPECT_NEAR(red.last, hudtest::project(-100, 26, 23, 5.0f).x, 1);
    EXPECT_NEAR(blue.first, hudtest::project(-100, 26, 43, -5.0f).x, 1);
    EXPECT_NEAR(blue.last, hudtest::project(-100, 26, 23, -5.0f).x, 1);
}

}  // namespace
