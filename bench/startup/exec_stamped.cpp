// Starts a program with its launch time in the frame log, so the program's own marks can be
// read against it: appends "launch <seconds>" (the monotonic clock, as the marks use) to the
// file named by VOXMERE_FRAME_LOG, then becomes the program (same process, same id).
//   VOXMERE_FRAME_LOG=FILE voxmere_exec_stamped PROGRAM [ARGS...]
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/frame_log.h"

int main(int argc, char** argv) {
    const char* log = std::getenv("VOXMERE_FRAME_LOG");
    if (argc < 2 || log == nullptr || *log == '\0') {
        std::fprintf(stderr, "usage: VOXMERE_FRAME_LOG=FILE %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    if (!appendFrameLogLine(log, "launch", monotonicSeconds())) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], log);
        return 1;
    }
    execvp(argv[1], argv + 1);
    std::fprintf(stderr, "%s: cannot start %s: %s\n", argv[0], argv[1], std::strerror(errno));
    return 127;
}
