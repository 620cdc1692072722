// Cost of the asteroid field: one frame's update of all 100 rocks (the game does this once per
// frame), and drawing them for both eyes on Mesa's software renderer.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "common/globals.h"
#include "common/random.h"
#include "support/eye_passes.h"
#include "support/gl_test_context.h"
#include "world/asteroid.h"

namespace {

void launchField() {
    asteroids = {};
    seedRandom(99);
    launchAsteroids();
    shared.frameSeconds = 1.0f / 60;
}

void updateField() {
    for (int i = 0; i < asteroids.count; ++i) {
        asteroids.rock[i].setTarget(0.0f, 0.0f, 0.0f);
        asteroids.rock[i].update();
    }
}

}  // namespace

static void BM_UpdateAsteroidField(benchmark::State& state) {
    launchField();
    // Every fifth rock breaking up, so bursts run too.
    for (int i = 0; i < asteroids.count; i += 5) asteroids.rock[i].takeDamage(100);
    for (auto _ : state) {
        updateField();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_UpdateAsteroidField)->Unit(benchmark::kMicrosecond);

static void BM_DrawAsteroidFieldBothEyes(benchmark::State& state) {
    if (!testgl::open()) {
        state.SkipWithError("no GL context");
        return;
    }
    launchField();
    shared.frameSeconds = 0.1f;
    for (int frame = 0; frame < 100; ++frame) updateField();
    shared.fadeAlpha = 1.0f;
    for (auto _ : state) {
        testgl::clearAll();
        glColor4f(1, 1, 1, 1);
        testgl::drawInBothEyes([] {
            for (int i = 0; i < asteroids.count; ++i) asteroids.rock[i].draw();
        });
        glFinish();
    }
}
BENCHMARK(BM_DrawAsteroidFieldBothEyes)->Unit(benchmark::kMillisecond);
