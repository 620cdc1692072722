// Window, display mode, GL context, cursor and message boxes. The game's window code calls
// these in the order of a classic Windows start-up (register class, change display mode,
// create window, create and activate the GL context) and shows its own failure texts, so each
// step reports failure separately.
#pragma once

#include <cstdint>

namespace platform {

// Starts the video system. With allowHeadless false (the game) a display that cannot show
// a window (no X server, or only an offscreen driver) is a failure; tests pass true to draw
// into an offscreen GL surface.
bool initVideo(bool allowHeadless);

// Asks for the full-screen mode width x height. False when the display cannot give exactly
// that size; nothing has changed then. The switch itself happens when the window is created.
bool changeDisplayMode(int width, int height, int bits);

// Leaves full screen and gives the desktop its own mode back. Safe to call at any time.
void restoreDisplayMode();

enum class WindowMode {
    Windowed,           // a window the player can resize and maximise
    FullScreenMode,     // full screen in the mode granted by changeDisplayMode
    FullScreenDesktop,  // full screen at the desktop's own resolution, no mode switch
};

// Creates the window with a client area of width x height (the size it has when windowed).
// Requests colour of at least `bits`, double buffering and a compatibility GL context, and no
// depth buffer: nothing is depth-tested, and without one llvmpipe enlarges a frame by copying.
bool createWindow(const char* title, int width, int height, int bits, WindowMode mode);

// True where the video driver only pretends to switch the display mode and stretches the
// picture instead (native Wayland): full screen should then take the desktop as it is.
bool modeSwitchIsEmulated();

// Between the window and desktop full screen, keeping the GL context and all it holds.
// Full screen in a switched mode counts as full screen. The time the switch takes, and the
// first buffer swap after it, are left out of timeGetTime, so no frame seems to last that
// long. False (with the window as it was) when the system refuses.
bool setDesktopFullScreen(bool on);
bool toggleDesktopFullScreen();
bool isFullScreen();

// Gives a window (not full screen) a client area of width x height, keeping the GL context.
// The offscreen driver cannot resize a surface, so there the window is made anew.
bool resizeWindow(int width, int height);

// The size of the window's drawing surface in pixels; 0 x 0 without a window.
void drawableSize(int& width, int& height);
bool createGlContext();
bool makeGlContextCurrent();

// Tear-down, each safe when the thing was never made.
void destroyGlContext();
void destroyWindow();

// Gives the window its icon: edge x edge RGBA pixels, rows from the top. Copied at once.
void setWindowIcon(const uint8_t* rgba, int edge);

// Shows, raises and focuses the window.
void showWindow();

// Shows the frame drawn. With waitForRefresh, a swap begins no sooner than nine tenths of the
// display's refresh period (60 Hz when the display does not say) after the last one began.
// Where the swap waits for the display this wait never delays a frame; where it does not (a
// software renderer, a virtual X server) it holds the game to about one frame per refresh.
// The frame is flushed to the renderer before the wait, so that a renderer drawing on threads
// of its own draws it meanwhile. A replay passes false: it keeps its recorded times itself.
void swapBuffers(bool waitForRefresh = true);

// Windows' show/hide cursor counter: the pointer is visible while the counter is 0 or more.
// Returns the new counter.
int showCursor(bool show);

// The current GL context's entry point `name` (beyond OpenGL 1.1, which Windows' opengl32 alone
// exports); null when the driver has none.
void* glFunction(const char* name);

// The same, cast to the call's own type into `call`; false when the driver has none.
template <typename Call>
bool glFunction(const char* name, Call& call) {
    call = reinterpret_cast<Call>(glFunction(name));
    return call != nullptr;
}

enum class BoxIcon { Warning, Stop };

// A modal OK box. Caption and text also go to standard error; with no display only there.
void messageBox(const char* text, const char* caption, BoxIcon icon);

// A modal Yes/No box with Yes as the default. A closed box, a failure or no display count as
// No. Also echoed to standard error.
bool askYesNo(const char* text, const char* caption, BoxIcon icon);

}  // namespace platform
