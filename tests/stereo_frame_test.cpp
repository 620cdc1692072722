#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "assets/texture_table.h"
#include "common/globals.h"
#include "player/player_ship.h"
#include "render/stereo_frame.h"
#include "support/gl_test_context.h"
#include "view/glasses.h"

namespace {

// A backdrop whose texture is black on its left half and white on its right: the repeats give
// sharp vertical edges across the screen, far behind the point where the eyes converge.
void useStripedBackdrop() {
    static unsigned char white[64 * 64];
    for (int i = 0; i < 64 * 64; ++i) white[i] = (i % 64) < 32 ? 0 : 255;
    glGenTextures(1, &textures.backdropTexture);
    glBindTexture(GL_TEXTURE_2D, textures.backdropTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE8, 64, 64, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, white);
}

// First column where the given channel turns from dark to lit on the middle row.
int firstLitColumn(const std::vector<uint8_t>& frame, int channel) {
    for (int x = 1; x < 640; ++x) {
        const auto at = [&](int column) { return frame[(240 * 640 + column) * 3 + channel]; };
        if (at(x - 1) < 100 && at(x) > 100) return x;
    }
    return -1;
}

TEST(StereoFrame, EyePassesAreOffsetWithStereoOnAndCoincideWithStereoOff) {
    REQUIRE_GL();
    useStripedBackdrop();
    shared.fadeAlpha = 1.0f;
    glColor4f(1, 1, 1, 1);

    shared.stereoEnabled = true;
    shared.eyeSeparation = 5.0f;
    renderStereoFrame();
    auto frame = testgl::readFrame();
    const int redEdge = firstLitColumn(frame, 0);
    const int blueEdge = firstLitColumn(frame, 2);
    ASSERT_GT(redEdge, 0);
    ASSERT_GT(blueEdge, 0);
    // The backdrop lies beyond the convergence point, so the left (red) eye sees its left edge
    // further left than the right (blue) eye does.
    EXPECT_LT(redEdge, blueEdge);

    GLboolean mask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0]);
    EXPECT_FALSE(mask[1]);
    EXPECT_TRUE(mask[2]);
    for (std::size_t i = 1; i < frame.size(); i += 3) ASSERT_EQ(frame[i], 0) << "green written";

    shared.stereoEnabled = false;
    glColor4f(1, 1, 1, 1);
    renderStereoFrame();
    frame = testgl::readFrame();
    EXPECT_EQ(firstLitColumn(frame, 0), firstLitColumn(frame, 2));
}

// Every kind of glasses, worn either way round: each eye's picture lands only in the channels
// of the filter over that eye, and no channel carries both.
TEST(StereoFrame, EachEyeLandsOnlyInTheChannelsOfItsOwnFilter) {
    REQUIRE_GL();
    struct Case {
        Glasses glasses;
        bool swapped;
        std::string left, right;  // channels behind each eye's filter: "r", "gb", ...
    };
    const Case cases[] = {
        {Glasses::RedBlue, false, "r", "b"},       {Glasses::RedCyan, false, "r", "gb"},
        {Glasses::GreenMagenta, false, "g", "rb"}, {Glasses::RedGreen, false, "r", "g"},
        {Glasses::RedBlue, true, "b", "r"},        {Glasses::GreenMagenta, true, "rb", "g"},
        {Glasses::RedGreen, true, "g", "r"},
    };
    player.shield.strength = 0;  // its glow lights the middle for both eyes
    useStripedBackdrop();
    shared.fadeAlpha = 1.0f;
    shared.stereoEnabled = true;
    shared.eyeSeparation = 5.0f;
    const std::string rgb = "rgb";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(glassesName(c.glasses)) + (c.swapped ? " swapped" : ""));
        glasses = {c.glasses, c.swapped};
        glColor4f(1, 1, 1, 1);
        renderStereoFrame();
        const auto frame = testgl::readFrame();
        const int leftFirst = static_cast<int>(rgb.find(c.left[0]));
        const int rightFirst = static_cast<int>(rgb.find(c.right[0]));
        const int leftEdge = firstLitColumn(frame, leftFirst);
        const int rightEdge = firstLitColumn(frame, rightFirst);
        ASSERT_GT(leftEdge, 0);
        EXPECT_LT(leftEdge, rightEdge) << "the left eye's picture is not in the left channels";
        GLboolean mask[4];
        glGetBooleanv(GL_COLOR_WRITEMASK, mask);  // the overlay is seen through both filters
        // Each channel matches its eye's first channel everywhere; one of neither eye is black.
        for (int channel = 0; channel < 3; ++channel) {
            const bool inLeft = c.left.find(rgb[channel]) != std::string::npos;
            const bool inRight = c.right.find(rgb[channel]) != std::string::npos;
            const int same = inLeft ? leftFirst : inRight ? rightFirst : -1;
            for (std::size_t i = 0; i < frame.size(); i += 3) {
                ASSERT_EQ(frame[i + channel], same < 0 ? 0 : frame[i + same]) << rgb[channel];
            }
            // Between the edges the stripe is lit for the left eye only.
            const uint8_t between = frame[(240 * 640 + (leftEdge + rightEdge) / 2) * 3 + channel];
            EXPECT_EQ(between > 100, inLeft) << rgb[channel];
            EXPECT_EQ(mask[channel] == GL_TRUE, inLeft || inRight) << rgb[channel];
        }
    }
}

TEST(StereoFrame, ClearRemovesGreenLeftByTheTitle) {
    REQUIRE_GL();
    testgl::clearAll();
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_TRUE);
    shared.fadeAlpha = 0.0f;
    renderStereoFrame();
    EXPECT_EQ(testgl::readPixel(320, 240).g, 0);
}

}  // namespace
