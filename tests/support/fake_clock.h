// A millisecond clock the test moves by hand, installed in place of the real one; or one that
// runs on by itself, a fixed step at every reading, for loops that read it once a frame.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace testclock {

inline uint32_t now = 0;
inline uint32_t step = 0;  // added at every reading of the running clock

inline uint32_t read() {
    return now;
}

inline uint32_t readRunning() {
    return now += step;
}

// Installs the hand-moved clock reading `start`; uninstall() goes back to the real clock.
inline void install(uint32_t start) {
    now = start;
    platform::setMillisecondClock(read);
}

// Installs the running clock, from where the clock stands now.
inline void run(uint32_t stepMs) {
    step = stepMs;
    platform::setMillisecondClock(readRunning);
}

inline void uninstall() {
    platform::setMillisecondClock(nullptr);
}

}  // namespace testclock
