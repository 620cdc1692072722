// Puts the game's globals (the shared flags, the world and its asteroid shape cache, the ship,
// the HUD, the director, input, timing, the view's glasses and frame scale, texture names,
// sound) back to their start-up values, so a new game or a test starts from where the program
// starts. Devices are released (sound) or left alone (the window and its GL context, which only
// destroyGameWindow releases). The title screen, recorded runs, the command line and the
// platform layer sit above or below the game: app/program_reset.h resets them too.
#pragma once

void resetGameState();
