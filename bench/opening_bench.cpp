// Cost of one stereo frame of the director's opening on Mesa's software renderer at 640 x 480:
// seven and a half seconds into a fresh game, the ship seen from behind, the field launched
// towards it and the opening card over the picture. Same stand-in textures and timing as the
// empty and full-load frames, so the three read side by side.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "app/program_reset.h"
#include "assets/meshes.h"
#include "assets/texture_table.h"
#include "render/stereo_frame.h"
#include "shown_frame.h"
#include "stand_in_textures.h"
#include "support/combat.h"
#include "support/gl_test_context.h"

namespace {

// Seven and a half seconds into a fresh game; false when the opening is already over.
bool openingScene() {
    // Whatever the benchmarks before left in the world goes first.
    resetProgramState();
    testgl::resetState();
    buildMeshLists();
    benchtex::useStandInTextures();
    combat::freshGame(11);
    flight::startGame();
    flight::gameFrames(750, 10);
    setSoundRequestWatcher(nullptr);
    return !player.shipHidden && noticeBanner.running;
}

void BM_RenderStereoFrameOpening(benchmark::State& state) {
    if (!testgl::open()) {
        state.SkipWithError("no GL context");
        return;
    }
    if (!openingScene()) {
        state.SkipWithError("the opening is over before the measured frame");
        return;
    }
    for (auto _ : state) {
        glColor4f(1, 1, 1, 1);
        renderStereoFrame();
        glFinish();
    }
    testclock::uninstall();
}
// Measured on the wall clock, as the full-load frame is: Mesa draws in worker threads.
BENCHMARK(BM_RenderStereoFrameOpening)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShownFrameOpening(benchmark::State& state) {
    if (!testgl::open() || !openingScene()) {
        state.SkipWithError("no GL context, or the opening is over before the measured frame");
        return;
    }
    benchframe::measureShownFrames(state);
    testclock::uninstall();
}
BENCHMARK(BM_ShownFrameOpening)
    ->Apply(benchframe::windowSizes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
