// The game's random numbers. Every range and unit value in the game is tuned for draws from 0
// to 32767, and a recorded run must replay as the same game on every system, so the game has
// one generator of its own rather than the C library's, whose algorithm differs from one
// runtime to the next. It is the classic linear congruential generator of the Windows C
// runtime's `rand`, bit for bit.
#pragma once

#include <cstdint>

constexpr int randomMax = 32767;

struct RandomState {
    uint32_t state = 1;  // an unseeded generator starts as if seeded with 1
};
inline RandomState randomState;

// Starts the sequence again from `seed`.
inline void seedRandom(uint32_t seed) {
    randomState.state = seed;
}

// One draw, 0 to randomMax.
inline int randomNumber() {
    randomState.state = randomState.state * 214013u + 2531011u;
    return static_cast<int>((randomState.state >> 16) & 0x7fffu);
}

// One draw mapped onto [-1, 1].
inline float randomUnit() {
    return static_cast<float>(randomNumber() * (2.0 / randomMax) - 1.0);
}
