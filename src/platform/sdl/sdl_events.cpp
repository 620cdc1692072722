#include <cstddef>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/platform_reset.h"
#include "platform/sdl/sdl_state.h"
#include "platform/video.h"

namespace platform {
namespace {

constexpr std::size_t kQueueSize = 256;

// Who holds each virtual key: the keyboard (either of two keys with one code counts as one),
// and how many pad buttons.
struct HeldKeys {
    bool byKeyboard[256] = {};
    int byPads[256] = {};
};

struct EventState {
    // Messages posted by the program itself (WM_QUIT from a close request, what the pads and
    // joystick change) or injected by tests; they are handed out before native events.
    Message posted[kQueueSize];
    std::size_t postedHead = 0;
    std::size_t postedCount = 0;
    HeldKeys heldKeys;
    FocusHandler focusHandler = nullptr;
};
EventState events;

int virtualKeyFor(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + (key - SDLK_F1);
    switch (key) {
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT:
            return 18;
        case SDLK_PAUSE:
            return 19;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        default:
            return 0;
    }
}

bool takePosted(Message& out) {
    if (events.postedCount == 0) return false;
    out = events.posted[events.postedHead];
    events.postedHead = (events.postedHead + 1) % kQueueSize;
    --events.postedCount;
    return true;
}

// Turns one SDL event into the message it stands for; false for events the game ignores.
// Pad and joystick events post what they change instead.
bool translate(const SDL_Event& event, Message& out) {
    if (sdl::handleDeviceEvent(event)) return false;
    switch (event.type) {
        case SDL_QUIT:
            out = {WM_QUIT, 0, 0};
            return true;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    out = {WM_CLOSE, 0, 0};
                    return true;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    sdl::windowResized();
                    out = {WM_SIZE, 0, makeLParam(event.window.data1, event.window.data2)};
                    return true;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    notifyFocus(event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
                    out = {WM_ACTIVATE, 0, 0};
                    return true;
                default:
                    return false;
            }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const SDL_Keycode key = event.key.keysym.sym;
            const bool down = event.type == SDL_KEYDOWN;
            const int vk = virtualKeyFor(key);
            // Alt combinations, Alt itself and F10 are system keys: the game never records
            // them. Alt+F4 closes the window as it would on the desktop.
            const bool altHeld = (event.key.keysym.mod & KMOD_ALT) != 0;
            if (altHeld || key == SDLK_LALT || key == SDLK_RALT || key == SDLK_F10) {
                if (down && altHeld && key == SDLK_F4) {
                    out = {WM_CLOSE, 0, 0};
                } else {
                    // Alt+Enter switches between the window and desktop full screen here,
                    // below the game, so it works on any screen and a replay never switches.
                    if (down && altHeld && vk == VK_RETURN && event.key.repeat == 0) {
                        toggleDesktopFullScreen();
                    }
                    out = {down ? WM_SYSKEYDOWN : WM_SYSKEYUP, static_cast<uint64_t>(vk), 0};
                }
                return true;
            }
            if (vk == 0) return false;
            events.heldKeys.byKeyboard[vk] = down;
            // A key a pad still holds stays down.
            if (!down && events.heldKeys.byPads[vk] > 0) return false;
            out = {down ? WM_KEYDOWN : WM_KEYUP, static_cast<uint64_t>(vk), 0};
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = event.type == SDL_MOUSEBUTTONDOWN;
            uint32_t message = 0;
            if (event.button.button == SDL_BUTTON_LEFT) {
                message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            } else if (event.button.button == SDL_BUTTON_RIGHT) {
                message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            } else {
                return false;
            }
            out = {message, 0, makeLParam(event.button.x, event.button.y)};
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

void setFocusHandler(FocusHandler handler) {
    events.focusHandler = handler;
}

void notifyFocus(bool focused) {
    if (events.focusHandler != nullptr) events.focusHandler(focused);
}

SessionEndHandler sessionEndHandler = nullptr;

void setSessionEndHandler(SessionEndHandler handler) {
    sessionEndHandler = handler;
}

void notifySessionEnd() {
    if (sessionEndHandler != nullptr) sessionEndHandler();
}

bool peekMessage(Message& out) {
    if (takePosted(out)) return true;
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (translate(event, out) || takePosted(out)) return true;
    }
    return false;
}

void postMessage(uint32_t message, uint64_t wParam, int64_t lParam) {
    if (events.postedCount == kQueueSize)
        return;  // a full queue drops, as a full Windows queue does
    events.posted[(events.postedHead + events.postedCount) % kQueueSize] = {message, wParam,
                                                                            lParam};
    ++events.postedCount;
}

int64_t defWindowProc(const Message&) {
    return 0;
}

void resetPlatformState() {
    sdl::resetGamepads();
    if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    events = {};
    sdl::video.swaps = {};
    setMillisecondClock(nullptr);
    setAudioDeviceUnusable(false);
}

namespace sdl {

void padHoldsKey(int key) {
    const int k = key & 0xFF;
    if (events.heldKeys.byPads[k]++ == 0 && !events.heldKeys.byKeyboard[k]) {
        postMessage(WM_KEYDOWN, static_cast<uint64_t>(k), 0);
    }
}

void padLetsGoOfKey(int key) {
    const int k = key & 0xFF;
    if (events.heldKeys.byPads[k] == 0) return;
    if (--events.heldKeys.byPads[k] == 0 && !events.heldKeys.byKeyboard[k]) {
        postMessage(WM_KEYUP, static_cast<uint64_t>(k), 0);
    }
}

void padsLetGoOfKeys() {
    for (int& holders : events.heldKeys.byPads) holders = 0;
}

}  // namespace sdl

}  // namespace platform
