#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "assets/texture_table.h"
#include "common/globals.h"
#include "common/random.h"
#include "hud_test_atlas.h"
#include "support/eye_passes.h"
#include "support/gl_test_context.h"
#include "view/flight_camera.h"
#include "view/view_bounds.h"
#include "world/asteroid.h"
#include "world/particle_burst.h"

namespace {

struct ViewCulling : ::testing::Test {
    void SetUp() override {
        REQUIRE_GL();
        shared.fadeAlpha = 1.0f;
        shared.texturingEnabled = true;
        textures.asteroidTexture = hudtest::makeLuminance(64, [](float, float) { return 255; });
        asteroids = {};
        seedRandom(5);
        asteroids.rock[0].reshape();
        asteroids.rock[0].rotation = {20, 40, 60};
    }
};

std::vector<uint8_t> frameOf(const Asteroid& rock) {
    testgl::clearAll();
    glColor4f(1, 1, 1, 1);
    testgl::drawInBothEyes([&] { rock.draw(); });
    return testgl::readFrame();
}

bool blank(const std::vector<uint8_t>& frame) {
    for (uint8_t v : frame) {
        if (v != 0) return false;
    }
    return true;
}

// The eye sits at x = 30 looking down -x; the view is 30 degrees high at 4:3, the far plane
// 1000 ahead of the eye. At 300 ahead the view reaches about 107 units to either side.
TEST_F(ViewCulling, SpheresOutsideOnePlaneAreDroppedAndTouchingOnesKept) {
    loadFlightCamera();
    struct Case {
        float x, y, z, radius;
        bool depthOnly;
        bool outside;
        const char* what;
    } cases[] = {
        {-270, 0, 0, 5, false, false, "straight ahead"},
        {-1100, 0, 0, 50, false, true, "wholly beyond the far plane"},
        {-1000, 0, 0, 50, false, false, "straddling the far plane"},
        {100, 0, 0, 20, false, true, "behind the eye"},
        {40, 0, 0, 20, false, false, "around the eye"},
        {-270, 0, 200, 50, false, true, "off to the side"},
        {-270, 0, 200, 100, false, false, "off to the side but reaching in"},
        {-270, 140, 0, 40, false, true, "above the view"},
        {-270, 0, 200, 50, true, false, "off to the side, depth planes only"},
        {-1100, 0, 0, 50, true, true, "beyond the far plane, depth planes only"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sphereOutsideView(c.x, c.y, c.z, c.radius, c.depthOnly), c.outside) << c.what;
    }
}

TEST_F(ViewCulling, ARecordedRockDrawsAsItsVerticesAndFollowsANewShape) {
    Asteroid& rock = asteroids.rock[0];
    rock.position = {-100, 0, 0};
    const std::vector<uint8_t> first = frameOf(rock);
    ASSERT_FALSE(blank(first));
    Asteroid loose = rock;  // outside the field: sent vertex by vertex
    EXPECT_EQ(frameOf(loose), first);
    EXPECT_EQ(frameOf(rock), first) << "replayed a second time";

    rock.buildShape();
    rock.position = {-100, 0, 0};
    const std::vector<uint8_t> reshaped = frameOf(rock);
    EXPECT_NE(reshaped, first);
    loose = rock;
    EXPECT_EQ(frameOf(loose), reshaped);
}

TEST_F(ViewCulling, ARockReachingIntoViewFromOutsideIsDrawn) {
    Asteroid& rock = asteroids.rock[0];
    for (Vec3& v : rock.vertices) v = {v.x * 0.2f, v.y * 0.2f, v.z * 0.2f};
    rock.vertices[15] = {0, 80, 0};  // the top apex: a spike far past the rock's nominal radius
    rock.rotation = {};
    // 230 ahead of the eye the view reaches about 62 units up and down: the centre is below
    // it and only the spike comes in.
    rock.position = {-200, -120, 0};
    EXPECT_FALSE(blank(frameOf(rock)));
}

TEST_F(ViewCulling, ASkippedRockOrBurstLeavesTheStateADrawnOneDoes) {
    Asteroid& rock = asteroids.rock[0];
    struct Place {
        Vec3 at;
        bool seen;
        const char* what;
    } places[] = {
        {{-100, 0, 0}, true, "in view"},
        {{-1500, 0, 0}, false, "beyond the far plane"},
        {{200, 0, 0}, false, "behind the eye"},
        {{-100, 0, 400}, false, "off to the side"},
    };
    for (const Place& place : places) {
        rock.position = place.at;
        rock.hitSparks.scatter();
        rock.hitSparks.ignite(place.at.x, place.at.y, place.at.z);
        shared.fadeAlpha = 0.5f;
        testgl::clearAll();
        loadFlightCamera();
        glBindTexture(GL_TEXTURE_2D, 0);
        glNormal3f(9, 9, 9);
        glTexCoord2f(7, 7);
        glColor4f(1, 1, 1, 0.8f);
        rock.draw();
        GLfloat normal[4] = {}, coords[4] = {}, colour[4] = {};
        GLint bound = 0;
        glGetFloatv(GL_CURRENT_NORMAL, normal);
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coords);
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_FLOAT_EQ(normal[0], rock.normals[10].x) << place.what;
        EXPECT_FLOAT_EQ(normal[1], rock.normals[10].y) << place.what;
        EXPECT_FLOAT_EQ(normal[2], rock.normals[10].z) << place.what;
        EXPECT_FLOAT_EQ(coords[0], 0.0f) << place.what;
        EXPECT_FLOAT_EQ(coords[1], 1.0f) << place.what;
        EXPECT_FLOAT_EQ(colour[3], 0.4f) << place.what << ": the burst's alpha hand-back";
        EXPECT_EQ(static_cast<GLuint>(bound), textures.asteroidTexture) << place.what;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << place.what;
        EXPECT_EQ(blank(testgl::readFrame()), !place.seen) << place.what;
    }
    shared.fadeAlpha = 1.0f;
}

}  // namespace
