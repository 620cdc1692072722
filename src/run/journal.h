// The journal of a recorded run: everything from outside that steers the game, so that feeding
// it back through the same code reproduces the run exactly. It holds the random seed, what the
// title screen left behind (the stereo choices and the input still held when the game starts),
// and for every game frame the millisecond-clock reading and the window messages delivered
// before it. The byte layout is in docs/formats.md, "Journal".
//
// The writer flushes every frame, so a run that dies leaves a journal that ends on a whole
// frame. The reader checks the whole file when it opens it and refuses anything damaged, cut
// short inside a record or foreign with a one-line reason; it never reads past the file and
// never allocates more than the file itself could hold.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "platform/messages.h"

// The first bytes of every journal, and the layout version this code writes and reads. Version 2
// is the first whose seed drives the game's own generator (common/random.h); a version 1
// journal is refused, since it would replay as a different game.
inline constexpr char kJournalMagic[4] = {'V', 'X', 'J', 'R'};
inline constexpr uint16_t kJournalVersion = 2;

// Sizes on disk, in bytes.
inline constexpr std::size_t kJournalHeaderBytes = 66;
inline constexpr std::size_t kJournalMessageBytes = 10;
inline constexpr std::size_t kJournalFrameHeadBytes = 7;  // tag, clock reading, message count
inline constexpr std::size_t kJournalEndBytes = 7;        // tag, frame count, message count

// More messages than this between two frames cannot be written (the count is 16 bits).
inline constexpr std::size_t kJournalMaxMessagesPerFrame = 65535;

// Input the game inherits from the title screen: the window procedure's state is never reset
// at the switch, so a key or button still held then is held in the first game frame.
struct CarriedInput {
    uint8_t keysDown[256] = {};  // 1 while held, by virtual-key code
    bool mouseLeftDown = false;
    bool mouseRightDown = false;
    int32_t clickX = 0;  // signed 16-bit range, like the click point itself
    int32_t clickY = 0;
    bool joyUp = false, joyDown = false, joyLeft = false, joyRight = false;
    bool joyButton1 = false, joyButton2 = false;
};

struct JournalHeader {
    uint32_t seed = 0;          // seeds the game's generator before anything draws from it
    bool stereoEnabled = true;  // the title's options
    float eyeSeparation = 5.0f;
    bool quitOnTitle = false;        // the title ended the program: no game frame follows
    uint32_t switchClockMs = 0;      // the clock when the frame timer restarted for the game
    float titleFrameSeconds = 0.0f;  // frameSeconds as the title's last update left it
    CarriedInput input;
};

// True for the message codes a journal may hold: everything the platform layer delivers.
bool isJournalMessageCode(uint32_t code);

// Checks one header or one message against what a journal may hold. False with the reason in
// `error` otherwise; the writer and the reader share these rules.
bool checkJournalHeader(const JournalHeader& header, std::string& error);
bool checkJournalMessage(const Message& message, std::string& error);

// The file a writer or reader works on: closed with its holder when the holder opened it, left
// to the caller when the caller handed it in. Moving hands it over; assigning over one closes
// the file it opened first.
struct JournalFile {
    std::FILE* stream = nullptr;
    bool owned = false;

    JournalFile() = default;
    JournalFile(JournalFile&& other) noexcept;
    JournalFile& operator=(JournalFile&& other) noexcept;
    ~JournalFile() { close(); }
    // Closes an owned file (false when that fails) and lets go of a borrowed one.
    bool close();
};

// Appends a run to a journal as it happens: messages as they are delivered, then the frame
// they preceded. Every call after a failure returns false and keeps the first error.
// A writer dropped, or with another assigned over it, closes a file it created, without an end
// record.
class JournalWriter {
  public:
    JournalWriter() = default;
    JournalWriter(JournalWriter&&) = default;
    JournalWriter& operator=(JournalWriter&&) = default;

    // Creates (or replaces) the file at `path` and writes the header.
    bool create(const char* path, const JournalHeader& header);
    // Writes the header to a stream the caller keeps and closes.
    bool start(std::FILE* stream, const JournalHeader& header);

    // Keeps a message delivered before the next frame (or before the end of the run).
    bool addMessage(const Message& message);
    // Writes the kept messages and the frame's clock reading, then flushes.
    bool writeFrame(uint32_t clockMs);
    // Writes the end record with the messages kept since the last frame; closes an own file.
    bool finish();

    uint32_t frameCount() const { return frames; }
    const std::string& error() const { return errorText; }

  private:
    bool fail(const std::string& reason);
    bool writeRecord(uint8_t tag, uint32_t value);

    JournalFile file;
    bool failed = false;
    bool finished = false;
    bool quitOnTitle = false;
    uint32_t lastClockMs = 0;
    uint32_t frames = 0;
    std::vector<Message> pending;
    std::vector<uint8_t> recordBytes;
    std::string path;
    std::string errorText;
};

// Plays a journal back frame by frame. open/attach read and check the whole file first, so a
// journal that is accepted can be replayed to its end. A reader dropped, or with another
// assigned over it, closes a file it opened.
class JournalReader {
  public:
    JournalReader() = default;
    JournalReader(JournalReader&&) = default;
    JournalReader& operator=(JournalReader&&) = default;

    // Reads and checks the file at `path`; the error text starts with the path.
    bool open(const char* path);
    // Reads and checks a seekable stream the caller keeps and closes.
    bool attach(std::FILE* stream);

    const JournalHeader& header() const { return head; }
    uint32_t frameCount() const { return frames; }
    // False when the file stops after a whole frame without its end record: the recording
    // was cut off (the game died or was killed). Its frames are all there and can be replayed.
    bool finished() const { return hasEnd; }

    // Moves to the next frame: true with its clockMs() and messages(). False when the frames
    // are over; messages() then holds those delivered after the last frame and error() is
    // empty, unless the file changed after it was checked.
    bool nextFrame();
    uint32_t clockMs() const { return frameClockMs; }
    std::span<const Message> messages() const { return current; }

    const std::string& error() const { return errorText; }

  private:
    bool readAll();
    bool fail(const std::string& reason);

    JournalFile file;
    JournalHeader head;
    uint32_t frames = 0;
    bool hasEnd = false;
    std::size_t fileBytes = 0;
    // Replay position.
    std::size_t offset = 0;
    uint32_t framesRead = 0;
    uint32_t previousClockMs = 0;
    bool atEnd = true;  // until a file has been checked and accepted
    uint32_t frameClockMs = 0;
    std::vector<Message> current;
    std::string path;
    std::string errorText;
};
