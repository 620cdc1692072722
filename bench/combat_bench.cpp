// Cost of the game at full load: the 100 rocks, all 20 fighters with their shots in the air,
// all 12 pickups, every burst running and every player shot flying. One game update of that
// world, and one stereo frame of it on Mesa's software renderer at 640 x 480.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "assets/meshes.h"
#include "assets/texture_table.h"
#include "hud_test_atlas.h"
#include "process_time.h"
#include "render/stereo_frame.h"
#include "shown_frame.h"
#include "stand_in_textures.h"
#include "support/combat.h"
#include "support/full_load.h"
#include "support/gl_test_context.h"

namespace {

using fullload::fullLoadGame;
using fullload::refreshCombat;

void BM_UpdateGameFullLoad(benchmark::State& state) {
    fullLoadGame();
    long fightersFlying = 0, pickupsDrifting = 0;
    for (auto _ : state) {
        // Each frame starts with every shot in the air again and the ship alive.
        flight::putEveryShotInFlight();
        refreshCombat();
        player.lives = 3;
        shared.gameOver = false;
        flight::gameFrames(1, 1);
    }
    for (const EnemyFighter& f : fighters) fightersFlying += f.active ? 1 : 0;
    for (const Pickup& p : pickups) pickupsDrifting += p.active ? 1 : 0;
    state.counters["fighters"] = static_cast<double>(fightersFlying);
    state.counters["pickups"] = static_cast<double>(pickupsDrifting);
    testclock::uninstall();
}
BENCHMARK(BM_UpdateGameFullLoad)->Unit(benchmark::kMicrosecond);

// Every rock, fighter, fighter shot, pickup, burst and player shot at once, with the shield up.
void fullLoadScene() {
    buildMeshLists();
    benchtex::useStandInTextures();
    fullload::fullLoadScene();
}

void BM_RenderStereoFrameFullLoad(benchmark::State& state) {
    if (!testgl::open()) {
        state.SkipWithError("no GL context");
        return;
    }
    fullLoadScene();
    const benchtime::ProcessTime frameTime;
    for (auto _ : state) {
        glColor4f(1, 1, 1, 1);
        renderStereoFrame();
        glFinish();
    }
    frameTime.report(state);
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    testclock::uninstall();
}
// Frames per second are what a player sees: measured on the wall clock, not the CPU.
BENCHMARK(BM_RenderStereoFrameFullLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShownFrameFullLoad(benchmark::State& state) {
    if (!testgl::open()) {
        state.SkipWithError("no GL context");
        return;
    }
    fullLoadScene();
    benchframe::measureShownFrames(state);
    testclock::uninstall();
}
BENCHMARK(BM_ShownFrameFullLoad)
    ->Apply(benchframe::windowSizes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
