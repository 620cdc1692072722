#include "run/recorded_run.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "common/globals.h"
#include "input/input.h"
#include "input/press_latch.h"
#include "platform/events.h"
#include "render/title_screen.h"
#include "run/game_frame.h"
#include "run/state_summary.h"

JournalMode journalMode = JournalMode::Off;

namespace {

// Optional so that a fresh one can be made for every run in one process (the tests').
std::optional<JournalWriter> writer;
std::optional<JournalReader> reader;
std::FILE* recordStream = nullptr;  // opened by openRunJournal, closed by finishRecording
platform::MillisecondClock sourceClock = nullptr;
std::string writerError;

uint32_t heldClockMs = 0;
uint32_t heldClock() {
    return heldClockMs;
}

// Keeps the first error of the recording; the run itself goes on.
void noteWriterFailure() {
    if (writerError.empty() && writer) writerError = writer->error();
}

CarriedInput inputStillHeld() {
    CarriedInput input;
    std::memcpy(input.keysDown, keys.down, sizeof input.keysDown);
    input.mouseLeftDown = mouseLeftDown != 0;
    input.mouseRightDown = mouseRightDown != 0;
    input.clickX = clickX;
    input.clickY = clickY;
    input.joyUp = joyUp;
    input.joyDown = joyDown;
    input.joyLeft = joyLeft;
    input.joyRight = joyRight;
    input.joyButton1 = joyButton1;
    input.joyButton2 = joyButton2;
    return input;
}

void restoreHeldInput(const CarriedInput& input) {
    std::memcpy(keys.down, input.keysDown, sizeof keys.down);
    mouseLeftDown = input.mouseLeftDown ? 1 : 0;
    mouseRightDown = input.mouseRightDown ? 1 : 0;
    clickX = input.clickX;
    clickY = input.clickY;
    joyUp = input.joyUp;
    joyDown = input.joyDown;
    joyLeft = input.joyLeft;
    joyRight = input.joyRight;
    joyButton1 = input.joyButton1;
    joyButton2 = input.joyButton2;
    matchPressLatchesToInput();
}

}  // namespace

int openRunJournal(const std::string& recordPath, const std::string& replayPath, std::FILE* err) {
    if (!recordPath.empty()) {
        const char* path = recordPath.c_str();
        recordStream = std::fopen(path, "wb");
        if (recordStream == nullptr) {
            std::fprintf(err, "voxmere: cannot record to %s: %s\n", path, std::strerror(errno));
            return 1;
        }
        journalMode = JournalMode::Record;
        return -1;
    }
    if (!replayPath.empty()) {
        reader.emplace();
        if (!reader->open(replayPath.c_str())) {
            std::fprintf(err, "voxmere: %s\n", reader->error().c_str());
            reader.reset();
            return 1;
        }
        journalMode = JournalMode::Replay;
    }
    return -1;
}

std::FILE* recordFile() {
    return recordStream;
}

JournalReader& replayReader() {
    if (!reader) reader.emplace();
    return *reader;
}

void holdClockAt(uint32_t ms) {
    heldClockMs = ms;
    platform::setMillisecondClock(heldClock);
}

bool startRecording(std::FILE* stream, uint32_t seed, platform::MillisecondClock source) {
    sourceClock = source;
    platform::setMillisecondClock(source);
    JournalHeader header;
    header.seed = seed;
    header.stereoEnabled = stereoEnabled;
    header.eyeSeparation = eyeSeparation;
    header.quitOnTitle = quitRequested;
    header.switchClockMs = platform::timeGetTime();
    header.titleFrameSeconds = frameSeconds;
    header.input = inputStillHeld();
    holdClockAt(header.switchClockMs);
    writer.emplace();
    writerError.clear();
    journalMode = JournalMode::Record;
    if (writer->start(stream, header)) return true;
    noteWriterFailure();
    return false;
}

void recordMessage(const Message& message) {
    if (journalMode != JournalMode::Record || !writer) return;
    if (!writer->addMessage(message)) noteWriterFailure();
}

void recordFrameClock() {
    if (journalMode != JournalMode::Record) return;
    platform::setMillisecondClock(sourceClock);
    const uint32_t now = platform::timeGetTime();
    holdClockAt(now);
    if (writer && !writer->writeFrame(now)) noteWriterFailure();
}

bool finishRecording() {
    if (writer && !writer->finish()) noteWriterFailure();
    if (recordStream != nullptr) {
        if (std::fclose(recordStream) != 0 && writerError.empty()) {
            writerError = std::string("cannot write the journal: ") + std::strerror(errno);
        }
        recordStream = nullptr;
    }
    platform::setMillisecondClock(sourceClock);
    return writerError.empty();
}

const std::string& recordingError() {
    return writerError;
}

void beginReplay(const JournalHeader& header) {
    stereoEnabled = header.stereoEnabled;
    eyeSeparation = header.eyeSeparation;
    if (header.quitOnTitle) {
        quitRequested = true;
    } else {
        titleFinished = true;
    }
    frameSeconds = header.titleFrameSeconds;
    restoreHeldInput(header.input);
    holdClockAt(header.switchClockMs);
}

bool replayFrame(JournalReader& journal, bool draw) {
    if (quitRequested) return false;
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
    journalMode = JournalMode::Off;
    writer.reset();
    reader.reset();
    if (recordStream != nullptr) std::fclose(recordStream);
    recordStream = nullptr;
    sourceClock = nullptr;
    writerError.clear();
    heldClockMs = 0;
}
