// Flags and values that cross subsystems. Each is defined by the module that owns it (named
// beside it); everyone else only reads, unless the comment says otherwise.
#pragma once

// app/frame_timer.cpp: seconds the last frame took; written by the title and game updates.
extern float frameSeconds;

// app/main_loop.cpp: leave the title loop / leave whatever loop runs. Never cleared once set.
extern bool titleFinished;
extern bool quitRequested;

// app/director.cpp: the overall fade every faded draw multiplies into its alpha, and whether
// the opening is over (the cockpit overlay is drawn from then on).
extern float fadeAlpha;
extern bool playStarted;

// player/player_ship.cpp: controls are locked during the opening; the last life is gone.
extern bool controlsLocked;
extern bool gameOver;

// render/title_screen.cpp: the stereo options chosen on the title screen.
extern bool stereoEnabled;
extern float eyeSeparation;

// True for the whole run; world objects switch texturing only while it is set.
extern bool texturingEnabled;
