// Every kind of glasses, worn either way round: each eye's picture lands only in the channels of
// the filter over that eye, and no channel carries both pictures.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/texture_table.h"
#include "common/globals.h"
#include "player/player_ship.h"
#include "render/stereo_frame.h"
#include "support/gl_test_context.h"
#include "view/glasses.h"

namespace {

// Black and white stripes far behind the point where the eyes converge: the left eye sees each
// edge further left than the right eye does.
void useStripedBackdrop() {
    static unsigned char stripes[64 * 64];
    for (int i = 0; i < 64 * 64; ++i) stripes[i] = (i % 64) < 32 ? 0 : 255;
    glGenTextures(1, &textures.backdropTexture);
    glBindTexture(GL_TEXTURE_2D, textures.backdropTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE8, 64, 64, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                 stripes);
}

int firstLitColumn(const std::vector<uint8_t>& frame, int channel) {
    for (int x = 1; x < 640; ++x) {
        const auto at = [&](int column) { return frame[(240 * 640 + column) * 3 + channel]; };
        if (at(x - 1) < 100 && at(x) > 100) return x;
    }
    return -1;
}

TEST(Glasses, EachEyeLandsOnlyInItsOwnChannels) {
    REQUIRE_GL();
    struct Case {
        Glasses glasses;
        bool swapped;
        const char* left;  // channels behind the filter over the left eye: "r", "gb", ...
        const char* right;
    };
    const Case cases[] = {
        {Glasses::RedBlue, false, "r", "b"},       {Glasses::RedCyan, false, "r", "gb"},
        {Glasses::GreenMagenta, false, "g", "rb"}, {Glasses::RedGreen, false, "r", "g"},
        {Glasses::RedBlue, true, "b", "r"},        {Glasses::GreenMagenta, true, "rb", "g"},
        {Glasses::RedGreen, true, "g", "r"},
    };
    player.shield.strength = 0;  // its glow lights the middle for both eyes
    useStripedBackdrop();
    fadeAlpha = 1.0f;
    stereoEnabled = true;
    eyeSeparation = 5.0f;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(glassesName(c.glasses)) + (c.swapped ? " swapped" : ""));
        glasses = c.glasses;
        swapEyes = c.swapped;
        glColor4f(1, 1, 1, 1);
        renderStereoFrame();
        const auto frame = testgl::readFrame();
        const std::string rgb = "rgb";
        const std::string left = c.left, right = c.right;
        const int leftEdge = firstLitColumn(frame, static_cast<int>(rgb.find(left[0])));
        const int rightEdge = firstLitColumn(frame, static_cast<int>(rgb.find(right[0])));
        ASSERT_GT(leftEdge, 0);
        EXPECT_LT(leftEdge, rightEdge) << "the left eye's picture is not in the left channels";
        for (int channel = 0; channel < 3; ++channel) {
            const char name = rgb[channel];
            const bool inLeft = left.find(name) != std::string::npos;
            const bool inRight = right.find(name) != std::string::npos;
            // A channel of one eye matches that eye's first channel everywhere; one of neither
            // eye stays black.
            const int same = inLeft    ? static_cast<int>(rgb.find(left[0]))
                             : inRight ? static_cast<int>(rgb.find(right[0]))
                                       : -1;
            for (std::size_t i = 0; i < frame.size(); i += 3) {
                ASSERT_EQ(frame[i + channel], same < 0 ? 0 : frame[i + same])
                    << name << " at byte " << i;
            }
        }
        // Between the edges the stripe is lit for the left eye only.
        const auto* between = &frame[(240 * 640 + (leftEdge + rightEdge) / 2) * 3];
        for (int channel = 0; channel < 3; ++channel) {
            const bool inLeft = left.find(rgb[channel]) != std::string::npos;
            EXPECT_EQ(between[channel] > 100, inLeft) << rgb[channel];
            EXPECT_TRUE(inLeft || between[channel] == 0) << rgb[channel];
        }
    }
}

}  // namespace
