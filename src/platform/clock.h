// The millisecond clock: a 32-bit count that wraps at 2^32, like the multimedia timer the
// game's timing code was written for. Tests install their own clock.
#pragma once

#include <cstdint>

namespace platform {

using MillisecondClock = uint32_t (*)();

uint32_t timeGetTime();

// Replaces the clock; nullptr goes back to the real one.
void setMillisecondClock(MillisecondClock clock);

}  // namespace platform
