// Puts every global of the game back to the value it has when the program starts, so a
// test can run after any other in the same process. Each module that keeps globals adds its
// own reset to resetGameState. Devices are released (sound) or left alone (the window and
// its GL context, which only destroyGameWindow releases).
#pragma once

void resetGameState();
