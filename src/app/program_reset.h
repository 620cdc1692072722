// Puts every global of the program back to its start-up value, so a test can run after any
// other in the same process: the game (rules/game_reset.h), the title screen, any recorded
// run and the command line's options.
#pragma once

void resetProgramState();
