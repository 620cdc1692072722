#include <cstdio>

#include "app/command_line.h"
#include "app/data_folder.h"
#include "app/main_loop.h"
#include "platform/files.h"

int main(int argc, char** argv) {
    const int status = handleCommandLine(argc, argv, stdout, stderr);
    if (status >= 0) return status;
    enterDataFolder(platform::executableFolder());
    return runGame();
}
