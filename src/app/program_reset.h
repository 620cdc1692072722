// Puts every global of the program back to its start-up value, so a test can run after any
// other in the same process: the game (rules/game_reset.h), the title screen, any recorded
// run, the command line's options and the frame log.
#pragma once

void resetProgramState();
