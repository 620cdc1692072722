// The life of the process: start-up, the title loop, the switch to the game, the game loop and
// shutdown, strictly in that order.
#pragma once

// Runs the whole program; returns the exit status (0 after a normal end of the game loop).
int runGame();

// Starts sound and loads every WAV file. On any failure ends the program through fatalError
// with the "Could not find wav files" box.
void startSoundOrExit();

// One title frame's update: times the frame and hands the title the mouse and Enter.
void updateTitleFrame();

// The two polling loops: each pass handles one waiting message or, with none waiting, draws
// one frame. Exposed so tests can drive them with injected messages.
void runTitleLoop();
void runGameLoop();
