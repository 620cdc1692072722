// Flags and values that cross subsystems. Each is defined by the module named beside it; any
// other module that writes it is named too. Everyone else only reads.
#pragma once

// app/frame_timer.cpp: seconds the last frame took. Written each frame by the title loop's
// update (app/main_loop.cpp) and the game update (app/game_update.cpp).
extern float frameSeconds;

// render/title_screen.cpp: start or Enter ended the title loop. Never cleared once set.
extern bool titleFinished;

// app/main_loop.cpp: leave whatever loop runs; set there on WM_QUIT and Escape. Also set by
// the title's quit button (render/title_screen.cpp) and at the end of the game-over fade
// (app/director.cpp). Never cleared once set.
extern bool quitRequested;

// app/director.cpp: the overall fade every faded draw multiplies into its alpha, and whether
// the opening is over.
extern float fadeAlpha;
extern bool playStarted;

// player/player_ship.cpp: the player's controls are locked while set. Written by the director
// (app/director.cpp): set for the opening, cleared when play begins.
extern bool controlsLocked;
// player/player_ship.cpp: the last life is gone.
extern bool gameOver;

// render/title_screen.cpp: the stereo options chosen on the title screen. Set at start-up from
// the settings file (app/player_profile.cpp) and by a replay from its journal
// (run/recorded_run.cpp).
extern bool stereoEnabled;
extern float eyeSeparation;

// app/main_loop.cpp: true for the whole run; nothing clears it. A draw that textures the
// world may test it before switching texturing on.
extern bool texturingEnabled;
