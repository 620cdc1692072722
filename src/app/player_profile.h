// The player's files in a run: the settings file applied at start-up under the command line,
// the options page's changes saved as they happen, and a finished game entered in the best
// scores.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "profile/settings.h"

struct PlayerProfileState {
    // What the settings file says, with the options page's changes since start-up; never what
    // the command line chose for this run.
    Settings saved;
    std::string settingsPath;  // empty: settings are not kept, for the reason below
    std::string noSettingsPath;
    bool notSavedSaid = false;  // standard error has heard that settings are not saved
};
extern PlayerProfileState playerProfile;

// The settings and best-scores files from the environment's XDG folders: reads both, applies
// the settings (applySettings) and keeps the table for the title and the game-over banner.
void startPlayerProfile(const RunOptions& options, std::FILE* err);

// The settings file's values for this run, then the command line's glasses and --swap-eyes.
void applySettings(const Settings& fromFile, const RunOptions& options);

// After a title frame: writes stereo or separation to the settings file when the options page
// changed it, and only the one that changed. A file that cannot be written leaves the choice for this run only, said once.
void saveChangedOptions(std::FILE* err);

// After the game loop, however the game ended: enters it in the best scores when play started
// and it scored, never for a replay. Returns its rank (0 for the best) or -1.
int enterFinishedGame(int64_t now, std::FILE* err);

// Back to start-up: no files, default settings, an empty table.
void resetPlayerProfile();
