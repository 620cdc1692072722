// State shared by the SDL implementation files of the platform layer. Not for game code.
#pragma once

#include <SDL.h>

#include <chrono>

namespace platform::sdl {

// The game's clock skips the time spent switching between window and full screen: it stands
// still at clockHeldAt from the switch until the first frame at the new size is shown (the
// window manager resizes the window a little later, and the first frame at that size waits
// for new buffers), and hiddenMs adds up the time it stood. lastSwap paces the swaps.
struct SwapClock {
    uint32_t hiddenMs = 0;
    bool clockHeld = false;
    uint32_t clockHeldAt = 0;
    bool awaitingResize = false;
    int swapsBeforeRelease = 0;  // without a window manager no resize may come
    std::chrono::steady_clock::time_point lastSwap{};
};

// The video layer. The window, its GL context and what describes them belong to whoever opened
// them (the game, or the tests' GL context) and outlive resetPlatformState; only `swaps` goes
// back to its start with it.
struct VideoState {
    SDL_Window* window = nullptr;
    SDL_GLContext glContext = nullptr;
    bool videoStarted = false;
    // True once initVideo has found a display that can show windows and boxes; with an
    // offscreen driver or none, boxes are written to standard error only.
    bool displayAvailable = false;
    SDL_DisplayMode grantedMode{};  // the mode changeDisplayMode found for a full-screen window
    bool fullScreenActive = false;
    int cursorCounter = 0;  // follows SDL's own cursor, which the reset leaves alone too
    SwapClock swaps;
};
extern VideoState video;

// The window's size changed (an event arrived); the next swap shows a frame at the new size.
void windowResized();

// Has the new window tell the game when the session ends (Windows: logging off or shutting
// down; see notifySessionEnd). Nothing to do on Linux, where SIGTERM arrives as a quit.
void watchSessionEnd();

// Follows pads and joystick 1 through one SDL event, posting the messages it changes; false
// for events that are not theirs.
bool handleDeviceEvent(const SDL_Event& event);

// Closes every pad and joystick 1 (as releaseJoystick) and forgets the pad keys and the rumble
// switch, without a message.
void resetGamepads();

// The keyboard and the pads (Start and A press keys) hold keys side by side: a key is down
// while either holds it, so its key-up goes out only when the last of them lets go. Each pad
// button holding a key counts once; padsLetGoOfKeys forgets them all without a message.
void padHoldsKey(int key);
void padLetsGoOfKey(int key);
void padsLetGoOfKeys();

}  // namespace platform::sdl
