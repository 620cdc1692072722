#include <cstdio>

#include "app/command_line.h"
#include "app/data_folder.h"
#include "app/main_loop.h"
#include "app/player_profile.h"
#include "platform/files.h"
#include "platform/process.h"
#include "run/recorded_run.h"

int main(int argc, char** argv) {
    platform::startProcess(argc, argv);
    const int status = handleCommandLine(argc, argv, stdout, stderr);
    if (status >= 0) return status;
    // Before the window opens, and before the working folder moves to the game's data.
    const int journalStatus = openRunJournal(runOptions.recordPath, runOptions.replayPath, stderr);
    if (journalStatus >= 0) return journalStatus;
    startPlayerProfile(runOptions, stderr);
    enterDataFolder(platform::executableFolder());
    return runGame();
}
