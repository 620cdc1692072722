#include "platform/clock.h"
#include "platform/sdl/sdl_state.h"

namespace platform {
namespace {
MillisecondClock clockOverride = nullptr;
}

uint32_t timeGetTime() {
    return clockOverride != nullptr
               ? clockOverride()
               : (sdl::video.swaps.clockHeld ? sdl::video.swaps.clockHeldAt : SDL_GetTicks()) -
                     sdl::video.swaps.hiddenMs;
}

void setMillisecondClock(MillisecondClock clock) {
    clockOverride = clock;
}

}  // namespace platform
