#include "app/player_profile.h"

#include <ctime>

#include "common/globals.h"
#include "hud/hud.h"
#include "profile/player_files.h"
#include "profile/scores.h"
#include "run/recorded_run.h"
#include "view/glasses.h"

Settings savedSettings;

namespace {

std::string settingsPath;
bool settingsNotSavedSaid = false;

}  // namespace

void startPlayerProfile(const RunOptions& options, std::FILE* err) {
    settingsPath = settingsFilePath();
    applySettings(loadSettings(settingsPath, err), options);
    bestScores.open(scoresFilePath(), static_cast<int64_t>(std::time(nullptr)), err);
}

void applySettings(const Settings& fromFile, const RunOptions& options) {
    savedSettings = fromFile;
    stereoEnabled = fromFile.stereo;
    eyeSeparation = fromFile.separation;
    glasses = options.glassesGiven ? options.glasses : fromFile.glasses;
    swapEyes = options.swapEyes || fromFile.swapEyes;
}

void saveChangedOptions(std::FILE* err) {
    if (stereoEnabled == savedSettings.stereo && eyeSeparation == savedSettings.separation) return;
    savedSettings.stereo = stereoEnabled;
    savedSettings.separation = eyeSeparation;
    std::string why;
    if (!saveSettings(settingsPath, savedSettings, kSettingStereo | kSettingSeparation, why) &&
        !settingsNotSavedSaid) {
        settingsNotSavedSaid = true;
        std::fprintf(err, "voxmere: settings are not saved: %s\n", why.c_str());
    }
}

int enterFinishedGame(int64_t now, std::FILE* err) {
    if (journalMode == JournalMode::Replay || !playStarted || scoreDisplay.total <= 0) return -1;
    ScoreEntry entry;
    entry.score = scoreDisplay.total;
    const double hundredths = static_cast<double>(timeDisplay.elapsed) * 100.0;
    entry.playCentiseconds = hundredths > 0.0 ? static_cast<uint32_t>(hundredths) : 0u;
    entry.date = now;
    return bestScores.enter(entry, now, err);
}

void resetPlayerProfile() {
    savedSettings = Settings{};
    settingsPath.clear();
    settingsNotSavedSaid = false;
    bestScores = ScoreKeeper{};
}
