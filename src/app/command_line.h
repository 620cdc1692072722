// The command line: choices a player makes for one run (window or full screen, which glasses and
// which way round, recording the run or replaying a recorded one), the best scores, and the
// usual --help and --version. What it sets wins over the settings file for this run only.
#pragma once

#include <cstdio>
#include <string>

#include "app/game_window.h"
#include "view/glasses.h"

struct RunOptions {
    bool windowed = false;  // a window, 640 x 480 to start with; the display mode is left alone
    // --fullscreen desktop|mode; without it (and without --windowed) a settings file may choose.
    bool fullScreenGiven = false;
    FullScreenKind fullScreen = FullScreenKind::Mode;
    bool glassesGiven = false;  // --glasses was on the line
    Glasses glasses = Glasses::RedBlue;
    bool swapEyes = false;  // --swap-eyes: the glasses are worn the other way round
    std::string recordPath;  // --record: write the run's journal here
    std::string replayPath;  // --replay: play this journal back instead of reading the player
};

// What the run was told to do by its command line.
struct CommandLine {
    enum class Action { Play, ShowHelp, ShowVersion, ShowScores, Invalid };
    Action action = Action::Play;
    RunOptions options;
    std::string error;  // for Invalid: what was wrong, without the usage
};

// The screen the run opens: --windowed, then --fullscreen, then `fromSettings` (what a
// settings file chose, FullScreenKind::Mode when it chose nothing).
FullScreenKind chosenScreen(const RunOptions& options, FullScreenKind fromSettings);

// "desktop" or "mode", as --fullscreen and the settings file's `fullscreen` take them. False
// for anything else, leaving `out` alone.
bool readFullScreenValue(const char* value, FullScreenKind& out);

// The options chosen for this run; runGame reads them.
extern RunOptions runOptions;

// Reads argv[1..argc-1]. Options may come in any order; "--glasses", "--fullscreen",
// "--record" and "--replay" take their value as the next argument or after '='. The first
// unknown argument, a missing value, --record or --replay given twice, --record with
// --replay or --windowed with --fullscreen make the line Invalid.
CommandLine parseCommandLine(int argc, const char* const* argv);

// Parses, prints what is asked (help, version and the best scores to `out`, an error and the
// usage to `err`) and stores the options in runOptions and glasses. Returns -1 when the game
// should start, otherwise the exit status: 0 after --help, --version or --scores, 2 for a line
// the game cannot use.
int handleCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

// The text --help prints.
const char* usageText();
