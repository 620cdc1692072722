// The game's script: the fade-in and opening timeline (opening card, HUD set-up, music, start
// card, camera home, play begins) and, once the last life is gone, the game-over fade that
// ends the run.
#pragma once

// Clears the one-shot event flags of the opening before the first game frame.
void resetDirector();

// Back to the start of a run: level clock, fade-in, game-over fade and the event flags. The
// program starts in this state; tests use it through resetGameState.
void resetDirectorState();

// Once per unpaused game frame, first thing in the update.
void updateDirector();
