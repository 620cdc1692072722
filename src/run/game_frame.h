// One frame of the game as every loop runs it: the live game loop, a recording and a replay
// all go through these, so a journal replays through the same code that was recorded.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// One title frame's update: times the frame and hands the title the mouse and Enter.
void updateTitleFrame();

// How the loops hand a message on: WM_QUIT ends the loop that runs, everything else goes
// through the press latches to the window procedure.
void deliverMessage(const Message& message);

// One pass of the game loop: with a message, keeps it in the recording (if any) and delivers
// it; without one, keeps the frame's clock reading and runs the frame (drawn when `draw`).
// The loop shows the frame; headless recordings call this without a window.
void gameLoopPass(const Message* message, bool draw);

// The game's side of the switch from the title: `seed` to the random generator, the director's opening, the
// frame timer restarted from the clock, the camera behind the ship.
void enterGame(uint32_t seed);

// The frame of a game-loop pass, without showing it: Escape seen, the stereo frame drawn (when
// `draw`), the world updated, the input frame ended.
void runGameFrame(bool draw);
