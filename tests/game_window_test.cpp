#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

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
    // Undistorted in whatever part of the strip the picture takes.
    EXPECT_NEAR(projection[0] * static_cast<float>(viewport[2]), projection[5], 1e-3f);
    resizeView(640, 480);
}

// A square straight ahead of a camera at the origin, `distance` units away.
void squareAhead(float distance, float grey) {
    const float half = distance * 0.1f;
    glColor4f(grey, grey, grey, 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(-half, -half, -distance);
    glVertex3f(half, -half, -distance);
    glVertex3f(half, half, -distance);
    glVertex3f(-half, half, -distance);
    glEnd();
}

// What every draw of the game relies on, seen in the pixels: overlapping pictures add up,
// nearer ones do not hide farther ones, and the distance fades into the black fog.
TEST(GameWindow, StartStateAddsPicturesIgnoresDepthAndFogsTheDistance) {
    REQUIRE_GL();
    glDisable(GL_LIGHTING);  // unlit colours, so the pixel tells the blend and the fog
    testgl::clearAll();
    glLoadIdentity();
    squareAhead(100, 0.25f);
    squareAhead(100, 0.25f);
    EXPECT_NEAR(testgl::readPixel(320, 240).r, 128, 3) << "two quarter-bright squares add up";

    testgl::clearAll();
    squareAhead(100, 0.25f);
    squareAhead(400, 0.25f);  // behind the first, drawn after it, still inside the fog's start
    EXPECT_NEAR(testgl::readPixel(320, 240).r, 128, 3) << "the farther square is not hidden";

    testgl::clearAll();
    squareAhead(750, 1.0f);  // halfway through the fog
    EXPECT_NEAR(testgl::readPixel(320, 240).r, 128, 4);
    testgl::clearAll();
    squareAhead(990, 1.0f);
    EXPECT_LT(testgl::readPixel(320, 240).r, 10) << "almost gone at the far end";
}

// The renderer's working memory for a frame comes and goes in small blocks; with a GL context
// made, freeing them must leave the heap as large as it was, ready for the next frame, instead
// of handing the pages back to the kernel to be faulted in again.
TEST(GameWindow, FreedFrameMemoryStaysForTheNextFrame) {
    REQUIRE_GL();
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    for (int megabytes : {1, 8, 40}) {
        std::vector<void*> blocks;
        for (int i = 0; i < megabytes * 16; ++i) blocks.push_back(std::malloc(64 * 1024));
        const size_t grown = mallinfo2().arena;
        for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) std::free(*it);
        EXPECT_EQ(mallinfo2().arena, grown) << megabytes << " MB freed";
    }
#else
    GTEST_SKIP() << "another allocator keeps its own memory";
#endif
}

}  // namespace
