// Cost of one stereo frame of the director's opening on Mesa's software renderer at 640 x 480:
// seven and a half seconds into a fresh game, the ship seen from behind, the field launched
// towards it and the opening card over the picture. Same stand-in textures and timing as the
// empty and full-load frames, so the three read side by side.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "app/game_reset.h"
#include "assets/meshes.h"
#include "assets/texture_table.h"
#include "hud_test_atlas.h"
#include "render/stereo_frame.h"
#include "support/combat.h"
#include "support/gl_test_context.h"

namespace {

// Made once per process; the texture names survive resetGameState in a copy.
void useStandInTextures() {
    static TextureTable standIns;
    if (standIns.asteroidTexture != 0) {
        textures = standIns;
        return;
    }
    const auto white = [](float, float) { return 255; };
    textures.asteroidTexture = hudtest::makeLuminance(64, white);
    textures.beamTexture = hudtest::makeLuminance(64, white);
    textures.spriteAtlas = hudtest::makeLuminance(64, white);
    textures.fighterTexture = hudtest::makeLuminance(64, white);
    textures.shieldTexture = hudtest::makeLuminance(64, white);
    textures.hudAtlas = hudtest::makeLuminance(64, white);
    textures.backdropTexture =
        hudtest::makeLuminance(64, [](float u, float) { return u < 0.5f ? 40 : 0; });
    standIns = textures;
}

void BM_RenderStereoFrameOpening(benchmark::State& state) {
    if (!testgl::open()) {
        state.SkipWithError("no GL context");
        return;
    }
    // Whatever the benchmarks before left in the world goes first.
    resetGameState();
    testgl::resetState();
    buildMeshLists();
    useStandInTextures();
    combat::freshGame(11);
    flight::startGame();
    flight::gameFrames(750, 10);
    setSoundRequestWatcher(nullptr);
    if (player.shipHidden || !noticeBanner.running) {
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

}  // namespace
