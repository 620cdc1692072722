// Measures the real time each frame took, in seconds, from the millisecond clock. No capping
// or smoothing: a two-second frame moves everything by two seconds' worth.
#pragma once

#include <cstdint>

struct FrameTimer {
    uint32_t lastTickMs = 0;  // clock at the previous tick; 0 means not started
    int32_t lastDeltaMs = 0;
};

extern FrameTimer frameTimer;

// Starts measuring from now: used at the switch to the game and when a pause ends, so neither
// the title screen nor paused time turns into one huge frame.
void resetFrameTimer();

// Seconds since the previous tick (about 0 on the very first tick).
float tickFrameTimer();
