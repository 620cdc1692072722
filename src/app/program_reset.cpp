#include "app/program_reset.h"

#include "app/command_line.h"
#include "app/frame_log.h"
#include "app/player_profile.h"
#include "platform/platform_reset.h"
#include "render/title_screen.h"
#include "rules/game_reset.h"
#include "run/recorded_run.h"

void resetProgramState() {
    resetGameState();
    titleScreen = {};
    resetRecordedRun();
    runOptions = {};
    resetPlayerProfile();
    resetFrameLog();
    platform::resetPlatformState();
}
