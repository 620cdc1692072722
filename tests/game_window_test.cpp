#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/game_window.h"
#include "support/gl_test_context.h"

namespace {

TEST(GameWindow, ResizeToZeroHeightGivesAOnePixelViewportWithoutDividingByZero) {
    REQUIRE_GL();
    resizeView(640, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (float value : projection) EXPECT_TRUE(std::isfinite(value));
    // Aspect 640 / 1: the x scale is the y scale divided by 640.
    EXPECT_NEAR(projection[0] * 640.0f, projection[5], 1e-3f);
    resizeView(640, 480);
}

TEST(GameWindow, InitialStateIsAdditiveUndepthedLitAndFogged) {
    REQUIRE_GL();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE);
}

}  // namespace
