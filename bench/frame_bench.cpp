// Cost of one game frame's drawing (both eye passes and the overlay pass) on Mesa's software
// renderer: the game draws as fast as the machine allows, so this is its frame rate floor.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "common/globals.h"
#include "render/stereo_frame.h"
#include "support/gl_test_context.h"

static void BM_RenderStereoFrame(benchmark::State& state) {
    if (!testgl::open()) {
        state.SkipWithError("no GL context");
        return;
    }
    shared.fadeAlpha = 1.0f;
    for (auto _ : state) {
        renderStereoFrame();
        glFinish();
    }
}
BENCHMARK(BM_RenderStereoFrame)->Unit(benchmark::kMillisecond);
