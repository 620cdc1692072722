// State shared by the SDL implementation files of the platform layer. Not for game code.
#pragma once

#include <SDL.h>

namespace platform::sdl {

extern SDL_Window* window;
// True once initVideo has found a display that can show windows and boxes; with an offscreen
// driver or none, boxes are written to standard error only.
extern bool displayAvailable;
extern bool videoStarted;
// Milliseconds spent switching between window and full screen, which the game's clock skips.
extern uint32_t hiddenMs;

}  // namespace platform::sdl
