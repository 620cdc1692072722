// A real GL context for pixel tests on a machine with no display or GPU: SDL's offscreen
// driver over EGL with Mesa's llvmpipe. The 640 x 480 surface is set up exactly as the game's
// window (projection and GL state).
#pragma once

#include <cstdint>
#include <vector>

namespace testgl {

// Opens the context once per process; later calls return the first result.
bool open();

// Puts the GL state back to what the game's window starts with (640 x 480, projection, fixed
// state, white colour, no texture); does nothing before open().
void resetState();

// Gives the window a client area of width x height, keeping the GL context with its textures
// and lists, and follows it as the game's loops do (followWindowSize).
bool resizeWindow(int width, int height);

struct Pixel {
    int r, g, b;
};

// Reads the pixel at client coordinates (x right, y down from the top-left corner).
Pixel readPixel(int x, int y);

// The whole client area (640 x 480 unless resized), rows from the top, RGB bytes.
std::vector<uint8_t> readFrame();

// Clears colour to black with all channels writable.
void clearAll();

// Counting in a frame from readFrame(): channel 0 red, 1 green, 2 blue, or anyChannel.
constexpr int anyChannel = -1;

// Pixels whose channel (any of the three, for anyChannel) is above `threshold`.
int litPixels(const std::vector<uint8_t>& frame, int channel, int threshold = 0);

// The channel's values added up (all three, for anyChannel).
long channelSum(const std::vector<uint8_t>& frame, int channel);

}  // namespace testgl

// Pixel tests: fail with a clear reason instead of obscurely when GL is unavailable.
#define REQUIRE_GL()                                                          \
    do {                                                                      \
        if (!testgl::open()) GTEST_FAIL() << "no GL context for pixel tests"; \
    } while (0)
