#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "assets/texture_table.h"
#include "common/globals.h"
#include "hud_test_atlas.h"
#include "player/player_ship.h"
#include "render/stereo_frame.h"
#include "support/eye_passes.h"
#include "support/gl_test_context.h"
#include "world/asteroid.h"
#include "world/particle_burst.h"

using testgl::channelTotals;
using testgl::ChannelTotals;

namespace {

void drawField() {
    for (int i = 0; i < asteroidCount; ++i) asteroids[i].draw();
}

// The field in both eyes, in white, on a cleared frame.
ChannelTotals fieldFrame() {
    testgl::clearAll();
    glColor4f(1, 1, 1, 1);
    testgl::drawInBothEyes(drawField);
    return channelTotals(testgl::readFrame());
}

// Launches the field around a player at the origin and lets it fly in for ten seconds.
void launchAndFly() {
    resetAsteroids();
    player.position = {};
    std::srand(2024);
    launchAsteroids();
    frameSeconds = 0.1f;
    for (int frame = 0; frame < 100; ++frame) {
        for (int i = 0; i < asteroidCount; ++i) {
            asteroids[i].setTarget(0, 0, 0);
            asteroids[i].update();
        }
    }
}

struct WorldPixels : ::testing::Test {
    void SetUp() override {
        REQUIRE_GL();
        fadeAlpha = 1.0f;
        texturingEnabled = true;
        glEnable(GL_LIGHT0);
        white = hudtest::makeLuminance(64, [](float, float) { return 255; });
        black = hudtest::makeLuminance(64, [](float, float) { return 0; });
    }
    GLuint white = 0;
    GLuint black = 0;
};

TEST_F(WorldPixels, ALaunchedFieldShowsLitTexturedRocksToBothEyes) {
    resetAsteroids();
    textures.texture0 = white;
    ChannelTotals resting = fieldFrame();
    EXPECT_EQ(resting.red + resting.blue, 0) << "a resting field shows nothing";

    launchAndFly();
    const ChannelTotals lit = fieldFrame();
    EXPECT_GT(lit.redLit, 200);
    EXPECT_GT(lit.blueLit, 200);
    EXPECT_EQ(lit.green, 0);

    // Lit: without the light only the ambient share of every overlapping face is left.
    glDisable(GL_LIGHT0);
    const ChannelTotals unlit = fieldFrame();
    glEnable(GL_LIGHT0);
    EXPECT_EQ(unlit.redLit, lit.redLit);
    EXPECT_GT(lit.red, unlit.red * 3 / 2);
    EXPECT_GT(lit.blue, unlit.blue * 3 / 2);

    // Textured: a black rock texture hides them, unless texturing is switched off.
    textures.texture0 = black;
    const ChannelTotals dark = fieldFrame();
    EXPECT_EQ(dark.red + dark.blue, 0);
    texturingEnabled = false;
    const ChannelTotals plain = fieldFrame();
    EXPECT_EQ(plain.red, lit.red);
    EXPECT_EQ(plain.blue, lit.blue);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

// A burst adds light while it runs and its flash spreads over the whole view.
TEST_F(WorldPixels, BurstsAddLightAndTheFlashGrowsOverTheView) {
    textures.texture7 = white;
    std::srand(5);
    ParticleBurst burst;
    burst.setSpherical(true);
    burst.setFlash(true);
    const auto frame = [&] {
        testgl::clearAll();
        glColor4f(1, 1, 1, 1);
        testgl::drawInBothEyes([&] { burst.draw(); });
        return testgl::readFrame();
    };
    EXPECT_EQ(channelTotals(frame()).red, 0) << "idle bursts draw nothing";

    burst.ignite(-200, 0, 0);
    frameSeconds = 0.1f;
    burst.update();
    auto picture = frame();
    ChannelTotals early = channelTotals(picture);
    EXPECT_GT(early.redLit, 30);
    EXPECT_GT(early.blueLit, 30);
    // Sparks and debris fly 8-12 units out in 0.1 s: near the centre, not in the corner yet.
    EXPECT_EQ(picture[(20 * 640 + 20) * 3], 0);

    frameSeconds = 0.525f;  // a quarter of the way through
    burst.update();
    picture = frame();
    const int corner = picture[(20 * 640 + 20) * 3];
    EXPECT_GT(corner, 10);
    EXPECT_LT(corner, 60);  // the flash is at a tenth of full alpha by now
    EXPECT_NEAR(currentAlpha(), 1.0f, 1e-6f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

    burst.setFlash(false);
    picture = frame();
    EXPECT_EQ(picture[(20 * 640 + 20) * 3], 0);
    EXPECT_GT(channelTotals(picture).red, 0);

    // Faded out completely, the burst adds nothing.
    fadeAlpha = 0.0f;
    EXPECT_EQ(channelTotals(frame()).red, 0);
}

}  // namespace
