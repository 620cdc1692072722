// Small stand-ins for the game's atlases and helpers to find where a world point lands on
// screen, for the HUD, banner and title pixel tests.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "assets/atlas_rect.h"
#include "support/gl_test_context.h"
#include "view/flight_camera.h"

namespace hudtest {

// Each digit cell gets its own grey level, so a pixel tells which cell a glyph shows.
inline int digitLevel(int cell) {
    return 15 + 20 * cell;
}

// The cell whose level is nearest the pixel value, given the alpha the glyph was drawn with;
// -1 when nothing was drawn there.
inline int cellFromLevel(int value, float alpha = 1.0f) {
    if (value < 8) return -1;
    const float level = static_cast<float>(value) / alpha;
    return static_cast<int>(std::lround((level - 15.0f) / 20.0f));
}

// A texture with nearest filtering, so each texel reads back exactly.
inline GLuint uploadNearest(int size, GLint internalFormat, GLenum format, const void* texels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, size, size, 0, format, GL_UNSIGNED_BYTE, texels);
    return name;
}

// A luminance texture, nearest filtering, no mipmaps; texel (col, row) takes level(u, v) at its
// centre, row 0 at v = 0.
inline GLuint makeLuminance(int size, const std::function<int(float u, float v)>& level) {
    std::vector<uint8_t> texels(static_cast<size_t>(size * size));
    for (int row = 0; row < size; ++row) {
        for (int col = 0; col < size; ++col) {
            const float u = (static_cast<float>(col) + 0.5f) / static_cast<float>(size);
            const float v = (static_cast<float>(row) + 0.5f) / static_cast<float>(size);
            texels[static_cast<size_t>(row * size + col)] = static_cast<uint8_t>(level(u, v));
        }
    }
    return uploadNearest(size, GL_LUMINANCE8, GL_LUMINANCE, texels.data());
}

// An RGBA texture, nearest filtering; colour(s, t) gives r, g, b at each texel centre, alpha 255.
struct Rgb {
    int r, g, b;
};
inline GLuint makeRgba(int size, const std::function<Rgb(float s, float t)>& colour) {
    std::vector<uint8_t> texels(static_cast<size_t>(size * size * 4));
    for (int row = 0; row < size; ++row) {
        for (int col = 0; col < size; ++col) {
            const Rgb c = colour((static_cast<float>(col) + 0.5f) / static_cast<float>(size),
                                 (static_cast<float>(row) + 0.5f) / static_cast<float>(size));
            uint8_t* texel = &texels[static_cast<size_t>((row * size + col) * 4)];
            texel[0] = static_cast<uint8_t>(c.r);
            texel[1] = static_cast<uint8_t>(c.g);
            texel[2] = static_cast<uint8_t>(c.b);
            texel[3] = 255;
        }
    }
    return uploadNearest(size, GL_RGBA8, GL_RGBA, texels.data());
}

inline bool inside(float value, float low, float high) {
    return value > low && value < high;
}

inline bool inside(float u, float v, const AtlasRect& r) {
    return inside(u, r.uLeft, r.uRight) && inside(v, r.vTop, r.vBottom);
}

// The game's camera without eye offset, as the overlay pass and the title use it.
inline void centreCamera(float eyeOffset = 0.0f) {
    glMatrixMode(GL_MODELVIEW);
    loadFlightCamera(eyeOffset);
}

struct ScreenPoint {
    int x, y;  // client pixels, y down
};

// Where a world point lands through a camera at the given eye offset (GL's own transform).
inline ScreenPoint project(float x, float y, float z, float eyeOffset = 0.0f) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    centreCamera(eyeOffset);
    GLdouble model[16], proj[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPopMatrix();
    GLdouble wx, wy, wz;
    gluProject(x, y, z, model, proj, viewport, &wx, &wy, &wz);
    return {static_cast<int>(std::floor(wx)), 479 - static_cast<int>(std::floor(wy))};
}

inline int channelAt(const std::vector<uint8_t>& frame, int x, int y, int channel) {
    return frame[static_cast<size_t>((y * 640 + x) * 3 + channel)];
}

// First and last column on a row where the channel is above the threshold; {-1, -1} if none.
struct Span {
    int first = -1, last = -1;
};
inline Span litSpan(const std::vector<uint8_t>& frame, int row, int channel, int threshold) {
    Span span;
    for (int x = 0; x < 640; ++x) {
        if (channelAt(frame, x, row, channel) > threshold) {
            if (span.first < 0) span.first = x;
            span.last = x;
        }
    }
    return span;
}

}  // namespace hudtest
