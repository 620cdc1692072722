// The game's frame drawn smaller than the window and enlarged, where no GPU draws it. On a
// software renderer every pixel of both eye passes costs processor time, and a 1920 x 1080
// picture has 6.75 times the pixels of 640 x 480. The frame is drawn at the window's size
// divided by the smallest whole factor that keeps it within a pixel budget, and enlarged by
// exactly that factor without filtering: each frame pixel is a sharp square of window pixels.
#pragma once

// The size the game frame is drawn at; the picture's own size when it is drawn at full size.
struct FrameSize {
    int width, height;
};

// The module's state: the limit chosen, the texture the frame is copied into, the program
// that draws it and the frame begun. Assigning {} forgets all of it (a texture or program
// name left over is made anew when needed).
struct FrameScale {
    int pixelLimit = -1;  // -1: not chosen yet
    unsigned copyTexture = 0;
    int textureWidth = 0, textureHeight = 0;
    unsigned copyProgram = 0;  // the program that draws the copy, where shaders are available
    bool copyProgramFailed = false;
    FrameSize drawn{0, 0};  // the size of the frame begun, 0 x 0 when at full size
    int drawnFactor = 1;    // and how many window pixels across one of its pixels covers
};
extern FrameScale frameScale;

// Pixels a frame may be drawn with before it is enlarged instead; 0 draws at the window's
// own size. By default chosen once from the renderer: unlimited on a GPU, kSoftwareFramePixels
// on Mesa's software renderers, so that a frame costs no more than the classic 640 x 480 one
// plus the enlarging (on llvmpipe a row-by-row copy of the texture: about 3 ms at
// 1920 x 1080 on two cores). VOXMERE_FRAME_PIXELS overrides (0 for always full size).
inline constexpr int kSoftwareFramePixels = 640 * 480;
void setFramePixelLimit(int pixels);
int framePixelLimit();

// The whole factor a picture of width x height is enlarged by under the current limit (1: at
// full size), and the size it is drawn at: the picture's divided by the factor, rounded up.
int enlargementFor(int width, int height);
FrameSize frameSizeFor(int width, int height);

// Around the stereo frame: the first points the viewport at the smaller size (inside the
// picture's corner), the second copies that into a texture and draws it over the whole
// picture, leaving the GL state as it found it. Both do nothing when the frame is drawn at
// full size.
void beginScaledFrame();
void endScaledFrame();
