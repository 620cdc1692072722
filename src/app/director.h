// The game's script: the opening timeline, fighter waves, speed-ups and the game-over fade.
#pragma once

// Clears the one-shot event flags before the first game frame.
void resetDirector();

// Once per unpaused game frame, first thing in the update.
void updateDirector();
