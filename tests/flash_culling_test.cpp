// Flash squares of particle bursts that no pixel would show are skipped: too faint to round
// to an 8-bit step, or clipped away whole by the view volume.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "assets/sprite_layout.h"
#include "assets/texture_table.h"
#include "common/globals.h"
#include "hud_test_atlas.h"
#include "support/eye_passes.h"
#include "support/gl_test_context.h"
#include "view/flight_camera.h"
#include "world/particle_burst.h"

namespace {

struct FlashCulling : ::testing::Test {
    void SetUp() override {
        REQUIRE_GL();
        shared.fadeAlpha = 1.0f;
        shared.texturingEnabled = true;
    }
};

// A burst lit at the origin with only its flash showing, `age` of the way through its life.
ParticleBurst flashAt(Vec3 at, float age) {
    ParticleBurst burst;
    burst.setCounts(0, 0);
    burst.setFlash(true);
    burst.ignite(at.x, at.y, at.z);
    burst.life = burst.lifetime * (1.0f - age);
    return burst;
}

// The flash square as a burst of that age shows it, drawn here whatever its alpha or place.
void drawFlashSquare(Vec3 at, float age, float alpha) {
    glPushMatrix();
    glTranslatef(at.x, at.y, at.z);
    glScalef(1.0f, age, age);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, textures.spriteAtlas);
    glColor4f(1, 1, 1, shared.fadeAlpha * alpha);
    glBegin(GL_QUADS);
    glVertex3f(0, 1000, 1000);
    glVertex3f(0, 1000, -1000);
    glVertex3f(0, -1000, -1000);
    glVertex3f(0, -1000, 1000);
    glEnd();
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

template <typename Scene>
std::vector<uint8_t> frameOfScene(Scene scene) {
    testgl::clearAll();
    glColor4f(1, 1, 1, 1);
    testgl::drawInBothEyes(scene);
    return testgl::readFrame();
}

TEST_F(FlashCulling, AFlashCountsAsShownFromHalfAnEightBitStepOfAlpha) {
    struct Case {
        float steps;  // alpha in 8-bit steps
        bool shows;
    } cases[] = {{0, false}, {0.2f, false}, {0.49f, false}, {0.51f, true}, {1, true}, {255, true}};
    for (const Case& c : cases) EXPECT_EQ(flashAlphaShows(c.steps / 255.0f), c.shows) << c.steps;
}

// Whatever a flash is skipped for, the picture is the one the whole square gives: a faint
// flash leaves not one pixel, and one wholly behind the eye, beyond the far plane or off to
// the side is clipped away. Faint ones are tried at the brightest white and at half fade.
TEST_F(FlashCulling, SkippedFlashesLeaveThePictureTheWholeSquareGives) {
    textures.spriteAtlas = hudtest::makeLuminance(64, [](float, float) { return 255; });
    struct Case {
        Vec3 at;
        float age;
        float fade;
        bool blank;
        const char* what;
    } cases[] = {
        {{-300, 0, 0}, 0.2f, 1.0f, false, "young, straight ahead"},
        {{-300, 0, 0}, 0.52f, 1.0f, false, "faint but still a step at full fade"},
        {{-300, 0, 0}, 0.55f, 1.0f, true, "under half a step"},
        {{-300, 0, 0}, 0.5f, 0.5f, true, "under half a step after the overall fade"},
        {{-300, 0, 0}, 0.9f, 1.0f, true, "nearly over"},
        {{200, 0, 0}, 0.3f, 1.0f, true, "behind the eye"},
        {{-1200, 0, 0}, 0.3f, 1.0f, true, "beyond the far plane"},
        {{-300, 0, 900}, 0.1f, 1.0f, true, "off to the side"},
        {{-300, 0, 200}, 0.1f, 1.0f, false, "off to the side, its edge reaching in"},
        {{-300, 350, 0}, 0.3f, 1.0f, false, "above, grown into view"},
    };
    for (const Case& c : cases) {
        shared.fadeAlpha = c.fade;
        const ParticleBurst burst = flashAt(c.at, c.age);
        const float alpha = std::pow(1.0f - c.age, 8.0f);
        const std::vector<uint8_t> drawn = frameOfScene([&] { burst.draw(); });
        const std::vector<uint8_t> whole =
            frameOfScene([&] { drawFlashSquare(c.at, c.age, alpha); });
        EXPECT_EQ(drawn, whole) << c.what;
        EXPECT_EQ(testgl::litPixels(drawn, testgl::anyChannel) == 0, c.blank) << c.what;
    }
    shared.fadeAlpha = 1.0f;
}

TEST_F(FlashCulling, ASkippedFlashLeavesTheStateADrawnOneDoes) {
    textures.spriteAtlas = hudtest::makeLuminance(64, [](float, float) { return 255; });
    struct Case {
        Vec3 at;
        float age;
        int pieces;
        const char* what;
    } cases[] = {
        {{-300, 0, 0}, 0.2f, 0, "drawn"},
        {{-300, 0, 0}, 0.8f, 0, "too faint"},
        {{-300, 0, 0}, 0.8f, 10, "too faint, its sparks drawn"},
        {{200, 0, 0}, 0.2f, 10, "behind the eye with its sparks"},
    };
    for (const Case& c : cases) {
        ParticleBurst burst = flashAt(c.at, c.age);
        burst.setCounts(c.pieces, c.pieces);
        burst.scatter();
        burst.ignite(c.at.x, c.at.y, c.at.z);
        burst.life = burst.lifetime * (1.0f - c.age);
        testgl::clearAll();
        loadFlightCamera();
        glBindTexture(GL_TEXTURE_2D, 0);
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glTexCoord2f(7, 7);
        glColor4f(1, 1, 1, 0.8f);
        burst.draw();
        GLfloat coords[4] = {}, colour[4] = {};
        GLint bound = 0;
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coords);
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_FLOAT_EQ(coords[0], kExplosionFlashRect.uLeft) << c.what;
        EXPECT_FLOAT_EQ(coords[1], kExplosionFlashRect.vBottom) << c.what;
        EXPECT_FLOAT_EQ(colour[3], 0.8f) << c.what;
        EXPECT_EQ(static_cast<GLuint>(bound), textures.spriteAtlas) << c.what;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << c.what;
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << c.what;
    }
}

}  // namespace
