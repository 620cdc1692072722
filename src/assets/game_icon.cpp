#include "assets/game_icon.h"

#include <algorithm>
#include <cmath>

namespace {

struct Point {
    float x, y;
};

// The ship's outline in icon units (-1..1, y down): nose up, swept wings, a notch at the tail.
constexpr Point kShip[] = {{0.0f, -0.72f}, {0.62f, 0.50f}, {0.0f, 0.24f}, {-0.62f, 0.50f}};
constexpr float kEyeShift = 0.09f;  // each copy is moved this far from the middle
constexpr float kDiscRadius = 0.96f;
constexpr int kSamples = 4;  // per pixel and axis, for smooth edges

bool insideShip(float x, float y) {
    // Even-odd crossing test: the outline is concave at the notch.
    bool inside = false;
    constexpr int count = sizeof(kShip) / sizeof(kShip[0]);
    for (int i = 0, j = count - 1; i < count; j = i++) {
        const Point a = kShip[i], b = kShip[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

uint8_t toByte(float value) {
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

std::vector<uint8_t> drawGameIcon(int edge) {
    std::vector<uint8_t> pixels(static_cast<size_t>(edge) * edge * 4);
    const float step = 2.0f / static_cast<float>(edge * kSamples);
    for (int row = 0; row < edge; ++row) {
        for (int column = 0; column < edge; ++column) {
            float disc = 0.0f, red = 0.0f, blue = 0.0f;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const float x = -1.0f + ((column * kSamples + sx) + 0.5f) * step;
                    const float y = -1.0f + ((row * kSamples + sy) + 0.5f) * step;
                    if (x * x + y * y > kDiscRadius * kDiscRadius) continue;
                    disc += 1.0f;
                    if (insideShip(x + kEyeShift, y)) red += 1.0f;   // left eye's copy
                    if (insideShip(x - kEyeShift, y)) blue += 1.0f;  // right eye's copy
                }
            }
            // Colour is averaged over the disc only, so the rim keeps its colour and fades
            // through alpha alone.
            const float samples = kSamples * kSamples;
            const float cover = disc > 0.0f ? disc : 1.0f;
            red /= cover;
            blue /= cover;
            uint8_t* pixel = &pixels[(static_cast<size_t>(row) * edge + column) * 4];
            // A dark night-blue disc; where the two copies overlap they mix to a pale pink.
            pixel[0] = toByte(0.05f + 0.95f * red);
            pixel[1] = toByte(0.06f + 0.5f * red * blue);
            pixel[2] = toByte(0.16f + 0.84f * blue);
            pixel[3] = toByte(disc / samples);
        }
    }
    return pixels;
}
