// The game's random numbers. Every range and unit value in the game is tuned for draws from 0
// to 32767, so the C library's generator (seeded once at start, or by a test) is cut down to
// that range whatever its own maximum is.
#pragma once

#include <cstdlib>

constexpr int randomMax = 32767;

// One draw, 0 to randomMax.
inline int randomNumber() {
    return std::rand() % (randomMax + 1);
}

// One draw mapped onto [-1, 1].
inline float randomUnit() {
    return static_cast<float>(randomNumber() * (2.0 / randomMax) - 1.0);
}
