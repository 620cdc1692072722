#include "rules/frame_timer.h"

#include "common/globals.h"
#include "platform/clock.h"

FrameTimer frameTimer;

void resetFrameTimer() {
    frameTimer.lastTickMs = platform::timeGetTime();
}

float tickFrameTimer() {
    if (frameTimer.lastTickMs == 0) frameTimer.lastTickMs = platform::timeGetTime();
    const uint32_t now = platform::timeGetTime();
    // Unsigned subtraction keeps the true small delta when the 32-bit clock wraps.
    frameTimer.lastDeltaMs = static_cast<int32_t>(now - frameTimer.lastTickMs);
    frameTimer.lastTickMs = now;
    return static_cast<float>(static_cast<double>(frameTimer.lastDeltaMs) *
                              static_cast<double>(0.001f));
}
