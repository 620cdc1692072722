// The life of the process: start-up, the title loop, the switch to the game, the game loop and
// shutdown, strictly in that order.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// Runs the whole program; returns the exit status (0 after a normal end of the game loop, 1
// when a run being recorded could not be written whole). A recorded or replayed run prints
// its state summary line to standard output at the end.
int runGame();

// Starts sound and loads every WAV file. On any failure ends the program through fatalError
// with the "Could not find wav files" box.
void startSoundOrExit();

// One title frame's update: times the frame and hands the title the mouse and Enter.
void updateTitleFrame();

// The two polling loops: each pass handles one waiting message or, with none waiting, draws
// one frame. Exposed so tests can drive them with injected messages. While a run is recorded
// the game loop keeps every message it delivers and the clock of every frame.
void runTitleLoop();
void runGameLoop();

// The replay's loop: one recorded frame per pass, shown no sooner than it was in the recorded
// run. The player's input is read only for Escape and the window's close, which end it.
void runReplayLoop();

// How the loops hand a message on: WM_QUIT ends the loop that runs, everything else goes
// through the press latches to the window procedure.
void deliverMessage(const Message& message);

// One pass of the game loop: with a message, keeps it in the recording (if any) and delivers
// it; without one, keeps the frame's clock reading and runs the frame (drawn when `draw`).
// The loop shows the frame; headless recordings call this without a window.
void gameLoopPass(const Message* message, bool draw);

// The game's side of the switch from the title: `seed` to srand, the director's opening, the
// frame timer restarted from the clock, the camera behind the ship.
void enterGame(uint32_t seed);

// The frame of a game-loop pass, without showing it: Escape seen, the stereo frame drawn (when
// `draw`), the world updated, the input frame ended.
void runGameFrame(bool draw);
