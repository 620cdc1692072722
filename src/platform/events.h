// The message queue. The game's two loops take one message per pass; when none is waiting
// they draw a frame, so these calls never block.
#pragma once

#include "platform/messages.h"

namespace platform {

// Removes the oldest pending message into `out`: first those posted with postMessage, then
// translated native events (keys, mouse, size, close, joystick). False when none is waiting.
// SIGINT and SIGTERM arrive as WM_QUIT.
bool peekMessage(Message& out);

// Appends a message to the queue; tests use it to inject input.
void postMessage(uint32_t message, uint64_t wParam = 0, int64_t lParam = 0);

// What the window procedure returns for messages it does not handle itself.
int64_t defWindowProc(const Message& message);

// From here on the pads (see platform/gamepad.h) and joystick 1, the first device without a
// pad mapping, steer and fire: the merged position is posted at once, and from then on each
// change of position or buttons. Joystick 1 plugged in later is opened as it arrives; pulled
// out, the next device without a mapping takes its place. Its axes count from where they
// rested when it was opened, and its hats steer too. Does nothing without a device.
// releaseJoystick closes every pad and the stick; safe to call when none was opened.
void captureJoystick();
void releaseJoystick();

// Called with true when the window gains keyboard focus and false when it loses it; the sound
// layer mutes itself while the game is in the background.
using FocusHandler = void (*)(bool focused);
void setFocusHandler(FocusHandler handler);
void notifyFocus(bool focused);

// Called when Windows ends the session (logging off, shutting down) while the game runs: the
// process is ended as soon as the handler returns, before the loops could see a quit. The
// handler does what the end of a game does. Linux sends SIGTERM instead, a quit message.
using SessionEndHandler = void (*)();
void setSessionEndHandler(SessionEndHandler handler);
void notifySessionEnd();

}  // namespace platform
