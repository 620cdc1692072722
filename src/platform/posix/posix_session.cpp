#include "platform/sdl/sdl_state.h"

namespace platform::sdl {

// SIGTERM at the session's end is a quit message (SDL's signal handler).
void watchSessionEnd() {}

}  // namespace platform::sdl
