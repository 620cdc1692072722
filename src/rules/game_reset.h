// Puts the game's state back to its start-up values: the shared flags, the random generator,
// the frame timer, the pause, input and the tap latches, the director, the glasses, the view's
// window size and frame scale, the texture names, the sound bank (the device closed first),
// the HUD, the ship, the asteroid field and its shape cache, the fighters and the pickups. A
// test then starts from where the program starts; the running game never calls it. The window
// and its GL context stay (only destroyGameWindow releases them). The title screen, recorded
// runs, the command line, the player's files and the platform layer sit above or below the
// game: app/program_reset.h resets them too.
#pragma once

void resetGameState();
