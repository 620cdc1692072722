// Advances the game world by one frame, in a fixed order, and owns the pause toggle.
#pragma once

extern bool paused;
extern bool pauseKeyLatch;  // P seen down and not yet released: one toggle per press

// Called once per game-loop pass, after the frame was drawn.
void updateGame();
