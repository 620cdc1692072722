#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "assets/texture_table.h"
#include "common/globals.h"
#include "common/random.h"
#include "hud_test_atlas.h"
#include "player/player_ship.h"
#include "support/eye_passes.h"
#include "support/gl_test_context.h"
#include "view/fade.h"
#include "world/asteroid.h"
#include "world/particle_burst.h"

using testgl::channelTotals;
using testgl::ChannelTotals;

namespace {

void drawField() {
    for (int i = 0; i < asteroids.count; ++i) asteroids.rock[i].draw();
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
    asteroids = {};
    player.position = {};
    seedRandom(2024);
    launchAsteroids();
    shared.frameSeconds = 0.1f;
    for (int frame = 0; frame < 100; ++frame) {
        for (int i = 0; i < asteroids.count; ++i) {
            asteroids.rock[i].setTarget(0, 0, 0);
            asteroids.rock[i].update();
        }
    }
}

struct WorldPixels : ::testing::Test {
    void SetUp() override {
        REQUIRE_GL();
        shared.fadeAlpha = 1.0f;
        shared.texturingEnabled = true;
        glEnable(GL_LIGHT0);
        white = hudtest::makeLuminance(64, [](float, float) { return 255; });
        black = hudtest::makeLuminance(64, [](float, float) { return 0; });
    }
    GLuint white = 0;
    GLuint black = 0;
};

TEST_F(WorldPixels, ALaunchedFieldShowsLitTexturedRocksToBothEyes) {
    asteroids = {};
    textures.asteroidTexture = white;
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
    // The same faces cover the same pixels, but a few dim, fogged ones round down to black
    // with no light on them; how much brighter the light makes the field depends on how its
    // faces happen to turn towards it.
    EXPECT_NEAR(unlit.redLit, lit.redLit, lit.redLit / 100);
    EXPECT_GT(lit.red, unlit.red * 5 / 4);
    EXPECT_GT(lit.blue, unlit.blue * 5 / 4);

    // Textured: a black rock texture hides them, unless texturing is switched off.
    textures.asteroidTexture = black;
    const ChannelTotals dark = fieldFrame();
    EXPECT_EQ(dark.red + dark.blue, 0);
    shared.texturingEnabled = false;
    const ChannelTotals plain = fieldFrame();
    EXPECT_EQ(plain.red, lit.red);
    EXPECT_EQ(plain.blue, lit.blue);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

// A burst adds light while it runs and its flash spreads over the whole view.
TEST_F(WorldPixels, BurstsAddLightAndTheFlashGrowsOverTheView) {
    textures.spriteAtlas = white;
    seedRandom(5);
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
    shared.frameSeconds = 0.1f;
    burst.update();
    auto picture = frame();
    ChannelTotals early = channelTotals(picture);
    EXPECT_GT(early.redLit, 30);
    EXPECT_GT(early.blueLit, 30);
    // Sparks and debris fly 8-12 units out in 0.1 s: near the centre, not in the corner yet.
    EXPECT_EQ(picture[(20 * 640 + 20) * 3], 0);

    shared.frameSeconds = 0.525f;  // a quarter of the way through
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
    shared.fadeAlpha = 0.0f;
    EXPECT_EQ(channelTotals(frame()).red, 0);
}

// A corner of a drawn triangle: which of the 17 rock vertices, and its texture coordinate.
using Corner = std::array<int, 3>;  // vertex, s x 10, t x 10
using Triangle = std::array<Corner, 3>;

Triangle sorted(Triangle t) {
    std::sort(t.begin(), t.end());
    return t;
}

// The triangles the rock's mesh should give: the belt strip from the middle ring to the
// upper and then the lower ring, four corners per pentagon side, and a fan under each cap.
std::vector<Triangle> expectedTriangles() {
    std::vector<Corner> strip;
    for (int ring : {5, 10}) {
        for (int k = 0; k < 5; ++k) {
            const int next = (k + 1) % 5;
            strip.push_back({k, 0, 0});
            strip.push_back({next, 0, 10});
            strip.push_back({ring + k, 10, 10});
            strip.push_back({ring + next, 10, 0});
        }
    }
    std::vector<Triangle> triangles;
    for (std::size_t i = 0; i + 2 < strip.size(); ++i) {
        triangles.push_back(sorted({strip[i], strip[i + 1], strip[i + 2]}));
    }
    const int fanCoords[6][2] = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}, {0, 10}};
    for (int cap : {15, 16}) {
        const int ring = cap == 15 ? 5 : 10;
        for (int j = 0; j < 5; ++j) {
            triangles.push_back(
                sorted({Corner{cap, 5, 5}, Corner{ring + j % 5, fanCoords[j][0], fanCoords[j][1]},
                        Corner{ring + (j + 1) % 5, fanCoords[j + 1][0], fanCoords[j + 1][1]}}));
        }
    }
    std::sort(triangles.begin(), triangles.end());
    return triangles;
}

// Captures the rock's mesh through GL feedback, drawn at 1/40 scale with identity matrices so
// every corner lands inside the view, and names each corner by the nearest vertex.
TEST_F(WorldPixels, RockMeshIsABeltStripAndTwoCapFans) {
    asteroids = {};
    seedRandom(31);
    launchAsteroids();
    const Asteroid& rock = asteroids.rock[0];

    std::vector<GLfloat> buffer(20000);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(1.0f / 40, 1.0f / 40, 1.0f / 40);
    rock.drawMesh();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    const GLint used = glRenderMode(GL_RENDER);
    ASSERT_GT(used, 0);

    const auto nearestVertex = [&](const GLfloat* corner) {
        const float x = (corner[0] / 320.0f - 1.0f) * 40.0f;
        const float y = (corner[1] / 240.0f - 1.0f) * 40.0f;
        const float z = (corner[2] * 2.0f - 1.0f) * 40.0f;
        int best = -1;
        float bestDistance = 0.05f;
        for (int i = 0; i < 17; ++i) {
            const Vec3& v = rock.vertices[i];
            const float d = std::fabs(v.x - x) + std::fabs(v.y - y) + std::fabs(v.z - z);
            if (d < bestDistance) {
                best = i;
                bestDistance = d;
            }
        }
        return best;
    };
    constexpr int kFloatsPerCorner = 3 + 4 + 4;
    std::vector<Triangle> drawn;
    for (GLint at = 0; at < used;) {
        ASSERT_EQ(buffer[at], GL_POLYGON_TOKEN);
        ASSERT_EQ(buffer[at + 1], 3.0f);
        Triangle t;
        for (int c = 0; c < 3; ++c) {
            const GLfloat* corner = &buffer[at + 2 + c * kFloatsPerCorner];
            const GLfloat* coord = corner + 7;
            t[c] = {nearestVertex(corner), static_cast<int>(std::lround(coord[0] * 10)),
                    static_cast<int>(std::lround(coord[1] * 10))};
            ASSERT_GE(t[c][0], 0) << "a corner that is no vertex of the rock";
        }
        drawn.push_back(sorted(t));
        at += 2 + 3 * kFloatsPerCorner;
    }
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn.size(), 48u);
    EXPECT_EQ(drawn, expectedTriangles());
}

}  // namespace
