#include "run/journal.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <limits>
#include <utility>

namespace {

constexpr uint8_t kFrameTag = 'F';
constexpr uint8_t kEndTag = 'E';

// Header field offsets.
constexpr std::size_t kVersionAt = 4;
constexpr std::size_t kStereoAt = 6;
constexpr std::size_t kQuitAt = 7;
constexpr std::size_t kSeedAt = 8;
constexpr std::size_t kSeparationAt = 12;
constexpr std::size_t kSwitchClockAt = 16;
constexpr std::size_t kTitleSecondsAt = 20;
constexpr std::size_t kKeysAt = 24;
constexpr std::size_t kButtonsAt = 56;
constexpr std::size_t kStickAt = 57;
constexpr std::size_t kClickXAt = 58;
constexpr std::size_t kClickYAt = 62;
static_assert(kClickYAt + 4 == kJournalHeaderBytes);

constexpr uint8_t kButtonBits = 0x03;
constexpr uint8_t kStickBits = 0x3F;

// On Windows the build uses mingw-w64's own printf family, which takes the C99 formats.
#if defined(__MINGW32__)
std::string format(const char* pattern, ...) __attribute__((format(gnu_printf, 1, 2)));
#else
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
#endif
std::string format(const char* pattern, ...) {
    char text[256];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

void putU16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void putU32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint16_t getU16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

uint32_t getU32(const uint8_t* at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | at[i];
    return value;
}

uint32_t floatBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float bitsFloat(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool isKeyMessage(uint32_t code) {
    return code == WM_KEYDOWN || code == WM_KEYUP || code == WM_SYSKEYDOWN || code == WM_SYSKEYUP;
}

// The clock is a wrapping 32-bit count: a reading half the range or more ahead of the previous
// one can only be a reading from before it.
bool clockAdvances(uint32_t previous, uint32_t now) {
    return now - previous < 0x80000000u;
}

std::string backwardsClockText(uint32_t frame, uint32_t previous, uint32_t now) {
    return format("frame %u reads the clock at %u ms, before the previous reading of %u ms", frame,
                  now, previous);
}

void encodeHeader(const JournalHeader& header, uint8_t* out) {
    std::memset(out, 0, kJournalHeaderBytes);
    std::memcpy(out, kJournalMagic, sizeof kJournalMagic);
    putU16(out + kVersionAt, kJournalVersion);
    out[kStereoAt] = header.stereoEnabled ? 1 : 0;
    out[kQuitAt] = header.quitOnTitle ? 1 : 0;
    putU32(out + kSeedAt, header.seed);
    putU32(out + kSeparationAt, floatBits(header.eyeSeparation));
    putU32(out + kSwitchClockAt, header.switchClockMs);
    putU32(out + kTitleSecondsAt, floatBits(header.titleFrameSeconds));
    const CarriedInput& input = header.input;
    for (int key = 0; key < 256; ++key) {
        if (input.keysDown[key] != 0)
            out[kKeysAt + key / 8] |= static_cast<uint8_t>(1 << (key % 8));
    }
    out[kButtonsAt] =
        static_cast<uint8_t>((input.mouseLeftDown ? 1 : 0) | (input.mouseRightDown ? 2 : 0));
    out[kStickAt] = static_cast<uint8_t>((input.joyUp ? 1 : 0) | (input.joyDown ? 2 : 0) |
                                         (input.joyLeft ? 4 : 0) | (input.joyRight ? 8 : 0) |
                                         (input.joyButton1 ? 16 : 0) | (input.joyButton2 ? 32 : 0));
    putU32(out + kClickXAt, static_cast<uint32_t>(input.clickX));
    putU32(out + kClickYAt, static_cast<uint32_t>(input.clickY));
}

// Fills `header` from the bytes after the magic and version have been accepted; false when a
// field holds a value the game cannot have left.
bool decodeHeader(const uint8_t* in, JournalHeader& header, std::string& error) {
    if (in[kStereoAt] > 1 || in[kQuitAt] > 1) {
        error = "has a damaged header (a yes/no field holds another value)";
        return false;
    }
    if ((in[kButtonsAt] & ~kButtonBits) != 0 || (in[kStickAt] & ~kStickBits) != 0) {
        error = "has a damaged header (unknown mouse or joystick flags)";
        return false;
    }
    header.stereoEnabled = in[kStereoAt] == 1;
    header.quitOnTitle = in[kQuitAt] == 1;
    header.seed = getU32(in + kSeedAt);
    header.eyeSeparation = bitsFloat(getU32(in + kSeparationAt));
    header.switchClockMs = getU32(in + kSwitchClockAt);
    header.titleFrameSeconds = bitsFloat(getU32(in + kTitleSecondsAt));
    CarriedInput& input = header.input;
    for (int key = 0; key < 256; ++key)
        input.keysDown[key] = (in[kKeysAt + key / 8] >> (key % 8)) & 1;
    input.mouseLeftDown = (in[kButtonsAt] & 1) != 0;
    input.mouseRightDown = (in[kButtonsAt] & 2) != 0;
    input.joyUp = (in[kStickAt] & 1) != 0;
    input.joyDown = (in[kStickAt] & 2) != 0;
    input.joyLeft = (in[kStickAt] & 4) != 0;
    input.joyRight = (in[kStickAt] & 8) != 0;
    input.joyButton1 = (in[kStickAt] & 16) != 0;
    input.joyButton2 = (in[kStickAt] & 32) != 0;
    input.clickX = static_cast<int32_t>(getU32(in + kClickXAt));
    input.clickY = static_cast<int32_t>(getU32(in + kClickYAt));
    if (!checkJournalHeader(header, error)) {
        error = "has a damaged header (" + error + ")";
        return false;
    }
    return true;
}

void encodeMessage(const Message& message, uint8_t* out) {
    putU16(out, static_cast<uint16_t>(message.message));
    putU32(out + 2, static_cast<uint32_t>(message.wParam));
    putU32(out + 6, static_cast<uint32_t>(message.lParam));
}

Message decodeMessage(const uint8_t* in) {
    return {getU16(in), getU32(in + 2), static_cast<int64_t>(getU32(in + 6))};
}

// A position in a stream whose length is known: reads never go past the end, and a count can be
// compared with what is left before anything is allocated for it.
struct Cursor {
    std::FILE* file = nullptr;
    std::size_t offset = 0;
    std::size_t size = 0;

    std::size_t remaining() const { return size - offset; }
    bool read(uint8_t* out, std::size_t count) {
        if (count > remaining() || std::fread(out, 1, count, file) != count) return false;
        offset += count;
        return true;
    }
};

enum class Record { Frame, End, NoMore, Refused };

struct ScanState {
    uint32_t frames = 0;  // frames read so far
    uint32_t previousClockMs = 0;
    bool quitOnTitle = false;
};

// How errors name a record; built only when there is an error to report.
std::string recordName(bool endRecord, uint32_t frame) {
    return endRecord ? std::string("the end record") : format("frame %u", frame);
}

// Reads `count` messages into `messages`, checking each. `frame` numbers the record from 1.
bool readMessages(Cursor& in, uint16_t count, bool endRecord, uint32_t frame,
                  std::vector<Message>& messages, std::string& error) {
    if (count * kJournalMessageBytes > in.remaining()) {
        error = format("is cut short or damaged: %s lists %u messages but only %zu bytes follow",
                       recordName(endRecord, frame).c_str(), count, in.remaining());
        return false;
    }
    messages.resize(count);
    for (uint16_t i = 0; i < count; ++i) {
        uint8_t bytes[kJournalMessageBytes];
        if (!in.read(bytes, sizeof bytes)) {
            error = "cannot be read (" + recordName(endRecord, frame) + ")";
            return false;
        }
        messages[i] = decodeMessage(bytes);
        std::string reason;
        if (!checkJournalMessage(messages[i], reason)) {
            error = format("is damaged: %s, message %u: ", recordName(endRecord, frame).c_str(),
                           i + 1) +
                    reason;
            return false;
        }
        // The loops stop at WM_QUIT: nothing is delivered after it, and no frame follows.
        if (messages[i].message == WM_QUIT && (!endRecord || i + 1 != count)) {
            error = format("is damaged: %s, message %u: WM_QUIT is followed by more of the run",
                           recordName(endRecord, frame).c_str(), i + 1);
            return false;
        }
    }
    return true;
}

Record readRecord(Cursor& in, ScanState& state, uint32_t& clockMs, std::vector<Message>& messages,
                  std::string& error) {
    messages.clear();
    if (in.remaining() == 0) return Record::NoMore;
    const std::size_t recordAt = in.offset;
    uint8_t head[kJournalFrameHeadBytes];
    static_assert(kJournalFrameHeadBytes == kJournalEndBytes);
    if (!in.read(head, 1)) {
        error = "cannot be read";
        return Record::Refused;
    }
    const uint8_t tag = head[0];
    if (tag != kFrameTag && tag != kEndTag) {
        error = format("is damaged: unknown record type 0x%02x at byte %zu", tag, recordAt);
        return Record::Refused;
    }
    const bool isEnd = tag == kEndTag;
    if (!in.read(head + 1, sizeof head - 1)) {
        error = "is cut short inside " + recordName(isEnd, state.frames + 1);
        return Record::Refused;
    }
    const uint32_t value = getU32(head + 1);
    const uint16_t count = getU16(head + 5);
    if (isEnd) {
        if (value != state.frames) {
            error = format("is damaged: its end record counts %u frames, but it holds %u", value,
                           state.frames);
            return Record::Refused;
        }
    } else {
        if (state.quitOnTitle) {
            error = "is damaged: it holds game frames although the title screen ended the run";
            return Record::Refused;
        }
        if (state.frames == std::numeric_limits<uint32_t>::max()) {
            error = "holds more frames than can be counted";
            return Record::Refused;
        }
        if (!clockAdvances(state.previousClockMs, value)) {
            error =
                "is damaged: " + backwardsClockText(state.frames + 1, state.previousClockMs, value);
            return Record::Refused;
        }
    }
    if (!readMessages(in, count, isEnd, state.frames + 1, messages, error)) return Record::Refused;
    if (isEnd) {
        if (in.remaining() != 0) {
            error = format("is damaged: %zu bytes follow its end record", in.remaining());
            return Record::Refused;
        }
        return Record::End;
    }
    clockMs = value;
    state.previousClockMs = value;
    ++state.frames;
    return Record::Frame;
}

}  // namespace

bool isJournalMessageCode(uint32_t code) {
    switch (code) {
        case WM_SIZE:
        case WM_ACTIVATE:
        case WM_CLOSE:
        case WM_QUIT:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_SYSCOMMAND:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case MM_JOY1MOVE:
        case MM_JOY1BUTTONDOWN:
        case MM_JOY1BUTTONUP:
            return true;
        default:
            return false;
    }
}

bool checkJournalHeader(const JournalHeader& header, std::string& error) {
    // Only the title's three separations can reach the game.
    if (header.eyeSeparation != 5.0f && header.eyeSeparation != 3.5f &&
        header.eyeSeparation != 2.0f) {
        error = format("eye separation %g is not one the title offers", header.eyeSeparation);
        return false;
    }
    if (!std::isfinite(header.titleFrameSeconds)) {
        error = "the title's last frame time is not a number";
        return false;
    }
    const CarriedInput& input = header.input;
    for (const int32_t click : {input.clickX, input.clickY}) {
        if (click < std::numeric_limits<int16_t>::min() ||
            click > std::numeric_limits<int16_t>::max()) {
            error = format("click coordinate %d lies outside the 16-bit range", click);
            return false;
        }
    }
    return true;
}

bool checkJournalMessage(const Message& message, std::string& error) {
    if (!isJournalMessageCode(message.message)) {
        error = format("unknown message code 0x%x", message.message);
        return false;
    }
    if (message.wParam > std::numeric_limits<uint32_t>::max() || message.lParam < 0 ||
        message.lParam > std::numeric_limits<uint32_t>::max()) {
        error = format("message 0x%04x carries parameters wider than 32 bits", message.message);
        return false;
    }
    if (isKeyMessage(message.message) && message.wParam > 255) {
        error = format("key code %llu lies outside the key table",
                       static_cast<unsigned long long>(message.wParam));
        return false;
    }
    return true;
}

// --- the file ---

JournalFile::JournalFile(JournalFile&& other) noexcept
    : stream(std::exchange(other.stream, nullptr)), owned(std::exchange(other.owned, false)) {}

JournalFile& JournalFile::operator=(JournalFile&& other) noexcept {
    if (this != &other) {
        close();
        stream = std::exchange(other.stream, nullptr);
        owned = std::exchange(other.owned, false);
    }
    return *this;
}

bool JournalFile::close() {
    const bool closed = !owned || stream == nullptr || std::fclose(stream) == 0;
    stream = nullptr;
    owned = false;
    return closed;
}

// --- writer ---

bool JournalWriter::fail(const std::string& reason) {
    if (!failed) errorText = path.empty() ? reason : path + ": " + reason;
    failed = true;
    return false;
}

bool JournalWriter::create(const char* filePath, const JournalHeader& header) {
    if (failed) return false;
    if (file.stream != nullptr) return fail("the journal is already open");
    path = filePath;
    std::string reason;
    if (!checkJournalHeader(header, reason)) return fail(reason);
    std::FILE* stream = std::fopen(filePath, "wb");
    if (stream == nullptr) return fail(std::string("cannot create: ") + std::strerror(errno));
    const bool started = start(stream, header);
    // Closed by finish or with the writer, also when the header did not go out.
    file.stream = stream;
    file.owned = true;
    return started;
}

bool JournalWriter::start(std::FILE* stream, const JournalHeader& header) {
    if (failed) return false;
    if (file.stream != nullptr) return fail("the journal is already open");
    file.stream = stream;
    std::string reason;
    if (!checkJournalHeader(header, reason)) return fail(reason);
    quitOnTitle = header.quitOnTitle;
    lastClockMs = header.switchClockMs;
    uint8_t bytes[kJournalHeaderBytes];
    encodeHeader(header, bytes);
    if (std::fwrite(bytes, 1, sizeof bytes, file.stream) != sizeof bytes ||
        std::fflush(file.stream) != 0) {
        return fail(std::string("cannot write: ") + std::strerror(errno));
    }
    return true;
}

bool JournalWriter::addMessage(const Message& message) {
    if (failed) return false;
    if (file.stream == nullptr || finished) return fail("the journal is not open");
    std::string reason;
    if (!checkJournalMessage(message, reason)) return fail(reason);
    if (!pending.empty() && pending.back().message == WM_QUIT) {
        return fail("nothing can be delivered after WM_QUIT");
    }
    if (pending.size() == kJournalMaxMessagesPerFrame) {
        return fail("too many messages between two frames");
    }
    pending.push_back(message);
    return true;
}

bool JournalWriter::writeRecord(uint8_t tag, uint32_t value) {
    // The buffer keeps its capacity, so recording allocates only when a frame brings more
    // messages than any before it.
    std::vector<uint8_t>& bytes = recordBytes;
    bytes.resize(kJournalFrameHeadBytes + pending.size() * kJournalMessageBytes);
    bytes[0] = tag;
    putU32(&bytes[1], value);
    putU16(&bytes[5], static_cast<uint16_t>(pending.size()));
    for (std::size_t i = 0; i < pending.size(); ++i) {
        encodeMessage(pending[i], &bytes[kJournalFrameHeadBytes + i * kJournalMessageBytes]);
    }
    // One write and a flush per record: a run that dies leaves whole records behind.
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.stream) != bytes.size() ||
        std::fflush(file.stream) != 0) {
        return fail(std::string("cannot write: ") + std::strerror(errno));
    }
    pending.clear();
    return true;
}

bool JournalWriter::writeFrame(uint32_t clockMs) {
    if (failed) return false;
    if (file.stream == nullptr || finished) return fail("the journal is not open");
    if (quitOnTitle) return fail("no game frame follows a title screen that ended the run");
    if (!pending.empty() && pending.back().message == WM_QUIT) {
        return fail("no frame follows WM_QUIT");
    }
    if (frames == std::numeric_limits<uint32_t>::max()) return fail("too many frames");
    if (!clockAdvances(lastClockMs, clockMs)) {
        return fail(backwardsClockText(frames + 1, lastClockMs, clockMs));
    }
    if (!writeRecord(kFrameTag, clockMs)) return false;
    lastClockMs = clockMs;
    ++frames;
    return true;
}

bool JournalWriter::finish() {
    if (failed) return false;
    if (file.stream == nullptr || finished) return fail("the journal is not open");
    if (!writeRecord(kEndTag, frames)) return false;
    finished = true;
    if (file.owned && !file.close()) {
        return fail(std::string("cannot write: ") + std::strerror(errno));
    }
    return true;
}

// --- reader ---

bool JournalReader::fail(const std::string& reason) {
    errorText = (path.empty() ? std::string("the journal") : path) + " " + reason;
    return false;
}

bool JournalReader::open(const char* filePath) {
    path = filePath;
    if (file.stream != nullptr) return fail("cannot be opened: another journal is open");
    std::FILE* stream = std::fopen(filePath, "rb");
    if (stream == nullptr) return fail(std::string("cannot be opened: ") + std::strerror(errno));
    file.stream = stream;
    file.owned = true;
    return readAll();
}

bool JournalReader::attach(std::FILE* stream) {
    if (file.stream != nullptr) return fail("cannot be opened: another journal is open");
    file.stream = stream;
    return readAll();
}

bool JournalReader::readAll() {
    errorText.clear();
    atEnd = true;
    long size = -1;
    if (std::fseek(file.stream, 0, SEEK_END) == 0) size = std::ftell(file.stream);
    if (size < 0 || std::fseek(file.stream, 0, SEEK_SET) != 0) {
        return fail("cannot be read as a file (no length, or not seekable)");
    }
    fileBytes = static_cast<std::size_t>(size);

    uint8_t bytes[kJournalHeaderBytes];
    const std::size_t got = std::fread(bytes, 1, std::min(fileBytes, sizeof bytes), file.stream);
    if (got != std::min(fileBytes, sizeof bytes)) return fail("cannot be read");
    if (got == 0) return fail("is empty, not a Voxmere journal");
    if (std::memcmp(bytes, kJournalMagic, std::min(got, sizeof kJournalMagic)) != 0) {
        return fail("is not a Voxmere journal (it does not begin with \"VXJR\")");
    }
    if (got < kVersionAt + 2) return fail("is cut short inside its header");
    const uint16_t version = getU16(bytes + kVersionAt);
    if (version > kJournalVersion) {
        return fail(
            format("was recorded by a newer Voxmere (journal version %u; this one reads "
                   "version %u)",
                   version, kJournalVersion));
    }
    if (version >= 1 && version < kJournalVersion) {
        // Version 1 journals were seeded into the C library's generator: replayed through
        // the game's own generator they would be another game.
        return fail(
            format("was recorded by an older Voxmere whose random numbers differ (journal "
                   "version %u; this one reads version %u)",
                   version, kJournalVersion));
    }
    if (version != kJournalVersion) {
        return fail(format("has an unknown journal version %u", version));
    }
    if (got < kJournalHeaderBytes) return fail("is cut short inside its header");
    std::string reason;
    if (!decodeHeader(bytes, head, reason)) return fail(reason);

    // Check every record now, so that a replay never stops halfway through a damaged file.
    Cursor cursor{file.stream, kJournalHeaderBytes, fileBytes};
    ScanState state;
    state.previousClockMs = head.switchClockMs;
    state.quitOnTitle = head.quitOnTitle;
    uint32_t clock = 0;
    Record record;
    do {
        record = readRecord(cursor, state, clock, current, reason);
    } while (record == Record::Frame);
    if (record == Record::Refused) return fail(reason);
    frames = state.frames;
    hasEnd = record == Record::End;

    current.clear();
    if (std::fseek(file.stream, static_cast<long>(kJournalHeaderBytes), SEEK_SET) != 0) {
        return fail("cannot be read");
    }
    offset = kJournalHeaderBytes;
    framesRead = 0;
    previousClockMs = head.switchClockMs;
    atEnd = false;
    return true;
}

bool JournalReader::nextFrame() {
    if (atEnd || file.stream == nullptr) return false;
    Cursor cursor{file.stream, offset, fileBytes};
    ScanState state{framesRead, previousClockMs, head.quitOnTitle};
    std::string reason;
    const Record record = readRecord(cursor, state, frameClockMs, current, reason);
    offset = cursor.offset;
    framesRead = state.frames;
    previousClockMs = state.previousClockMs;
    if (record == Record::Frame) return true;
    atEnd = true;
    if (record == Record::Refused) {
        current.clear();
        return fail("changed while it was replayed: " + reason);
    }
    return false;
}
