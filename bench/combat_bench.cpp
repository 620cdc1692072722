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
#include "support/gl_test_context.h"

namespace {

// Twenty fighters spread over the view, each with its pair in flight and its hit sparks lit,
// and twelve pickups of every type drifting in front of the ship.
void fillCombat() {
    for (int i = 0; i < fighterCount; ++i) {
        EnemyFighter& f = combat::placeFighter(i, -700.0f + 20.0f * i, (i % 5) * 30.0f - 60.0f,
                                               (i / 5) * 30.0f - 45.0f);
        f.fire();
        f.hitSparks.scatter();
        f.hitSparks.ignite(f.position.x, f.position.y, f.position.z);
    }
    for (int i = 0; i < pickupSlotCount; ++i) {
        Pickup& p = pickups[i];
        p.startPickup(-400.0f + 25.0f * i, (i % 4) * 25.0f - 40.0f, (i / 4) * 25.0f - 25.0f, 0);
        p.buildPickup(1 + i % 7);
    }
}

// The whole field in view between 300 and 900 units ahead, every tenth rock bursting.
void fillField() {
    for (int i = 0; i < asteroids.count; ++i) {
        Asteroid& rock = asteroids.rock[i];
        rock.active = true;
        rock.exploding = false;
        rock.position = {-300.0f - 6.0f * static_cast<float>(i),
                         static_cast<float>(i % 10) * 16.0f - 72.0f,
                         static_cast<float>(i / 10) * 16.0f - 72.0f};
        if (i % 10 == 0) {
            rock.hitPoints = 1;
            rock.takeDamage(1);
        }
    }
}

// Puts the fighters, their shots, their sparks and the pickups back where fillCombat left them,
// cheaply enough to run inside the timed loop.
void refreshCombat() {
    for (int i = 0; i < fighterCount; ++i) {
        EnemyFighter& f = fighters[i];
        f.active = true;
        f.exploding = false;
        f.hitPoints = 10;
        f.position = {-700.0f + 20.0f * i, (i % 5) * 30.0f - 60.0f, (i / 5) * 30.0f - 45.0f};
        f.shotsInFlight = true;
        for (FighterShot& shot : f.shots) {
            shot.position = f.position;
            shot.active = true;
        }
        f.hitSparks.life = f.hitSparks.lifetime;
    }
    for (int i = 0; i < pickupSlotCount; ++i) {
        pickups[i].active = true;
        pickups[i].position = {-400.0f + 25.0f * i, (i % 4) * 25.0f - 40.0f,
                               (i / 4) * 25.0f - 25.0f};
    }
}

// The game past its opening (controls free, field flying), with the ship upgraded.
void fullLoadGame() {
    combat::freshGame(11);
    flight::startGame();
    flight::gameFrames(1200, 10);  // 12 s
    setSoundRequestWatcher(nullptr);
    player.addCannons();
    player.enableSpread();
    fillCombat();
}

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
    fullLoadGame();
    fillField();
    flight::putEveryShotInFlight();
    for (EnemyFighter& f : fighters) f.muzzleFlash = 5;
    player.shield.strength = 60;
    shared.fadeAlpha = 1.0f;
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
