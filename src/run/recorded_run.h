// Recording a run into a journal (--record) and playing one back (--replay). Both go through
// the game loop's own per-frame code (game_frame.h): a recording keeps what the loop delivers
// and the clock each frame reads, a replay delivers the kept messages and installs the kept
// clock instead. The clock is held still for the whole of each recorded or replayed frame, so
// however often a frame reads it, it reads the one value the journal holds.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/clock.h"
#include "run/journal.h"

enum class JournalMode { Off, Record, Replay };

// Assigning a fresh one closes the journal the reader opened; recordStream is closed by hand.
struct RecordedRunState {
    // What this run does with a journal; set by openRunJournal.
    JournalMode mode = JournalMode::Off;
    std::FILE* recordStream = nullptr;  // opened by openRunJournal, closed by finishRecording
    platform::MillisecondClock sourceClock = nullptr;
    bool recording = false;   // startRecording has started the writer
    JournalWriter writer;     // writes into the stream startRecording is given
    JournalReader reader;     // the journal openRunJournal opened for replay
    std::string writerError;  // the recording's first error; the run itself goes on
    uint32_t heldClockMs = 0;
};

extern RecordedRunState recordedRun;

// Opens what the command line asks for (an empty path asks nothing), before the window opens
// and before the working folder changes: creates the file to record into, or reads and checks
// the whole journal to replay. On failure prints one line "voxmere: <reason>" to `err` and
// returns 1; otherwise -1.
int openRunJournal(const std::string& recordPath, const std::string& replayPath, std::FILE* err);

// The file openRunJournal created for --record; nullptr otherwise.
std::FILE* recordFile();

// The journal opened for replay by openRunJournal.
JournalReader& replayReader();

// Holds the millisecond clock at `ms` until the next call (or until another clock is set).
void holdClockAt(uint32_t ms);

// --- recording ---

// At the switch from the title: writes the journal's header to `stream` (which the caller
// keeps) from what the title left (its choices, whether it ended the program, the input still
// held, the last frame time), with `seed` and the switch reading of the `source` clock
// (nullptr: the real one), and holds the clock at that reading. False with recordingError()
// when the header cannot be written; the run then goes on unrecorded.
bool startRecording(std::FILE* stream, uint32_t seed, platform::MillisecondClock source);
// A message the loop is about to deliver.
void recordMessage(const Message& message);
// Before a game frame: reads the source clock once, writes the frame with the messages kept
// since the last one, and holds the clock at that reading for the frame.
void recordFrameClock();
// The end record with the messages delivered after the last frame. False when the journal
// could not be written whole, at any point of the run; recordingError() says why.
bool finishRecording();
const std::string& recordingError();

// --- replay ---

// At the switch: puts the title's choices and the input it left held in place, as the
// recorded title left them, ends the run at once if its title did, hands shared.frameSeconds the
// title's last frame time and holds the clock at the switch reading.
void beginReplay(const JournalHeader& header);

// One recorded frame: delivers its messages through the loop's message path, holds the clock
// at its reading and runs the loop's frame (drawn when `draw`). False, with nothing run, when
// the frames are over (the messages after the last one are delivered then) or the run has
// ended.
bool replayFrame(JournalReader& reader, bool draw);

// A whole journal from the game's start-up state, without a window: the switch as the game
// makes it, then every frame through replayFrame, drawn into the current GL context when
// `draw`. Returns the state summary line where the replay ended.
std::string replayWholeJournal(JournalReader& reader, bool draw);

// Forgets any journal, recording or replay, as at start-up.
void resetRecordedRun();
