#include "run/recorded_run.h"

#include <cerrno>
#include <cstring>

#include "common/globals.h"
#include "input/input.h"
#include "input/press_latch.h"
#include "platform/events.h"
#include "render/title_screen.h"
#include "run/game_frame.h"
#include "run/state_summary.h"

RecordedRunState recordedRun;

namespace {

uint32_t heldClock() {
    return recordedRun.heldClockMs;
}

// Keeps the first error of the recording; the run itself goes on.
void noteWriterFailure() {
    if (recordedRun.writerError.empty() && recordedRun.recording) {
        recordedRun.writerError = recordedRun.writer.error();
    }
}

CarriedInput inputStillHeld() {
    CarriedInput held;
    std::memcpy(held.keysDown, input.keys.down, sizeof held.keysDown);
    held.mouseLeftDown = input.mouseLeftDown != 0;
    held.mouseRightDown = input.mouseRightDown != 0;
    held.clickX = input.clickX;
    held.clickY = input.clickY;
    held.joyUp = input.joyUp;
    held.joyDown = input.joyDown;
    held.joyLeft = input.joyLeft;
    held.joyRight = input.joyRight;
    held.joyButton1 = input.joyButton1;
    held.joyButton2 = input.joyButton2;
    return held;
}

void restoreHeldInput(const CarriedInput& held) {
    std::memcpy(input.keys.down, held.keysDown, sizeof input.keys.down);
    input.mouseLeftDown = held.mouseLeftDown ? 1 : 0;
    input.mouseRightDown = held.mouseRightDown ? 1 : 0;
    input.clickX = held.clickX;
    input.clickY = held.clickY;
    input.joyUp = held.joyUp;
    input.joyDown = held.joyDown;
    input.joyLeft = held.joyLeft;
    input.joyRight = held.joyRight;
    input.joyButton1 = held.joyButton1;
    input.joyButton2 = held.joyButton2;
    matchPressLatchesToInput();
}

}  // namespace

int openRunJournal(const std::string& recordPath, const std::string& replayPath, std::FILE* err) {
    if (!recordPath.empty()) {
        const char* path = recordPath.c_str();
        recordedRun.recordStream = std::fopen(path, "wb");
        if (recordedRun.recordStream == nullptr) {
            std::fprintf(err, "voxmere: cannot record to %s: %s\n", path, std::strerror(errno));
            return 1;
        }
        recordedRun.mode = JournalMode::Record;
        return -1;
    }
    if (!replayPath.empty()) {
        recordedRun.reader = {};
        if (!recordedRun.reader.open(replayPath.c_str())) {
            std::fprintf(err, "voxmere: %s\n", recordedRun.reader.error().c_str());
            recordedRun.reader = {};
            return 1;
        }
        recordedRun.mode = JournalMode::Replay;
    }
    return -1;
}

std::FILE* recordFile() {
    return recordedRun.recordStream;
}

JournalReader& replayReader() {
    return recordedRun.reader;
}

void holdClockAt(uint32_t ms) {
    recordedRun.heldClockMs = ms;
    platform::setMillisecondClock(heldClock);
}

bool startRecording(std::FILE* stream, uint32_t seed, platform::MillisecondClock source) {
    recordedRun.sourceClock = source;
    platform::setMillisecondClock(source);
    JournalHeader header;
    header.seed = seed;
    header.stereoEnabled = shared.stereoEnabled;
    header.eyeSeparation = shared.eyeSeparation;
    header.quitOnTitle = shared.quitRequested;
    header.switchClockMs = platform::timeGetTime();
    header.titleFrameSeconds = shared.frameSeconds;
    header.input = inputStillHeld();
    holdClockAt(header.switchClockMs);
    recordedRun.writer = {};
    recordedRun.recording = true;
    recordedRun.writerError.clear();
    recordedRun.mode = JournalMode::Record;
    if (recordedRun.writer.start(stream, header)) return true;
    noteWriterFailure();
    return false;
}

void recordMessage(const Message& message) {
    if (recordedRun.mode != JournalMode::Record || !recordedRun.recording) return;
    if (!recordedRun.writer.addMessage(message)) noteWriterFailure();
}

void recordFrameClock() {
    if (recordedRun.mode != JournalMode::Record) return;
    platform::setMillisecondClock(recordedRun.sourceClock);
    const uint32_t now = platform::timeGetTime();
    holdClockAt(now);
    if (recordedRun.recording && !recordedRun.writer.writeFrame(now)) noteWriterFailure();
}

bool finishRecording() {
    if (recordedRun.recording && !recordedRun.writer.finish()) noteWriterFailure();
    if (recordedRun.recordStream != nullptr) {
        if (std::fclose(recordedRun.recordStream) != 0 && recordedRun.writerError.empty()) {
            recordedRun.writerError =
                std::string("cannot write the journal: ") + std::strerror(errno);
        }
        recordedRun.recordStream = nullptr;
    }
    platform::setMillisecondClock(recordedRun.sourceClock);
    return recordedRun.writerError.empty();
}

const std::string& recordingError() {
    return recordedRun.writerError;
}

void beginReplay(const JournalHeader& header) {
    shared.stereoEnabled = header.stereoEnabled;
    shared.eyeSeparation = header.eyeSeparation;
    if (header.quitOnTitle) {
        shared.quitRequested = true;
    } else {
        shared.titleFinished = true;
    }
    shared.frameSeconds = header.titleFrameSeconds;
    restoreHeldInput(header.input);
    holdClockAt(header.switchClockMs);
}

bool replayFrame(JournalReader& journal, bool draw) {
    if (shared.quitRequested) return false;
    if (!journal.nextFrame()) {
        for (const Message& message : journal.messages()) deliverMessage(message);
        return false;
    }
    for (const Message& message : journal.messages()) deliverMessage(message);
    holdClockAt(journal.clockMs());
    runGameFrame(draw);
    return true;
}

std::string replayWholeJournal(JournalReader& journal, bool draw) {
    beginReplay(journal.header());
    enterGame(journal.header().seed);
    while (replayFrame(journal, draw)) {
    }
    // The window procedure answers a replayed close with a WM_QUIT of its own; the journal
    // already held the one the loop delivered.
    Message reply;
    while (platform::peekMessage(reply)) {
    }
    return formatStateSummary(currentStateSummary());
}

void resetRecordedRun() {
    if (recordedRun.recordStream != nullptr) std::fclose(recordedRun.recordStream);
    recordedRun = {};
}
