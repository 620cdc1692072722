// A millisecond clock the test moves by hand, installed in place of the real one.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace testclock {

inline uint32_t now = 0;

inline uint32_t read() {
    return now;
}

// Installs the hand-moved clock reading `start`; uninstall() goes back to the real clock.
inline void install(uint32_t start) {
    now = start;
    platform::setMillisecondClock(read);
}

inline void uninstall() {
    platform::setMillisecondClock(nullptr);
}

}  // namespace testclock
