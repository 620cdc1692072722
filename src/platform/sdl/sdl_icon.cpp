#include "platform/sdl/sdl_state.h"
#include "platform/video.h"

namespace platform {

void setWindowIcon(const uint8_t* rgba, int edge) {
    if (sdl::video.window == nullptr) return;
    // Bytes in memory order R, G, B, A whatever the machine's byte order.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(rgba), edge, edge,
                                                           32, edge * 4, SDL_PIXELFORMAT_RGBA32);
    if (icon == nullptr) return;
    SDL_SetWindowIcon(sdl::video.window, icon);
    SDL_FreeSurface(icon);
}

}  // namespace platform
