#include "app/frame_log.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

constexpr int kMarkCount = 3;

struct FrameLog {
    bool chosen = false;  // the path was taken from openFrameLog or the environment
    std::string path;
    bool marked[kMarkCount] = {};
};

FrameLog frameLog;

}  // namespace

const char* frameMarkName(FrameMark mark) {
    switch (mark) {
        case FrameMark::FirstTitleFrame:
            return "title-frame";
        case FrameMark::StartHandled:
            return "start";
        case FrameMark::FirstGameFrame:
            return "game-frame";
    }
    return "?";
}

double monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

bool appendFrameLogLine(const char* path, const char* name, double seconds) {
    // Binary, so that the log holds the same bytes on Windows as on Linux.
    FILE* file = std::fopen(path, "ab");
    if (file == nullptr) return false;
    const bool written = std::fprintf(file, "%s %.6f\n", name, seconds) > 0;
    return std::fclose(file) == 0 && written;
}

void openFrameLog(const char* path) {
    frameLog.chosen = true;
    frameLog.path = path != nullptr ? path : "";
    for (bool& m : frameLog.marked) m = false;
}

void markFrame(FrameMark mark) {
    if (!frameLog.chosen) openFrameLog(std::getenv("VOXMERE_FRAME_LOG"));
    const int index = static_cast<int>(mark);
    if (frameLog.marked[index]) return;
    const double now = monotonicSeconds();
    frameLog.marked[index] = true;
    if (frameLog.path.empty()) return;
    if (!appendFrameLogLine(frameLog.path.c_str(), frameMarkName(mark), now)) {
        std::fprintf(stderr, "voxmere: cannot write the frame log %s\n", frameLog.path.c_str());
    }
}

void resetFrameLog() {
    frameLog = {};
}
