// The flying scene as the player sees it, drawn into a real GL context: the rocks of the
// launched field, beams, missiles and bursts in both eye passes, and the ship fixed in view.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/game_window.h"
#include "assets/meshes.h"
#include "assets/texture_table.h"
#include "hud_test_atlas.h"
#include "render/stereo_frame.h"
#include "rules/game_update.h"
#include "support/flight.h"
#include "support/gl_test_context.h"

namespace {

using namespace flight;

int litFlightPixels(const std::vector<uint8_t>& frame, int channel) {
    int n = 0;
    for (std::size_t i = channel; i < frame.size(); i += 3) n += frame[i] > 24 ? 1 : 0;
    return n;
}

long brightness(const std::vector<uint8_t>& frame) {
    long sum = 0;
    for (uint8_t v : frame) sum += v;
    return sum;
}

struct FlightPicture : ::testing::Test {
    void SetUp() override {
        if (!testgl::open()) GTEST_SKIP() << "no GL context";
        freshShip(3);
        buildMeshLists();
        const auto white = [](float, float) { return 255; };
        textures.asteroidTexture = hudtest::makeLuminance(16, white);
        textures.beamTexture = hudtest::makeLuminance(16, white);
        textures.spriteAtlas = hudtest::makeLuminance(16, white);
        textures.backdropTexture = hudtest::makeLuminance(16, [](float, float) { return 0; });
        player.shipHidden = true;
        player.shield.strength = 0;  // the shield's glow is not what these pictures look at
        shared.stereoEnabled = true;
        shared.eyeSeparation = 5.0f;
    }
    void TearDown() override { setSoundRequestWatcher(nullptr); }

    std::vector<uint8_t> draw() {
        glColor4f(1, 1, 1, 1);
        renderStereoFrame();
        return testgl::readFrame();
    }

    // The launch, then five rocks of the field brought into view 330 units ahead.
    void launchIntoView() {
        launchAsteroids();
        const float spots[5][2] = {{0, 0}, {40, 40}, {-40, 40}, {40, -40}, {-40, -40}};
        for (int i = 0; i < 5; ++i) asteroids.rock[i].position = {-300, spots[i][0], spots[i][1]};
        for (int i = 5; i < asteroids.count; ++i)
            asteroids.rock[i].position.x = -5000;  // fogged out
    }
};

TEST_F(FlightPicture, ALaunchedFieldShowsLitTexturedRocksInBothEyes) {
    const auto empty = draw();
    EXPECT_EQ(litFlightPixels(empty, 0) + litFlightPixels(empty, 2), 0) << "rocks at rest show nothing";

    launchIntoView();
    const auto field = draw();
    const int red = litFlightPixels(field, 0), blue = litFlightPixels(field, 2);
    EXPECT_GT(red, 500);
    EXPECT_GT(blue, 500);
    EXPECT_EQ(litFlightPixels(field, 1), 0) << "green is never written";

    glDisable(GL_LIGHT0);  // without the light only the ambient share is left
    const long unlit = brightness(draw());
    glEnable(GL_LIGHT0);
    EXPECT_LT(unlit * 10, brightness(field) * 8);

    textures.asteroidTexture = hudtest::makeLuminance(16, [](float, float) { return 0; });
    const auto dark = draw();
    EXPECT_LT(litFlightPixels(dark, 0), red / 20) << "the rock's colour comes from its texture";
}

TEST_F(FlightPicture, BeamsMissilesAndBurstsAddLight) {
    const long before = brightness(draw());

    player.addCannons();
    player.enableSpread();
    player.fireCannons();
    player.fireMissiles();
    shared.frameSeconds = 0.02f;  // beams 100 ahead, missiles 12
    player.update(readShipControls());
    const long shots = brightness(draw());
    EXPECT_GT(shots, before + 100000);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "the shots hand back the frame's GL state";
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

    player = {};
    player.shipHidden = true;
    player.shield.strength = 0;
    launchIntoView();
    asteroids.rock[0].hitPoints = 1;
    asteroids.rock[0].takeDamage(1);  // an explosion burst in the middle of the view
    shared.frameSeconds = 0.05f;
    asteroids.rock[0].update();
    asteroids.rock[1].takeDamage(1);  // sparks of a hit that leaves hit points
    asteroids.rock[1].update();
    const long bursts = brightness(draw());
    asteroids.rock[0].explosion.stop();
    asteroids.rock[1].hitSparks.stop();
    const long quiet = brightness(draw());
    EXPECT_GT(bursts, quiet + 10000);
}

TEST_F(FlightPicture, TheShipStaysPutInViewWhileTheWorldMovesAndShakes) {
    player.shipHidden = false;
    player.setCameraOffset(-150, -25, 20);
    const auto still = draw();
    EXPECT_GT(litFlightPixels(still, 0), 200) << "the ship is seen from behind in the opening";
    player.position = {0, 40, -70};
    player.shakeOffset = {12, 7};
    const auto moved = draw();
    EXPECT_EQ(still, moved);
    player.shipHidden = true;
    EXPECT_EQ(litFlightPixels(draw(), 0), 0);
}

// The ship draws its shield with the texture matrix current; the shield's own offset must move
// the frustum on screen, not its texture.
TEST_F(FlightPicture, TheShieldIsDrawnWhereItsOffsetPutsIt) {
    player.shield.strength = fullShieldStrength;
    const std::vector<uint8_t> home = draw();
    player.shield.position = {0, 0, 10};
    const std::vector<uint8_t> moved = draw();
    long differing = 0;
    for (std::size_t i = 0; i < home.size(); ++i) differing += home[i] != moved[i] ? 1 : 0;
    EXPECT_GT(differing, 1000);
}

TEST_F(FlightPicture, ABeamIsDrawnAsLongAsItFlewUpToFourHundred) {
    // Seen from above the flight axis, a beam's lit run along x shows its length.
    const auto drawnLength = [&](float flown) {
        player = {};
        player.cannons[0].setAlpha(1);
        player.cannons[0].setMuzzleOffset(0, 0, 0);
        player.cannons[0].setPosition(-flown, 0, 0);
        player.cannons[0].show();
        testgl::clearAll();
        // Straight down from 100 above the axis, two units per pixel, x running up the screen.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-640, 640, -480, 480, 1, 2000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(-400, 100, 0, -400, 0, 0, 1, 0, 0);
        glColor4f(1, 1, 1, 1);
        player.cannons[0].draw();
        const auto frame = testgl::readFrame();
        resizeView(640, 480);
        int top = -1, bottom = -1;
        for (int y = 0; y < 480; ++y) {
            if (frame[(y * 640 + 320) * 3] > 24) {
                if (top < 0) top = y;
                bottom = y;
            }
        }
        return top < 0 ? 0 : bottom - top + 1;
    };
    const int eighty = drawnLength(80), fourHundred = drawnLength(400), far = drawnLength(700);
    EXPECT_GT(eighty, 0);
    EXPECT_NEAR(static_cast<float>(fourHundred) / static_cast<float>(eighty), 5.0f, 0.3f);
    EXPECT_EQ(far, fourHundred);
}

}  // namespace
