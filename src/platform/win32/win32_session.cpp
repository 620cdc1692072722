#include <SDL_syswm.h>
#include <windows.h>

#include "platform/sdl/sdl_state.h"

namespace platform {
// From platform/events.h, whose message names windows.h takes as macros.
void notifySessionEnd();
}  // namespace platform

namespace platform::sdl {
namespace {

WNDPROC sdlWindowProc = nullptr;

// SDL's window procedure answers the session-end messages with the defaults, so a game would
// simply be ended by Windows. WM_QUERYENDSESSION is answered yes with a quit for the loops;
// WM_ENDSESSION is the last chance to act, since the process is ended when it returns.
LRESULT CALLBACK sessionWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        return TRUE;
    }
    if (message == WM_ENDSESSION && wParam != 0) {
        notifySessionEnd();
        return 0;
    }
    return CallWindowProcW(sdlWindowProc, hwnd, message, wParam, lParam);
}

}  // namespace

void watchSessionEnd() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (video.window == nullptr || !SDL_GetWindowWMInfo(video.window, &info)) return;
    const HWND hwnd = info.info.win.window;
    sdlWindowProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&sessionWindowProc)));
}

}  // namespace platform::sdl
