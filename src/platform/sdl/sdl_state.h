// State shared by the SDL implementation files of the platform layer. Not for game code.
#pragma once

#include <SDL.h>

namespace platform::sdl {

extern SDL_Window* window;
// True once initVideo has found a display that can show windows and boxes; with an offscreen
// driver or none, boxes are written to standard error only.
extern bool displayAvailable;
extern bool videoStarted;
// The game's clock skips the time spent switching between window and full screen: it stands
// still at clockHeldAt from the switch until the first frame at the new size is shown, and
// hiddenMs adds up the time it stood.
extern uint32_t hiddenMs;
extern bool clockHeld;
extern uint32_t clockHeldAt;

// The window's size changed (an event arrived); the next swap shows a frame at the new size.
void windowResized();

// Has the new window tell the game when the session ends (Windows: logging off or shutting
// down; see notifySessionEnd). Nothing to do on Linux, where SIGTERM arrives as a quit.
void watchSessionEnd();

// Follows pads and joystick 1 through one SDL event, posting the messages it changes; false
// for events that are not theirs.
bool handleDeviceEvent(const SDL_Event& event);

// The keyboard and the pads (Start and A press keys) hold keys side by side: a key is down
// while either holds it, so its key-up goes out only when the last of them lets go. Each pad
// button holding a key counts once; padsLetGoOfKeys forgets them all without a message.
void padHoldsKey(int key);
void padLetsGoOfKey(int key);
void padsLetGoOfKeys();

}  // namespace platform::sdl
