#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <SDL_opengl.h>

#include "platform/sdl/sdl_state.h"
#include "platform/video.h"

namespace platform::sdl {
VideoState video;
}  // namespace platform::sdl

namespace platform {
namespace {

using sdl::video;

// Sleeps until nine tenths of a refresh period have passed since the last swap began. Short
// of a whole period, so that where the swap itself waits for the display this wait always
// ends before the next refresh and never costs a frame.
void waitForShortestFrame() {
    SDL_DisplayMode mode{};
    const int index = SDL_GetWindowDisplayIndex(video.window);
    int hertz = 60;
    if (index >= 0 && SDL_GetCurrentDisplayMode(index, &mode) == 0 && mode.refresh_rate > 0) {
        hertz = mode.refresh_rate;
    }
    const auto shortest = std::chrono::microseconds(900000 / hertz);
    const auto since = std::chrono::steady_clock::now() - video.swaps.lastSwap;
    if (since < shortest) std::this_thread::sleep_for(shortest - since);
}

void holdClock() {
    if (!video.swaps.clockHeld) video.swaps.clockHeldAt = SDL_GetTicks();
    video.swaps.clockHeld = true;
    video.swaps.awaitingResize = true;
    video.swaps.swapsBeforeRelease = 3;
}

void releaseClock() {
    video.swaps.hiddenMs += SDL_GetTicks() - video.swaps.clockHeldAt;
    video.swaps.clockHeld = false;
}

// Drivers that draw into memory: fine for tests, but a player would see nothing.
bool isHeadlessDriver(const char* driver) {
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
           std::strcmp(driver, "dummy") == 0;
}

}  // namespace

void sdl::windowResized() {
    video.swaps.awaitingResize = false;
}

bool initVideo(bool allowHeadless) {
    if (video.videoStarted) return true;
    // The screen saver stays off while the game runs (SDL's default; stated for clarity).
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
#ifdef _WIN32
    // The game's window class, as it has always been named; SDL_Init keeps a registered one.
    SDL_RegisterApp("OpenGL", 0, nullptr);
#endif
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "voxmere: no display: %s\n", SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (isHeadlessDriver(driver) && !allowHeadless) {
        std::fprintf(stderr, "voxmere: no display to open a window on (video driver '%s')\n",
                     driver ? driver : "none");
        SDL_Quit();
        return false;
    }
    video.videoStarted = true;
    video.displayAvailable = !isHeadlessDriver(driver);
    return true;
}

void* glFunction(const char* name) {
    return SDL_GL_GetProcAddress(name);
}

bool changeDisplayMode(int width, int height, int /*bits*/) {
    // X11 cannot change the colour depth, so only the size decides.
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(0, &wanted, &closest) == nullptr) return false;
    if (closest.w != width || closest.h != height) return false;
    video.grantedMode = closest;
    return true;
}

void restoreDisplayMode() {
    if (video.window != nullptr && video.fullScreenActive) SDL_SetWindowFullscreen(video.window, 0);
    video.fullScreenActive = false;
}

bool createWindow(const char* title, int width, int height, int bits, WindowMode mode) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, bits >= 24 ? 8 : 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, bits >= 24 ? 8 : 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, bits >= 24 ? 8 : 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    // Every mode can become a window through Alt+Enter, so every window can be resized.
    video.window = SDL_CreateWindow(title, 0, 0, width, height,
                                    SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (video.window == nullptr) {
        std::fprintf(stderr, "voxmere: SDL_CreateWindow: %s\n", SDL_GetError());
        return false;
    }
    sdl::watchSessionEnd();
    if (mode == WindowMode::Windowed) return true;
    // A real mode change: the window's size is the mode's. Desktop full screen keeps the
    // desktop's mode and gives the window all of it.
    const bool switched = mode == WindowMode::FullScreenMode;
    if ((switched && SDL_SetWindowDisplayMode(video.window, &video.grantedMode) != 0) ||
        SDL_SetWindowFullscreen(
            video.window, switched ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        std::fprintf(stderr, "voxmere: full screen: %s\n", SDL_GetError());
        SDL_DestroyWindow(video.window);
        video.window = nullptr;
        return false;
    }
    video.fullScreenActive = true;
    return true;
}

bool modeSwitchIsEmulated() {
    // Wayland gives clients no control over the output's mode; SDL scales a fake one instead.
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "wayland") == 0;
}

bool setDesktopFullScreen(bool on) {
    if (video.window == nullptr) return false;
    if (on == video.fullScreenActive) return true;
    holdClock();
    if (SDL_SetWindowFullscreen(video.window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        releaseClock();
        std::fprintf(stderr, "voxmere: %s full screen: %s\n", on ? "entering" : "leaving",
                     SDL_GetError());
        return false;
    }
    video.fullScreenActive = on;
    return true;
}

bool toggleDesktopFullScreen() {
    return setDesktopFullScreen(!video.fullScreenActive);
}

bool isFullScreen() {
    return video.fullScreenActive;
}

bool resizeWindow(int width, int height) {
    if (video.window == nullptr || video.fullScreenActive) return false;
    if (video.displayAvailable) {
        SDL_SetWindowSize(video.window, width, height);
        return true;
    }
    // The new window comes first: SDL unloads the GL driver, and with it the context, when
    // its last GL window goes.
    SDL_Window* old = video.window;
    video.window = SDL_CreateWindow(
        SDL_GetWindowTitle(old), 0, 0, width, height,
        SDL_GetWindowFlags(old) & (SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE));
    if (video.window == nullptr || !makeGlContextCurrent()) {
        if (video.window != nullptr) SDL_DestroyWindow(video.window);
        video.window = old;
        return false;
    }
    SDL_DestroyWindow(old);
    return true;
}

void drawableSize(int& width, int& height) {
    width = height = 0;
    if (video.window != nullptr) SDL_GL_GetDrawableSize(video.window, &width, &height);
}

// Mesa's software renderer takes tens of megabytes of working memory in small blocks while it
// draws a busy frame and frees them afterwards. glibc would give the top of its heap back to
// the kernel every time and fault the same pages in again for the next frame, which cost
// several times the drawing itself. Freed memory up to this much stays for reuse.
constexpr int kKeptFreeMemory = 128 * 1024 * 1024;

bool createGlContext() {
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
#endif
    video.glContext = SDL_GL_CreateContext(video.window);
    if (video.glContext == nullptr)
        std::fprintf(stderr, "voxmere: GL context: %s\n", SDL_GetError());
    return video.glContext != nullptr;
}

bool makeGlContextCurrent() {
    if (SDL_GL_MakeCurrent(video.window, video.glContext) == 0) return true;
    std::fprintf(stderr, "voxmere: GL make current: %s\n", SDL_GetError());
    return false;
}

void destroyGlContext() {
    if (video.glContext == nullptr) return;
    SDL_GL_MakeCurrent(video.window, nullptr);
    SDL_GL_DeleteContext(video.glContext);
    video.glContext = nullptr;
}

void destroyWindow() {
    if (video.window == nullptr) return;
    restoreDisplayMode();
    SDL_DestroyWindow(video.window);
    video.window = nullptr;
}

void showWindow() {
    if (video.window == nullptr) return;
    SDL_ShowWindow(video.window);
    SDL_RaiseWindow(video.window);
}

void swapBuffers(bool waitForRefresh) {
    if (video.window == nullptr) return;
    // The frame goes to the renderer before the pause: one that draws on threads of its own
    // (Mesa's llvmpipe) draws it while this thread sleeps, instead of inside the swap after.
    glFlush();
    if (waitForRefresh) waitForShortestFrame();
    // Timed from the start of the swap: on a software renderer the swap finishes drawing the
    // frame, and that time is part of the frame, not of the pause between frames.
    video.swaps.lastSwap = std::chrono::steady_clock::now();
    SDL_GL_SwapWindow(video.window);
    if (video.swaps.clockHeld &&
        (!video.swaps.awaitingResize || --video.swaps.swapsBeforeRelease == 0))
        releaseClock();
}

int showCursor(bool show) {
    video.cursorCounter += show ? 1 : -1;
    if (video.videoStarted) SDL_ShowCursor(video.cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return video.cursorCounter;
}

void messageBox(const char* text, const char* caption, BoxIcon icon) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    if (!video.displayAvailable) return;
    restoreDisplayMode();  // a box behind a full-screen game would never be seen
    const Uint32 flags = icon == BoxIcon::Stop ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_WARNING;
    SDL_ShowSimpleMessageBox(flags, caption, text, nullptr);
}

bool askYesNo(const char* text, const char* caption, BoxIcon icon) {
    std::fprintf(stderr, "%s: %s [Yes/No]\n", caption, text);
    if (!video.displayAvailable) {
        std::fprintf(stderr, "%s: no display to ask on; taking No\n", caption);
        return false;
    }
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
    };
    SDL_MessageBoxData box{};
    box.flags = icon == BoxIcon::Stop ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_WARNING;
    box.title = caption;
    box.message = text;
    box.numbuttons = 2;
    box.buttons = buttons;
    int chosen = 0;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) {
        std::fprintf(stderr, "%s: the box could not be shown (%s); taking No\n", caption,
                     SDL_GetError());
        return false;
    }
    std::fprintf(stderr, "%s: answered %s\n", caption, chosen == 1 ? "Yes" : "No");
    return chosen == 1;
}

}  // namespace platform
