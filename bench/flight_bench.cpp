// Cost of flying: one game update with the whole field in flight and every player shot in the
// air (each testing all 100 rocks), and one stereo frame of such a scene on Mesa's software
// renderer beside the empty frame it is judged against: the clear and the backdrop in both eye
// passes, which is all the game draws with nothing in the world. Both frames use the same
// stand-in textures and are timed the same way, up to glFinish.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "assets/meshes.h"
#include "assets/texture_table.h"
#include "stand_in_textures.h"
#include "process_time.h"
#include "render/stereo_frame.h"
#include "shown_frame.h"
#include "support/flight.h"
#include "support/gl_test_context.h"
#include "view/flight_camera.h"

namespace {

// The game past its opening (controls free, field flying), with the ship upgraded.
void flyingGame() {
    flight::freshShip(11);
    flight::startGame();
    flight::gameFrames(1200, 10);  // 12 s
    setSoundRequestWatcher(nullptr);
    player.addCannons();
    player.enableSpread();
}

void BM_UpdateGameWholeFieldEveryShot(benchmark::State& state) {
    flyingGame();
    long rocksFlying = 0;
    for (auto _ : state) {
        // Each frame starts with every shot in the air again and the ship alive.
        flight::putEveryShotInFlight();
        player.lives = 3;
        flight::gameFrames(1, 1);
    }
    for (int i = 0; i < asteroids.count; ++i) rocksFlying += asteroids.rock[i].active ? 1 : 0;
    state.counters["rocks_flying"] = static_cast<double>(rocksFlying);
    testclock::uninstall();
}
BENCHMARK(BM_UpdateGameWholeFieldEveryShot)->Unit(benchmark::kMicrosecond);

// The benchmarks' textures (stand_in_textures.h), with the hull meshes' lists built again.
bool openWithTextures() {
    if (!testgl::open()) return false;
    testgl::resetState();  // also drops the hull meshes' lists
    buildMeshLists();
    benchtex::useStandInTextures();
    return true;
}

// What renderStereoFrame draws with an empty world and nothing on the HUD: the clear, then the
// backdrop through each eye's colour mask from that eye's viewpoint.
void renderEmptyStereoFrame() {
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT);
    const GLboolean blueOnly[4] = {GL_FALSE, GL_FALSE, GL_TRUE, GL_TRUE};
    const GLboolean redOnly[4] = {GL_TRUE, GL_FALSE, GL_FALSE, GL_TRUE};
    const float eyeOffsets[2] = {-shared.eyeSeparation, shared.eyeSeparation};
    for (int eye = 0; eye < 2; ++eye) {
        const GLboolean* mask = eye == 0 ? blueOnly : redOnly;
        glColorMask(mask[0], mask[1], mask[2], mask[3]);
        loadFlightCamera(eyeOffsets[eye]);
        glMatrixMode(GL_TEXTURE);
        glPushMatrix();
        glLoadIdentity();
        drawBackdrop();
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
}

void BM_RenderStereoFrameEmptyScene(benchmark::State& state) {
    if (!openWithTextures()) {
        state.SkipWithError("no GL context");
        return;
    }
    const benchtime::ProcessTime frameTime;
    for (auto _ : state) {
        glColor4f(1, 1, 1, 1);
        renderEmptyStereoFrame();
        glFinish();
    }
    frameTime.report(state);
}
BENCHMARK(BM_RenderStereoFrameEmptyScene)->Unit(benchmark::kMillisecond);

// Play as it usually looks: the field spread out and wrapped round the ship after 22 s, a tenth
// of the rocks breaking up where they are and every shot in flight.
bool flightScene() {
    if (!openWithTextures()) return false;
    flyingGame();
    flight::gameFrames(1000, 10);
    for (int i = 0; i < asteroids.count; i += 10) {
        asteroids.rock[i].hitPoints = 1;
        asteroids.rock[i].takeDamage(1);
    }
    flight::putEveryShotInFlight();
    shared.fadeAlpha = 1.0f;
    return true;
}

void BM_RenderStereoFrameFlightScene(benchmark::State& state) {
    if (!flightScene()) {
        state.SkipWithError("no GL context");
        return;
    }
    const benchtime::ProcessTime frameTime;
    for (auto _ : state) {
        glColor4f(1, 1, 1, 1);
        renderStereoFrame();
        glFinish();
    }
    frameTime.report(state);
    testclock::uninstall();
}
BENCHMARK(BM_RenderStereoFrameFlightScene)->Unit(benchmark::kMillisecond);

void BM_ShownFrameFlight(benchmark::State& state) {
    if (!flightScene()) {
        state.SkipWithError("no GL context");
        return;
    }
    benchframe::measureShownFrames(state);
    testclock::uninstall();
}
BENCHMARK(BM_ShownFrameFlight)
    ->Apply(benchframe::windowSizes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
