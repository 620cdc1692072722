#include "app/player_profile.h"

#include <ctime>

#include "common/globals.h"
#include "hud/hud.h"
#include "profile/player_files.h"
#include "profile/scores.h"
#include "run/recorded_run.h"
#include "view/glasses.h"

PlayerProfileState playerProfile;

void startPlayerProfile(const RunOptions& options, std::FILE* err) {
    playerProfile.settingsPath = settingsFilePath();
    applySettings(loadSettings(playerProfile.settingsPath, err), options);
    bestScores.open(scoresFilePath(), static_cast<int64_t>(std::time(nullptr)), err);
}

void applySettings(const Settings& fromFile, const RunOptions& options) {
    playerProfile.saved = fromFile;
    shared.stereoEnabled = fromFile.stereo;
    shared.eyeSeparation = fromFile.separation;
    glasses = {options.glassesGiven ? options.glasses : fromFile.glasses,
               options.swapEyes || fromFile.swapEyes};
}

void saveChangedOptions(std::FILE* err) {
    Settings& saved = playerProfile.saved;
    if (shared.stereoEnabled == saved.stereo && shared.eyeSeparation == saved.separation) return;
    saved.stereo = shared.stereoEnabled;
    saved.separation = shared.eyeSeparation;
    std::string why;
    const unsigned keys = kSettingStereo | kSettingSeparation;
    if (!saveSettings(playerProfile.settingsPath, saved, keys, why) && !playerProfile.notSavedSaid) {
        playerProfile.notSavedSaid = true;
        std::fprintf(err, "voxmere: settings are not saved: %s\n", why.c_str());
    }
}

int enterFinishedGame(int64_t now, std::FILE* err) {
    if (recordedRun.mode == JournalMode::Replay || !shared.playStarted || scoreDisplay.total <= 0) {
        return -1;
    }
    ScoreEntry entry;
    entry.score = scoreDisplay.total;
    const double hundredths = static_cast<double>(timeDisplay.elapsed) * 100.0;
    entry.playCentiseconds = hundredths > 0.0 ? static_cast<uint32_t>(hundredths) : 0u;
    entry.date = now;
    return bestScores.enter(entry, now, err);
}

void resetPlayerProfile() {
    playerProfile = {};
    bestScores = {};
}
