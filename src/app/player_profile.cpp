#include "app/player_profile.h"

#include "common/globals.h"
#include "hud/hud.h"
#include "profile/player_files.h"
#include "profile/scores.h"
#include "run/recorded_run.h"
#include "view/glasses.h"

PlayerProfileState playerProfile;

void startPlayerProfile(const RunOptions& options, std::FILE* err) {
    playerProfile.settingsPath = settingsFilePath(playerProfile.noSettingsPath);
    applySettings(loadSettings(playerProfile.settingsPath, err), options);
    std::string noScoresPath;
    const std::string scoresPath = scoresFilePath(noScoresPath);
    bestScores.open(scoresPath, err, noScoresPath);
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
    // Only what changed: another game open on its title may have saved the other choice.
    unsigned keys = 0;
    if (shared.stereoEnabled != saved.stereo) keys |= kSettingStereo;
    if (shared.eyeSeparation != saved.separation) keys |= kSettingSeparation;
    if (keys == 0) return;
    saved.stereo = shared.stereoEnabled;
    saved.separation = shared.eyeSeparation;
    std::string why = playerProfile.noSettingsPath;
    if ((playerProfile.settingsPath.empty() ||
         !saveSettings(playerProfile.settingsPath, saved, keys, why)) &&
        !playerProfile.notSavedSaid) {
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
    return bestScores.enter(entry, err);
}

void resetPlayerProfile() {
    playerProfile = {};
    bestScores = {};
}
