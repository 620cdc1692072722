// Game pads: every device SDL has a controller mapping for, merged with joystick 1 into the one
// set of joystick messages the game understands, so a recorded run holds nothing new.
//
// | Pad control               | On the title   | In the game                          |
// |---------------------------|----------------|--------------------------------------|
// | left stick, d-pad         | -              | MM_JOY1MOVE (steer)                  |
// | A, right trigger          | A: Enter key   | joystick button 1 (cannons)          |
// | B, X, left trigger        | -              | joystick button 2 (missiles)         |
// | Start                     | Enter key      | P key (pause / resume)               |
//
// Several pads and joystick 1 act as one: any of them pushing a way steers that way, and a
// button is held while any of them holds it. A control released sends the release of what its
// press sent, so a pad pulled out leaves nothing held; a key the keyboard holds as well stays
// down until the keyboard lets go too.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Starts SDL's game controller layer with its own database, SDL_GAMECONTROLLERCONFIG and the
// player's gamecontrollerdb.txt (see gamepadMappingFile), and opens every mapped pad and
// joystick 1; devices plugged in later open as they arrive. A mappings file that cannot be
// read, or of which SDL can use no line for this system, is named on standard error. Until
// captureJoystick only Start and A reach the game, as the keys setPadKeys names.
// releaseJoystick closes them.
void openGamepads();

// The player's own mappings: gamecontrollerdb.txt in the player's config folder beside the
// settings (platform/files.h: $XDG_CONFIG_HOME/voxmere/ or ~/.config/voxmere/ on Linux,
// %APPDATA%\voxmere\ on Windows). Empty when the system gives no such folder.
std::string gamepadMappingFile();

// The virtual keys Start and A press from now on; an aKey of 0 lets A fire as joystick
// button 1. The title passes Enter for both, the game P and 0.
void setPadKeys(int startKey, int aKey);

// Shakes every pad that can: `strength` from 0 to 1, for `milliseconds`. Does nothing while
// rumble is switched off or no pad is open.
void rumblePads(float strength, uint32_t milliseconds);
void setRumbleEnabled(bool enabled);

}  // namespace platform
