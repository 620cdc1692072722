#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "assets/meshes.h"
#include "assets/texture_table.h"
#include "render/stereo_frame.h"
#include "support/combat.h"
#include "support/gl_test_context.h"

namespace {

using testgl::channelSum;
using testgl::litPixels;

GLuint makeTexture(GLubyte luminance, GLubyte alpha) {
    GLubyte texels[4 * 2];
    for (int i = 0; i < 4; ++i) {
        texels[2 * i] = luminance;
        texels[2 * i + 1] = alpha;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, 2, 2, 0, GL_LUMINANCE_ALPHA,
                 GL_UNSIGNED_BYTE, texels);
    return name;
}

bool lit(const std::vector<uint8_t>& frame, int x, int y, int channel) {
    return frame[(y * 640 + x) * 3 + channel] > 40;
}

struct CombatRender : ::testing::Test {
    void SetUp() override {
        if (!testgl::open()) GTEST_FAIL() << "no GL context for pixel tests";
        combat::freshGame();
        buildMeshLists();
        textures.backdropTexture = makeTexture(0, 255);
        textures.spriteAtlas = makeTexture(255, 255);
        textures.hudAtlas = makeTexture(255, 255);
        textures.shieldTexture = makeTexture(255, 255);
        textures.fighterTexture = makeTexture(255, 255);
        shared.stereoEnabled = true;
        shared.eyeSeparation = 5.0f;
        shared.playStarted = false;
        player.shipHidden = true;
        player.shield.strength = 0;
    }

    static std::vector<uint8_t> render() {
        glColor4f(1, 1, 1, 1);
        renderStereoFrame();
        return testgl::readFrame();
    }
};

TEST_F(CombatRender, FightersTheirShotsAndPickupsShowInBothEyePasses) {
    const auto empty = render();
    EXPECT_EQ(litPixels(empty, 0, 40), 0);
    EXPECT_EQ(litPixels(empty, 2, 40), 0);

    const std::function<void()> scenes[] = {
        [] { combat::placeFighter(0, -250, 0, 20); },
        [] {
            EnemyFighter& f = combat::placeFighter(0, -250, 0, 20);
            f.fire();
            f.takeDamage(10);  // only the shots and the burst are left
            shared.frameSeconds = 0.4f;
            f.update();
        },
        [] { spawnPickup(-150, 10, -20, 100); },
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(::testing::Message() << "scene " << i);
        combat::freshGame();
        player.shipHidden = true;
        player.shield.strength = 0;
        for (int type = 1; type <= 7; ++type) {
            pickups = {};
            scenes[i]();
            if (pickups[0].active) pickups[0].buildPickup(type);
            const auto frame = render();
            EXPECT_GT(litPixels(frame, 0, 40), 20) << "left eye, pickup type " << type;
            EXPECT_GT(litPixels(frame, 2, 40), 20) << "right eye, pickup type " << type;
            if (!pickups[0].active) break;
        }
    }
    // Nothing is drawn once the fighter has flown past.
    combat::freshGame();
    player.shipHidden = true;
    player.shield.strength = 0;
    EnemyFighter& f = combat::placeFighter(0, 9, 0, 0);
    shared.frameSeconds = 0.1f;
    f.update();
    const auto gone = render();
    EXPECT_EQ(litPixels(gone, 0, 40) + litPixels(gone, 2, 40), 0);
}

// The flash quads pass the alpha test only where the fighter texture is more than half opaque.
TEST_F(CombatRender, MuzzleFlashShowsOnlyWhereTheTextureIsMoreThanHalfOpaque) {
    EnemyFighter& f = combat::placeFighter(0, -120, 0, 0);
    const long hull = channelSum(render(), 0);
    f.muzzleFlash = 10;
    textures.fighterTexture = makeTexture(255, 120);
    const long faint = channelSum(render(), 0);
    textures.fighterTexture = makeTexture(255, 140);
    const long bright = channelSum(render(), 0);
    EXPECT_EQ(faint, hull);
    EXPECT_GT(bright, hull + 1000);
}

// A full shield asks for alpha 1.5, clamped to 1; one of 0.5 for 0.508 and absorbs nothing;
// none draws nothing.
TEST_F(CombatRender, ShieldBrightnessFollowsItsStrength) {
    player.shield.strength = 60;
    const auto fullFrame = render();
    const long full = channelSum(fullFrame, 2);
    EXPECT_NEAR(double(channelSum(fullFrame, 0)) / full, 1.0, 0.05) << "seen by both eyes";
    player.shield.strength = 30;
    const long half = channelSum(render(), 2);
    player.shield.strength = 0.5f;
    const long dying = channelSum(render(), 2);
    player.shield.strength = 0;
    const long none = channelSum(render(), 2);
    EXPECT_EQ(none, 0);
    EXPECT_GT(dying, 0);
    EXPECT_NEAR(double(dying) / full, 0.508, 0.03);
    EXPECT_NEAR(double(half) / full, 1.0, 0.01);  // 1.0 asked: as bright as the clamped 1.5
    EXPECT_FALSE(player.shield.holds());
}

// The shield's texture turns with the ship's shieldSpin: each corner's texture coordinate is
// turned about the origin, then moved by (-0.5, -0.5).
TEST_F(CombatRender, ShieldTextureTurnsWithTheSpin) {
    player.shield.strength = 60;
    player.shieldSpin = 90;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-64, 64, -64, 64, -64, 64);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, 2, 2);  // window coordinates = model / 64 + 1
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    player.draw();
    const int used = glRenderMode(GL_RENDER);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, 640, 480);
    ASSERT_GT(used, 0);

    // The ship's frame sits at (-5, -0.5, -2.1). Corner (0, 20, 20) has (1, 0): turned to (0, 1),
    // moved to (-0.5, 0.5). Corner (-15, -15, -15) has (0.25, 0.75): to (-1.25, -0.25).
    const struct {
        double x, y, z, s, t;
    } corners[] = {{-5, 19.5, 17.9, -0.5, 0.5}, {-20, -15.5, -17.1, -1.25, -0.25}};
    for (const auto& c : corners) {
        int found = 0;
        for (int i = 0; i < used;) {
            const int n = static_cast<int>(buffer[i + 1]);
            for (int k = 0; k < n; ++k) {
                const float* v = &buffer[i + 2 + k * 11];
                const double x = (v[0] - 1) * 64, y = (v[1] - 1) * 64, z = -(2 * v[2] - 1) * 64;
                if (std::abs(x - c.x) + std::abs(y - c.y) + std::abs(z - c.z) < 0.05) {
                    ++found;
                    EXPECT_NEAR(v[7], c.s, 1e-4);
                    EXPECT_NEAR(v[8], c.t, 1e-4);
                }
            }
            i += 2 + n * 11;
        }
        EXPECT_GE(found, 1) << "corner " << c.x << ", " << c.y << ", " << c.z;
    }
}

TEST_F(CombatRender, CrosshairSitsMidScreenInBothEyesAndTheCaptionAboveTheShieldGauge) {
    const auto before = render();
    EXPECT_FALSE(lit(before, 320, 240, 0));
    shared.playStarted = true;
    player.bank = 8;              // the overlay neither rolls
    player.shakeOffset = {6, 6};  // nor shakes
    const auto frame = render();
    for (int channel : {0, 2}) {
        SCOPED_TRACE(channel == 0 ? "left eye" : "right eye");
        // 20 units at 380: about 47 pixels across.
        EXPECT_TRUE(lit(frame, 320, 240, channel));
        EXPECT_TRUE(lit(frame, 320 + 18, 240 - 18, channel));
        EXPECT_FALSE(lit(frame, 320 + 30, 240, channel));
        EXPECT_FALSE(lit(frame, 320, 240 + 30, channel));
        // The caption: 22 x 4 units at 130, up and to the right.
        EXPECT_TRUE(lit(frame, 540, 40, channel));
        EXPECT_FALSE(lit(frame, 540, 70, channel));
    }
}

}  // namespace
