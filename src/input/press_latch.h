// Taps: a touchpad tap, a synthetic click or a very quick key stroke delivers its press and its
// release in the same pass of a loop, and the loops hand out every waiting message before the
// next frame, so the frame would never see the press. The loops therefore pass input messages
// through here: the release of a press that no frame has seen yet is held back until the end
// of the next frame, so the key or button reads as down for exactly that frame. Releases of
// presses a frame has already seen go through at once, so holding a key reads as held.
#pragma once

#include "platform/messages.h"

// Hands the message to the window procedure, or holds it back when it releases a press that
// no frame has seen yet.
void dispatchInput(const Message& message);

// Called by the loops after each frame's update: every press so far has now been seen, and the
// releases held back go to the window procedure.
void endInputFrame();

// Takes what the input state holds down as presses every frame has seen, with nothing held
// back: the state the latches are in after any frame. Used when a run begins from input
// restored rather than delivered.
void matchPressLatchesToInput();

// Forgets every press and held-back release, as at start-up.
void resetPressLatches();
