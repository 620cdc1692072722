// Opt-in timing marks for measuring the game from outside: how long start-up takes to the
// first title frame, and the switch from the start choice to the first game frame. With
// VOXMERE_FRAME_LOG set to a path, each mark appends one line "<name> <seconds>" to that file
// the first time it is reached, read from the monotonic clock (CLOCK_MONOTONIC, so a launcher
// in another process can stamp the same clock). Without it nothing is written.
#pragma once

enum class FrameMark { FirstTitleFrame, StartHandled, FirstGameFrame };

// The name a mark has in the log: "title-frame", "start", "game-frame".
const char* frameMarkName(FrameMark mark);

// Seconds on the monotonic clock, with sub-microsecond resolution.
double monotonicSeconds();

// Appends "<name> <seconds>\n" (seconds with six decimals); false when the file cannot be
// written.
bool appendFrameLogLine(const char* path, const char* name, double seconds);

// Logs the mark with the current time the first time it is reached, when a log is open.
void markFrame(FrameMark mark);

// Where marks go: nullptr or "" turns the log off. Every mark may be logged again afterwards.
// Without a call, the first mark opens the log named by VOXMERE_FRAME_LOG.
void openFrameLog(const char* path);

// Back to how the program starts: no log chosen, no mark reached.
void resetFrameLog();
