// What a frame costs the software renderer, counted by the benchmark binary itself: its own
// glBegin, glCallList, glDrawArrays (and the state calls that say what a draw is) stand in
// front of the GL library's, so every draw the game makes is counted, and while a tally runs
// each one is wrapped in an occlusion query (GL_SAMPLES_PASSED: with no depth buffer, every
// pixel the draw shades). The pixels are kept by eye (the colour mask) and by kind of draw
// (the texture bound, or for untextured draws whether they are lit).
// With VOXMERE_BENCH_UNSHADED set to a kind's name (rocks, shield...), that kind's draws are
// still made but scissored to nothing: the frame's cost less the shading of their pixels.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace glcount {

enum Kind {
    KindBackdrop,
    KindRocks,
    KindSprites,  // glows, flashes, pickups' sprites, the crosshair: the sprite atlas
    KindShots,    // beams and missiles
    KindFighters,
    KindHud,  // the HUD atlas: digits, gauges, banners, the shield caption
    KindShield,
    KindMeshes,  // untextured and lit: the ship, pickups
    KindDebris,  // untextured and unlit: sparks, debris
    KindCount
};
inline constexpr const char* kKindNames[KindCount] = {
    "backdrop", "rocks", "sprites", "shots", "fighters", "hud", "shield", "meshes", "debris"};
enum Eye { EyeLeft, EyeRight, EyeBoth, EyeCount };
inline constexpr const char* kEyeNames[EyeCount] = {"left", "right", "both"};

struct Tally {
    long draws = 0;
    long pixels[EyeCount][KindCount] = {};
    long totalPixels() const;
};

// Draw calls are always counted; pixels only between beginTally and endTally.
void beginTally();
Tally endTally();
long drawsSoFar();

// One frame drawn by `frame`, tallied, onto the benchmark's counters: shaded_pixels and
// draw_calls, and the pixels of every kind in every eye (left_rocks, right_backdrop, both_hud:
// all of them in every run, as the CSV output needs).
template <typename Frame>
void reportFrame(benchmark::State& state, Frame frame) {
    beginTally();
    frame();
    const Tally t = endTally();
    state.counters["shaded_pixels"] = static_cast<double>(t.totalPixels());
    state.counters["draw_calls"] = static_cast<double>(t.draws);
    for (int e = 0; e < EyeCount; ++e)
        for (int k = 0; k < KindCount; ++k)
            state.counters[std::string(kEyeNames[e]) + "_" + kKindNames[k]] =
                    static_cast<double>(t.pixels[e][k]);
}

}  // namespace glcount
