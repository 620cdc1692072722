#include "support/gl_test_context.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>

#include "platform/video.h"
#ifdef _WIN32
#include "platform/sdl/sdl_state.h"
#endif
#include "view/projection.h"

namespace testgl {

namespace {
int state = -1;  // -1 not tried yet, 0 failed, 1 open
}  // namespace

bool open() {
    if (state >= 0) return state == 1;
#ifndef _WIN32
    // Windows draws into a hidden window of its own driver (Wine: on the X server).
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
#endif
    state = platform::initVideo(true) &&
                    platform::createWindow("Voxmere test", 640, 480, 24,
                                           platform::WindowMode::Windowed) &&
                    platform::createGlContext() && platform::makeGlContextCurrent()
                ? 1
                : 0;
#ifdef _WIN32
    // A real window there, but no one clicks the boxes of the fatal paths the tests take:
    // as with Linux's offscreen driver, they go to standard error only.
    platform::sdl::video.displayAvailable = false;
#endif
    if (state == 1) {
        resizeView(640, 480);
        initGlState();
    }
    return state == 1;
}

void resetState() {
    if (state != 1) return;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    // The hull lists too, as a fresh process has them: unbuilt, drawing nothing.
    glDeleteLists(1, 2);
    // The surface's own size, not windowView: the program reset has already put that back.
    int width = 0, height = 0;
    platform::drawableSize(width, height);
    if (width != 640 || height != 480) resizeWindow(640, 480);
    resizeView(640, 480);
    initGlState();
}

bool resizeWindow(int width, int height) {
    if (state != 1 || !platform::resizeWindow(width, height)) return false;
    followWindowSize();
    return true;
}

Pixel readPixel(int x, int y) {
    unsigned char rgba[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, windowView.height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

std::vector<uint8_t> readFrame() {
    const int width = windowView.width, height = windowView.height, rowBytes = width * 3;
    std::vector<uint8_t> bottomUp(static_cast<size_t>(rowBytes) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<uint8_t> frame(bottomUp.size());
    for (int row = 0; row < height; ++row) {
        std::copy_n(bottomUp.begin() + (height - 1 - row) * rowBytes, rowBytes,
                    frame.begin() + row * rowBytes);
    }
    return frame;
}

void clearAll() {
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

int litPixels(const std::vector<uint8_t>& frame, int channel, int threshold) {
    int lit = 0;
    for (std::size_t i = 0; i + 2 < frame.size(); i += 3) {
        if (channel == anyChannel) {
            lit += frame[i] > threshold || frame[i + 1] > threshold || frame[i + 2] > threshold;
        } else {
            lit += frame[i + channel] > threshold;
        }
    }
    return lit;
}

long channelSum(const std::vector<uint8_t>& frame, int channel) {
    long sum = 0;
    for (std::size_t i = 0; i < frame.size(); ++i) {
        if (channel == anyChannel || static_cast<int>(i % 3) == channel) sum += frame[i];
    }
    return sum;
}

}  // namespace testgl
