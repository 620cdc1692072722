// The platform layer's half of the program reset (app/program_reset.h).
#pragma once

namespace platform {

// Puts the platform layer's mutable state back to where the program starts: the real clock
// instead of an installed one, and none of the time a full-screen switch kept out of it; an
// empty message queue (posted messages and SDL's pending events dropped unread); no key held
// by a pad, every pad and joystick 1 closed, the pad keys and rumble as at start-up; no focus
// handler; a usable sound device (setAudioDeviceUnusable). It leaves alone the window, its GL
// context and all the context holds, full screen and the display mode, the cursor, and the
// sound device: destroyWindow, destroyGlContext, restoreDisplayMode and closeAudio release
// those.
void resetPlatformState();

}  // namespace platform
