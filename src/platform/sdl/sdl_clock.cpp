#include "platform/clock.h"
#include "platform/sdl/sdl_state.h"

namespace platform {
namespace {
MillisecondClock clockOverride = nullptr;
}

uint32_t timeGetTime() {
    return clockOverride != nullptr
               ? clockOverride()
               : (sdl::clockHeld ? sdl::clockHeldAt : SDL_GetTicks()) - sdl::hiddenMs;
}

void setMillisecondClock(MillisecondClock clock) {
    clockOverride = clock;
}

}  // namespace platform
