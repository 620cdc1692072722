// A stereo frame as the game shows it in a window of the benchmark's first two arguments:
// drawn at the size the renderer affords (the third argument 1: at the window's own size
// whatever the renderer) and enlarged to the picture, timed up to glFinish. The counters say
// what size it was drawn at. Every run makes the window anew, so one frame goes before the
// timing; a tallied frame after it gives the counters shaded_pixels and draw_calls and the
// pixels by eye and kind of draw (gl_count.h).
#pragma once

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "gl_count.h"
#include "process_time.h"
#include "render/stereo_frame.h"
#include "support/gl_test_context.h"
#include "view/frame_scale.h"
#include "view/projection.h"

namespace benchframe {

inline void measureShownFrames(benchmark::State& state) {
    if (!testgl::resizeWindow(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
        state.SkipWithError("no window of that size");
        return;
    }
    const int gameLimit = framePixelLimit();
    if (state.range(2) == 1) setFramePixelLimit(0);
    const FrameSize drawn = frameSizeFor(windowView.picture.width, windowView.picture.height);
    const auto frame = [] {
        glColor4f(1, 1, 1, 1);
        beginScaledFrame();
        renderStereoFrame();
        endScaledFrame();
        glFinish();
    };
    frame();  // the new window's buffers are touched once before anything is timed
    glcount::reportFrame(state, frame);
    const benchtime::ProcessTime frameTime;
    for (auto _ : state) frame();
    frameTime.report(state);
    state.counters["drawn_width"] = drawn.width;
    state.counters["drawn_height"] = drawn.height;
    setFramePixelLimit(gameLimit);
    testgl::resizeWindow(640, 480);
}

// 640 x 480, 1280 x 720 and 1920 x 1080 as the game draws them, and 1920 x 1080 at full size.
inline void windowSizes(benchmark::internal::Benchmark* b) {
    b->Args({640, 480, 0})->Args({1280, 720, 0})->Args({1920, 1080, 0})->Args({1920, 1080, 1});
}

}  // namespace benchframe
