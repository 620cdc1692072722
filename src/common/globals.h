// Flags and values that cross subsystems, in one struct so that a reset is `shared = {}`.
// Beside each field: the module that mainly writes it, and any other writer. Everyone else
// only reads.
#pragma once

struct SharedState {
    // Seconds the last frame took. Written each frame by the title's frame (run/game_frame.cpp)
    // and the game update (rules/game_update.cpp), and from the journal by a replay
    // (run/recorded_run.cpp).
    float frameSeconds = 0.0f;

    // Start or Enter ended the title loop (render/title_screen.cpp), or a replay skipped the
    // title (run/recorded_run.cpp). Never cleared once set.
    bool titleFinished = false;

    // Leave whatever loop runs. Set on WM_QUIT and Escape (run/game_frame.cpp), by the title's
    // quit button (render/title_screen.cpp), at the end of the game-over fade
    // (rules/director.cpp) and by a replay whose title ended the program (run/recorded_run.cpp).
    // Never cleared once set.
    bool quitRequested = false;

    // rules/director.cpp: the overall fade every faded draw multiplies into its alpha, and
    // whether the opening is over.
    float fadeAlpha = 0.0f;
    bool playStarted = false;

    // The player's controls are locked while set: by the director (rules/director.cpp) for the
    // opening, cleared when play begins, and by the ship (player/player_ship.cpp) when it dies.
    bool controlsLocked = false;
    // player/player_ship.cpp: the last life is gone.
    bool gameOver = false;

    // The stereo options chosen on the title screen (render/title_screen.cpp), or read from the
    // journal by a replay (run/recorded_run.cpp).
    bool stereoEnabled = true;
    float eyeSeparation = 5.0f;

    // True for the whole run; nothing clears it. A draw that textures the world may test it
    // before switching texturing on.
    bool texturingEnabled = true;
};

extern SharedState shared;
