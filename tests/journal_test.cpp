// The journal of a recorded run, through its writer and reader: what goes in comes out, the
// bytes on disk are the documented ones, and every damaged, cut or foreign file is refused with
// its own reason.
#include "run/journal.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "support/file_bytes.h"
#include "support/scratch_folder.h"

// Found by the vector comparisons through argument-dependent lookup.
static bool operator==(const Message& a, const Message& b) {
    return a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam;
}

namespace {

using Bytes = std::vector<uint8_t>;

struct TestFrame {
    uint32_t clockMs;
    std::vector<Message> messages;
};

JournalHeader sampleHeader() {
    JournalHeader header;
    header.seed = 0xC0FFEE42u;
    header.stereoEnabled = false;
    header.eyeSeparation = 3.5f;
    header.switchClockMs = 0xFFFFFFF0u;  // the clock wraps during the run
    header.titleFrameSeconds = 0.0137f;
    header.input.keysDown[VK_CONTROL] = 1;
    header.input.keysDown[255] = 1;
    header.input.mouseLeftDown = true;
    header.input.clickX = -7;
    header.input.clickY = 300;
    header.input.joyDown = true;
    header.input.joyButton2 = true;
    return header;
}

// Every kind of message the platform delivers, spread over four frames; the clock wraps past
// 2^32 between the first two and stands still between the next two.
std::vector<TestFrame> sampleFrames() {
    return {
        {0xFFFFFFF8u, {}},
        {5,
         {{WM_KEYDOWN, VK_UP, 0},
          {WM_LBUTTONDOWN, 0, makeLParam(357, 290)},
          {MM_JOY1MOVE, 0, makeLParam(0, 65535)}}},
        {5,
         {{WM_ACTIVATE, 0, 0},
          {WM_SIZE, 0, makeLParam(640, 480)},
          {WM_SYSCOMMAND, SC_SCREENSAVE, 0},
          {WM_SYSKEYDOWN, 18, 0}}},
        {40,
         {{WM_KEYUP, VK_UP, 0},
          {MM_JOY1BUTTONDOWN, JOY_BUTTON1CHG | JOY_BUTTON2CHG, 0},
          {MM_JOY1BUTTONUP, JOY_BUTTON2CHG, 0},
          {WM_RBUTTONDOWN, 0, makeLParam(-3, 2)},
          {WM_RBUTTONUP, 0, 0},
          {WM_LBUTTONUP, 0, 0},
          {WM_SYSKEYUP, 18, 0}}},
    };
}

const std::vector<Message> kClosing = {{WM_CLOSE, 0, 0}, {WM_QUIT, 0, 0}};

// Writes a journal into memory; `boundaries` gets the length after the header and after each
// frame, as the writer left them.
Bytes writeJournal(const JournalHeader& header, const std::vector<TestFrame>& frames,
                   const std::vector<Message>& closing, bool finish,
                   std::vector<std::size_t>* boundaries = nullptr) {
    testsupport::CapturedStream captured;
    std::FILE* stream = captured.file;
    JournalWriter writer;
    EXPECT_TRUE(writer.start(stream, header)) << writer.error();
    if (boundaries) boundaries->push_back(static_cast<std::size_t>(std::ftell(stream)));
    for (const TestFrame& frame : frames) {
        for (const Message& m : frame.messages) EXPECT_TRUE(writer.addMessage(m)) << writer.error();
        EXPECT_TRUE(writer.writeFrame(frame.clockMs)) << writer.error();
        if (boundaries) boundaries->push_back(static_cast<std::size_t>(std::ftell(stream)));
    }
    if (finish) {
        for (const Message& m : closing) EXPECT_TRUE(writer.addMessage(m)) << writer.error();
        EXPECT_TRUE(writer.finish()) << writer.error();
    }
    const std::string written = captured.text();
    Bytes bytes(written.begin(), written.end());
    return bytes;
}

Bytes sampleJournal() {
    return writeJournal(sampleHeader(), sampleFrames(), kClosing, true);
}

struct ReadBack {
    bool accepted = false;
    std::string error;
    JournalHeader header;
    bool finished = false;
    uint32_t frameCount = 0;
    std::vector<TestFrame> frames;
    std::vector<Message> closing;
};

ReadBack readJournal(const Bytes& bytes) {
    std::FILE* stream = std::tmpfile();
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::rewind(stream);
    ReadBack result;
    JournalReader reader;
    result.accepted = reader.attach(stream);
    result.error = reader.error();
    if (result.accepted) {
        result.header = reader.header();
        result.finished = reader.finished();
        result.frameCount = reader.frameCount();
        while (reader.nextFrame()) {
            result.frames.push_back(
                {reader.clockMs(), {reader.messages().begin(), reader.messages().end()}});
        }
        EXPECT_EQ(reader.error(), "");
        result.closing.assign(reader.messages().begin(), reader.messages().end());
    } else {
        EXPECT_FALSE(reader.nextFrame());  // nothing of a refused file is handed out
    }
    std::fclose(stream);
    return result;
}

void expectSameHeader(const JournalHeader& a, const JournalHeader& b) {
    EXPECT_EQ(std::tie(a.seed, a.stereoEnabled, a.eyeSeparation, a.quitOnTitle, a.switchClockMs,
                       a.titleFrameSeconds),
              std::tie(b.seed, b.stereoEnabled, b.eyeSeparation, b.quitOnTitle, b.switchClockMs,
                       b.titleFrameSeconds));
    const CarriedInput& x = a.input;
    const CarriedInput& y = b.input;
    for (int key = 0; key < 256; ++key) {
        EXPECT_EQ(x.keysDown[key] != 0, y.keysDown[key] != 0) << "key " << key;
    }
    EXPECT_EQ(std::tie(x.mouseLeftDown, x.mouseRightDown, x.clickX, x.clickY),
              std::tie(y.mouseLeftDown, y.mouseRightDown, y.clickX, y.clickY));
    EXPECT_EQ(std::tie(x.joyUp, x.joyDown, x.joyLeft, x.joyRight, x.joyButton1, x.joyButton2),
              std::tie(y.joyUp, y.joyDown, y.joyLeft, y.joyRight, y.joyButton1, y.joyButton2));
}

void expectSameFrames(const std::vector<TestFrame>& got, const std::vector<TestFrame>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].clockMs, want[i].clockMs) << "frame " << i + 1;
        EXPECT_EQ(got[i].messages, want[i].messages) << "frame " << i + 1;
    }
}

void putU32(Bytes& bytes, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST(Journal, RoundTripKeepsEveryHeaderFieldFrameAndMessage) {
    const ReadBack back = readJournal(sampleJournal());
    ASSERT_TRUE(back.accepted) << back.error;
    EXPECT_TRUE(back.finished);
    EXPECT_EQ(back.frameCount, 4u);
    expectSameHeader(back.header, sampleHeader());
    expectSameFrames(back.frames, sampleFrames());
    EXPECT_EQ(back.closing, kClosing);

    // The other values of each choice survive too.
    JournalHeader other;
    other.stereoEnabled = true;
    other.eyeSeparation = 2.0f;
    other.quitOnTitle = true;
    other.input.mouseRightDown = true;
    other.input.joyUp = other.input.joyLeft = other.input.joyRight = other.input.joyButton1 = true;
    other.input.clickX = -32768;
    other.input.clickY = 32767;
    const ReadBack quit = readJournal(writeJournal(other, {}, {{WM_QUIT, 0, 0}}, true));
    ASSERT_TRUE(quit.accepted) << quit.error;
    expectSameHeader(quit.header, other);
    EXPECT_EQ(quit.frameCount, 0u);
    EXPECT_EQ(quit.closing, (std::vector<Message>{{WM_QUIT, 0, 0}}));
}

// The layout docs/formats.md documents, byte for byte.
TEST(Journal, BytesOnDiskFollowTheDocumentedLayout) {
    const Bytes bytes = sampleJournal();
    // Magic, version 2, stereo off, no title quit, seed, separation 3.5, clock at the switch.
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 20),
              (Bytes{'V',  'X',  'J',  'R',  2,    0,    0,    0,    0x42, 0xEE,
                     0xFF, 0xC0, 0x00, 0x00, 0x60, 0x40, 0xF0, 0xFF, 0xFF, 0xFF}));
    float seconds;
    std::memcpy(&seconds, &bytes[20], 4);
    EXPECT_EQ(seconds, 0.0137f);
    for (int i = 0; i < 32; ++i) {
        const uint8_t want = i == 2 ? 0x02 : i == 31 ? 0x80 : 0;  // keys 17 and 255
        EXPECT_EQ(bytes[24 + i], want) << "key byte " << i;
    }
    EXPECT_EQ(bytes[56], 0x01);  // left button
    EXPECT_EQ(bytes[57], 0x22);  // stick down, button 2
    EXPECT_EQ(Bytes(bytes.begin() + 58, bytes.begin() + 66),
              (Bytes{0xF9, 0xFF, 0xFF, 0xFF, 0x2C, 0x01, 0, 0}));
    // Frame 1: no messages. Frame 2 starts with its key-down.
    EXPECT_EQ(Bytes(bytes.begin() + 66, bytes.begin() + 73),
              (Bytes{'F', 0xF8, 0xFF, 0xFF, 0xFF, 0, 0}));
    EXPECT_EQ(Bytes(bytes.begin() + 73, bytes.begin() + 90),
              (Bytes{'F', 5, 0, 0, 0, 3, 0, 0x00, 0x01, 38, 0, 0, 0, 0, 0, 0, 0}));
    // The end record closes the file: frame count 4, two messages.
    const std::size_t endAt = bytes.size() - 27;
    EXPECT_EQ(Bytes(bytes.begin() + endAt, bytes.begin() + endAt + 9),
              (Bytes{'E', 4, 0, 0, 0, 2, 0, 0x10, 0x00}));
    // 66 header + 4 frames of 7 + 14 messages of 10 + end record of 7 + 2 messages.
    EXPECT_EQ(bytes.size(), 66u + 4 * 7 + 14 * 10 + 7 + 2 * 10);
}

// A journal cut anywhere after its header and exactly after a frame reads as the frames before
// the cut, marked unfinished; a cut anywhere else is refused.
TEST(Journal, EveryCutIsRefusedOrReadsAsTheFramesBeforeIt) {
    std::vector<std::size_t> boundaries;
    const std::vector<TestFrame> frames = sampleFrames();
    const Bytes bytes = writeJournal(sampleHeader(), frames, kClosing, true, &boundaries);
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const ReadBack back = readJournal(Bytes(bytes.begin(), bytes.begin() + cut));
        std::size_t wholeFrames = boundaries.size();
        for (std::size_t i = 0; i < boundaries.size(); ++i) {
            if (boundaries[i] == cut) wholeFrames = i;
        }
        if (cut == bytes.size()) {
            EXPECT_TRUE(back.accepted && back.finished) << back.error;
        } else if (wholeFrames < boundaries.size()) {
            ASSERT_TRUE(back.accepted) << back.error;
            EXPECT_FALSE(back.finished);
            EXPECT_EQ(back.frameCount, wholeFrames);
            expectSameFrames(back.frames, {frames.begin(), frames.begin() + wholeFrames});
            EXPECT_TRUE(back.closing.empty());
        } else {
            EXPECT_FALSE(back.accepted);
            const bool saysCut = back.error.find("cut short") != std::string::npos ||
                                 back.error.find("empty") != std::string::npos;
            EXPECT_TRUE(saysCut) << back.error;
        }
    }
}

struct Damage {
    const char* name;
    std::function<void(Bytes&)> apply;
    const char* reason;  // part of the refusal text
};

TEST(Journal, DamagedAndForeignFilesAreRefusedWithTheirReason) {
    // Offsets: frame 1 at 66 (no messages), frame 2 at 73 with its first message at 80.
    const std::vector<Damage> damages = {
        {"foreign wave file",
         [](Bytes& b) {
             b.assign({'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E'});
         },
         "is not a Voxmere journal"},
        {"wrong magic", [](Bytes& b) { b[3] = 'X'; }, "is not a Voxmere journal"},
        {"empty", [](Bytes& b) { b.clear(); }, "is empty"},
        {"future version", [](Bytes& b) { b[4] += 1; }, "newer Voxmere (journal version 3"},
        {"before the game's own generator", [](Bytes& b) { b[4] = 1; },
         "older Voxmere whose random numbers differ (journal version 1"},
        {"version 0", [](Bytes& b) { b[4] = 0; }, "unknown journal version 0"},
        {"stereo neither on nor off", [](Bytes& b) { b[6] = 2; }, "damaged header"},
        {"unknown joystick flag", [](Bytes& b) { b[57] |= 0x40; }, "mouse or joystick flags"},
        {"separation the title lacks", [](Bytes& b) { putU32(b, 12, 0x40E00000u); },
         "eye separation 7"},
        {"title time not a number", [](Bytes& b) { putU32(b, 20, 0x7FC00000u); }, "not a number"},
        {"click beyond 16 bits", [](Bytes& b) { putU32(b, 58, 32768); }, "16-bit range"},
        {"frames after a title quit", [](Bytes& b) { b[7] = 1; }, "title screen ended"},
        {"huge message count", [](Bytes& b) { b[78] = b[79] = 0xFF; },
         "frame 2 lists 65535 messages"},
        {"unknown record", [](Bytes& b) { b[73] = 'X'; }, "unknown record type 0x58 at byte 73"},
        {"clock running backwards", [](Bytes& b) { putU32(b, 74, 0xFFFFFFF7u); },
         "before the previous reading"},
        {"unknown message", [](Bytes& b) { b[80] = 0x00, b[81] = 0x02; },
         "unknown message code 0x200"},
        {"key beyond the table", [](Bytes& b) { b[83] = 1; }, "key code 294"},
        {"quit inside a frame", [](Bytes& b) { b[80] = 0x12, b[81] = 0; }, "WM_QUIT"},
        {"quit not last", [](Bytes& b) { std::swap(b[b.size() - 20], b[b.size() - 10]); },
         "WM_QUIT is followed"},
        {"end miscounts frames", [](Bytes& b) { b[b.size() - 26] = 5; },
         "counts 5 frames, but it holds 4"},
        {"bytes after the end", [](Bytes& b) { b.push_back(0); }, "1 bytes follow its end record"},
    };
    std::vector<std::string> texts;
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        Bytes bytes = sampleJournal();
        damage.apply(bytes);
        const ReadBack back = readJournal(bytes);
        EXPECT_FALSE(back.accepted);
        EXPECT_NE(back.error.find(damage.reason), std::string::npos) << back.error;
        EXPECT_EQ(back.error.find('\n'), std::string::npos);
        texts.push_back(back.error);
    }
    // Only a foreign file and a wrong magic word share a reason.
    for (std::size_t i = 2; i < texts.size(); ++i) {
        for (std::size_t j = i + 1; j < texts.size(); ++j) EXPECT_NE(texts[i], texts[j]);
    }
}

struct WriterMisuse {
    const char* name;
    std::function<void(JournalWriter&)> calls;  // the last call is the refused one
    const char* reason;
    uint32_t framesKept;
};

// The writer refuses what the reader would refuse, keeps the first reason, and leaves what it
// wrote before as a readable journal.
TEST(Journal, WriterRefusesWhatCouldNotBeReadBack) {
    const std::vector<WriterMisuse> misuses = {
        {"unknown message",
         [](JournalWriter& w) {
             w.addMessage({0x0200, 0, 0});
         },
         "unknown message code", 0},
        {"key beyond the table",
         [](JournalWriter& w) {
             w.addMessage({WM_KEYUP, 300, 0});
         },
         "key code 300", 0},
        {"negative lParam",
         [](JournalWriter& w) {
             w.addMessage({MM_JOY1MOVE, 0, -1});
         },
         "wider than 32 bits", 0},
        {"wide wParam",
         [](JournalWriter& w) {
             w.addMessage({WM_SYSCOMMAND, 1ull << 32, 0});
         },
         "wider than 32 bits", 0},
        {"clock backwards",
         [](JournalWriter& w) {
             w.writeFrame(100);
             w.writeFrame(99);
         },
         "frame 2 reads the clock at 99 ms", 1},
        {"frame after quit",
         [](JournalWriter& w) {
             w.writeFrame(1);
             w.addMessage({WM_QUIT, 0, 0});
             w.writeFrame(2);
         },
         "no frame follows WM_QUIT", 1},
        {"message after quit",
         [](JournalWriter& w) {
             w.addMessage({WM_QUIT, 0, 0});
             w.addMessage({WM_KEYDOWN, VK_ESCAPE, 0});
         },
         "after WM_QUIT", 0},
        {"second header", [](JournalWriter& w) { w.start(nullptr, JournalHeader{}); },
         "already open", 0},
        {"frame after finish",
         [](JournalWriter& w) {
             w.finish();
             w.writeFrame(1);
         },
         "not open", 0},
        {"too many messages",
         [](JournalWriter& w) {
             for (int i = 0; i < 70000; ++i) w.addMessage({WM_ACTIVATE, 0, 0});
         },
         "too many messages", 0},
    };
    for (const WriterMisuse& misuse : misuses) {
        SCOPED_TRACE(misuse.name);
        testsupport::CapturedStream captured;
        JournalHeader header;
        header.switchClockMs = 0;
        JournalWriter writer;
        ASSERT_TRUE(writer.start(captured.file, header));
        misuse.calls(writer);
        const std::string first = writer.error();
        EXPECT_NE(first.find(misuse.reason), std::string::npos) << first;
        EXPECT_FALSE(writer.writeFrame(1000));
        EXPECT_FALSE(writer.finish());
        EXPECT_EQ(writer.error(), first);
        const std::string written = captured.text();
        const Bytes bytes(written.begin(), written.end());
        const ReadBack back = readJournal(bytes);
        EXPECT_TRUE(back.accepted) << back.error;
        EXPECT_EQ(back.frameCount, misuse.framesKept);
    }

    JournalHeader titleQuit;
    titleQuit.quitOnTitle = true;
    JournalWriter afterQuit;
    std::FILE* sink = std::tmpfile();
    ASSERT_TRUE(afterQuit.start(sink, titleQuit));
    EXPECT_FALSE(afterQuit.writeFrame(1));
    EXPECT_NE(afterQuit.error().find("title screen"), std::string::npos) << afterQuit.error();

    JournalHeader oddSeparation;
    oddSeparation.eyeSeparation = 4.0f;
    JournalWriter refused;
    std::FILE* untouched = std::tmpfile();
    EXPECT_FALSE(refused.start(untouched, oddSeparation));
    EXPECT_NE(refused.error().find("eye separation 4"), std::string::npos) << refused.error();
    EXPECT_EQ(std::ftell(untouched), 0);
    std::fclose(sink);
    std::fclose(untouched);
}

// A run that dies leaves its frames on disk: the writer is never finished nor closed here.
TEST(Journal, FileOfARunThatDiedReadsAsItsWholeFrames) {
    const testsupport::ScratchFolder folder;
    const std::string path = folder / "died.vxj";
    JournalWriter writer;
    ASSERT_TRUE(writer.create(path.c_str(), sampleHeader())) << writer.error();
    const std::vector<TestFrame> frames = sampleFrames();
    for (const TestFrame& frame : frames) {
        for (const Message& m : frame.messages) writer.addMessage(m);
        ASSERT_TRUE(writer.writeFrame(frame.clockMs)) << writer.error();
    }
    writer.addMessage({WM_KEYDOWN, VK_ESCAPE, 0});  // kept in memory only

    JournalReader reader;
    ASSERT_TRUE(reader.open(path.c_str())) << reader.error();
    EXPECT_FALSE(reader.finished());
    EXPECT_EQ(reader.frameCount(), frames.size());
    std::vector<TestFrame> got;
    while (reader.nextFrame()) {
        got.push_back({reader.clockMs(), {reader.messages().begin(), reader.messages().end()}});
    }
    expectSameFrames(got, frames);
    EXPECT_TRUE(reader.messages().empty());
    EXPECT_FALSE(reader.nextFrame());
}

TEST(Journal, ErrorsNameTheFile) {
    const testsupport::ScratchFolder folder;
    const std::string missing = folder / "no_such_dir/run.vxj";
    JournalReader reader;
    EXPECT_FALSE(reader.open(missing.c_str()));
    EXPECT_EQ(reader.error().rfind(missing + " cannot be opened", 0), 0u) << reader.error();

    JournalWriter writer;
    EXPECT_FALSE(writer.create(missing.c_str(), JournalHeader{}));
    EXPECT_EQ(writer.error().rfind(missing + ": cannot create", 0), 0u) << writer.error();

    const std::string text = folder / "notes.txt";
    testsupport::writeText(text, "just some notes\n");
    JournalReader foreign;
    EXPECT_FALSE(foreign.open(text.c_str()));
    EXPECT_EQ(foreign.error(),
              text + " is not a Voxmere journal (it does not begin with \"VXJR\")");
}

#ifdef VOXMERE_SOURCE_DIR
// The fuzz target's seeds are journals this writer makes, some of them cut or damaged on
// purpose. VOXMERE_REWRITE_CORPUS=1 writes them again after an intended format change.
TEST(Journal, FuzzSeedsAreWhatTheWriterMakes) {
    Bytes cut = sampleJournal();
    cut.resize(cut.size() - 3);
    Bytes huge = sampleJournal();
    huge[78] = huge[79] = 0xFF;
    JournalHeader quit;
    quit.quitOnTitle = true;
    const std::vector<std::pair<const char*, Bytes>> seeds = {
        {"finished.vxj", sampleJournal()},
        {"unfinished.vxj", writeJournal(sampleHeader(), sampleFrames(), {}, false)},
        {"title_quit.vxj", writeJournal(quit, {}, {{WM_QUIT, 0, 0}}, true)},
        {"cut_short.vxj", cut},
        {"huge_count.vxj", huge},
    };
    const std::string folder = std::string(VOXMERE_SOURCE_DIR) + "/tests/fuzz/journal_fuzz_corpus/";
    const bool rewrite = std::getenv("VOXMERE_REWRITE_CORPUS") != nullptr;
    for (const auto& [name, bytes] : seeds) {
        if (rewrite) testsupport::writeText(folder + name, std::string(bytes.begin(), bytes.end()));
        const Bytes stored = testfiles::readAll(folder + name);
        EXPECT_EQ(stored, bytes) << name << " differs; VOXMERE_REWRITE_CORPUS=1 writes it again";
    }
}
#endif

}  // namespace
