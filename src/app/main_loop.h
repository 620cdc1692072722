// The life of the process: start-up, the title loop, the switch to the game, the game loop and
// shutdown, strictly in that order.
#pragma once

// Runs the whole program; returns the exit status (0 after a normal end of the game loop, 1
// when a run being recorded could not be written whole or a replayed journal failed to read
// part way). A recorded or replayed run prints its state summary line to standard output at
// the end.
int runGame();

// The one way out: releases the window (giving the desktop its display mode back), then the
// sound, then the pads and joystick. Safe at any stage of start-up and more than once. The end
// of runGame, fatalError and the session's end call it; runGame also registers it with atexit,
// so an exit from anywhere else still leaves the desktop in its own mode.
void shutDown();

// Starts sound and loads every WAV file. On any failure ends the program through fatalError
// with the "Could not find wav files" box.
void startSoundOrExit();

// The two polling loops: each pass handles one waiting message or, with none waiting, draws
// one frame. Exposed so tests can drive them with injected messages. While a run is recorded
// the game loop keeps every message it delivers and the clock of every frame.
void runTitleLoop();
void runGameLoop();

// The replay's loop: one recorded frame per pass, shown no sooner than it was in the recorded
// run. The player's input is read only for Escape and the window's close, which end it.
void runReplayLoop();
