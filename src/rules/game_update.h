// Advances the game world by one frame, in a fixed order, and owns the pause toggle.
#pragma once

#include "player/player_ship.h"

struct PauseState {
    bool paused = false;
    bool keyLatch = false;  // P seen down and not yet released: one toggle per press
};

extern PauseState pauseState;

// Called once per game-loop pass, after the frame was drawn.
void updateGame();

// The ship's controls as the input holds them now: the arrow keys or the stick steer, Ctrl or
// joystick button 1 fires the cannons, Space or button 2 the missiles.
ShipControls readShipControls();
