// Puts the program's state back to its start-up values, so a test can run after any other in
// the same process: the game (rules/game_reset.h, which also closes the sound), the title
// screen, any recorded run (its journals closed), the command line's options, the player's
// settings and best scores as loaded, the frame log, and the platform layer's state
// (platform/platform_reset.h: the clock, the message queue, the pads).
//
// What a running game or a test's GL context holds open stays as it is: the game window
// (gameWindow, released only by destroyGameWindow), the GL context and everything in it
// (textures, display lists, GL state; the tests' GL context resets its own), full screen,
// the display mode and the cursor.
#pragma once

void resetProgramState();
