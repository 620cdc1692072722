#include "app/program_reset.h"

#include "app/command_line.h"
#include "app/player_profile.h"
#include "common/globals.h"
#include "render/title_screen.h"
#include "rules/game_reset.h"
#include "run/recorded_run.h"

void resetProgramState() {
    resetGameState();
    resetRecordedRun();
    runOptions = RunOptions{};
    resetPlayerProfile();
    titleFinished = false;
    titleFade = 1.0f;
    startChosen = false;
    helpPage = false;
    optionsPage = false;
}
