// Recorded runs: what a recording keeps replays to the very state the run ended in, the
// journal starts from what the title left, bad journals stop the game before its window with
// one line, and the journals in tests/journals replay to their expected summaries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/command_line.h"
#include "app/main_loop.h"
#include "app/program_reset.h"
#include "assets/sound_bank.h"
#include "common/globals.h"
#include "hud/hud.h"
#include "input/input.h"
#include "input/press_latch.h"
#include "platform/events.h"
#include "player/player_ship.h"
#include "run/game_frame.h"
#include "run/recorded_run.h"
#include "run/state_summary.h"
#include "support/gl_test_context.h"
#include "support/pilot.h"

namespace {

using Bytes = std::string;

Bytes readStream(std::FILE* stream) {
    std::rewind(stream);
    Bytes bytes;
    for (int c; (c = std::fgetc(stream)) != EOF;) bytes += static_cast<char>(c);
    return bytes;
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Recording {
    std::string summary;
    Bytes journal;
};

// Flies the pilot from a fresh game while recording into memory.
Recording recordFlight(const pilot::Flight& flight) {
    resetProgramState();
    std::FILE* stream = std::tmpfile();
    std::string error;
    Recording result;
    result.summary = pilot::recordFlight(flight, stream, error);
    EXPECT_EQ(error, "") << flight.name;
    result.journal = readStream(stream);
    std::fclose(stream);
    return result;
}

// Replays journal bytes from a fresh game, with `watcher` told of every sound requested; the
// reader's refusal fails the test.
std::string replay(const Bytes& journal, bool draw = false, SoundRequestWatcher watcher = nullptr) {
    resetProgramState();
    setSoundRequestWatcher(watcher);
    std::FILE* stream = std::tmpfile();
    std::fwrite(journal.data(), 1, journal.size(), stream);
    std::rewind(stream);
    JournalReader reader;
    if (!reader.attach(stream)) {
        ADD_FAILURE() << reader.error();
        std::fclose(stream);
        return "";
    }
    const std::string summary = replayWholeJournal(reader, draw);
    EXPECT_EQ(reader.error(), "");
    std::fclose(stream);
    return summary;
}

pilot::Flight flightNamed(const char* name) {
    for (const pilot::Flight& flight : pilot::kJournalFlights) {
        if (std::strcmp(flight.name, name) == 0) return flight;
    }
    ADD_FAILURE() << "no flight " << name;
    return pilot::kJournalFlights[0];
}

TEST(RecordedRun, EveryPilotedRunReplaysToTheStateItEndedIn) {
    std::vector<pilot::Flight> flights(std::begin(pilot::kJournalFlights),
                                       std::end(pilot::kJournalFlights));
    flights.push_back({"fast_frames", 5u, pilot::Style::Fighter, 30.0f, 7, false, 2.0f,
                       pilot::Ending::CloseWindow});
    flights.push_back(
        {"slow_frames", 6u, pilot::Style::Reckless, 40.0f, 90, true, 3.5f, pilot::Ending::Escape});
    std::set<std::string> summaries;
    for (const pilot::Flight& flight : flights) {
        SCOPED_TRACE(flight.name);
        const Recording run = recordFlight(flight);
        EXPECT_EQ(replay(run.journal), run.summary);
        summaries.insert(run.summary);
    }
    EXPECT_EQ(summaries.size(), flights.size()) << "two different runs ended alike";
}

// Equal summaries mean something only if a replay that differs in any input ends elsewhere.
TEST(RecordedRun, AnotherSeedOrOneMillisecondMoreEndsTheReplayElsewhere) {
    const Recording run = recordFlight(flightNamed("heavy_fight"));
    Bytes otherSeed = run.journal;
    otherSeed[8] = static_cast<char>(otherSeed[8] ^ 1);  // the seed's low byte
    EXPECT_NE(replay(otherSeed), run.summary);
    // The frame halfway through reads the clock one millisecond later.
    std::vector<std::size_t> frames;
    for (std::size_t at = kJournalHeaderBytes; run.journal[at] == 'F';) {
        frames.push_back(at);
        const auto count = static_cast<uint8_t>(run.journal[at + 5]) |
                           static_cast<uint8_t>(run.journal[at + 6]) << 8;
        at += kJournalFrameHeadBytes + count * kJournalMessageBytes;
    }
    ASSERT_GT(frames.size(), 1000u);
    Bytes laterFrame = run.journal;
    char& clockLow = laterFrame[frames[frames.size() / 2] + 1];
    ASSERT_NE(static_cast<uint8_t>(clockLow), 0xFF);
    clockLow = static_cast<char>(clockLow + 1);
    EXPECT_NE(replay(laterFrame), run.summary);
    EXPECT_EQ(replay(run.journal), run.summary);
}

uint32_t switchClock() {
    return 123456u;
}

TEST(RecordedRun, TheJournalStartsFromWhatTheTitleLeft) {
    shared.stereoEnabled = false;
    shared.eyeSeparation = 2.0f;
    shared.frameSeconds = 0.25f;
    deliverMessage({WM_KEYDOWN, VK_CONTROL, 0});
    deliverMessage({WM_LBUTTONDOWN, 0, makeLParam(-5, 300)});
    deliverMessage({MM_JOY1MOVE, 0, makeLParam(0, 65535)});  // left and down
    endInputFrame();
    std::FILE* stream = std::tmpfile();
    ASSERT_TRUE(startRecording(stream, 0xABCDEF01u, switchClock)) << recordingError();
    EXPECT_EQ(platform::timeGetTime(), 123456u) << "the clock is held at the switch";
    ASSERT_TRUE(finishRecording()) << recordingError();

    JournalReader reader;
    ASSERT_TRUE(reader.attach(stream)) << reader.error();
    const JournalHeader& header = reader.header();
    EXPECT_EQ(header.seed, 0xABCDEF01u);
    EXPECT_FALSE(header.stereoEnabled);
    EXPECT_EQ(header.eyeSeparation, 2.0f);
    EXPECT_FALSE(header.quitOnTitle);
    EXPECT_EQ(header.switchClockMs, 123456u);
    EXPECT_EQ(header.titleFrameSeconds, 0.25f);
    EXPECT_EQ(header.input.keysDown[VK_CONTROL], 1);
    EXPECT_EQ(header.input.keysDown[VK_SPACE], 0);
    EXPECT_TRUE(header.input.mouseLeftDown);
    EXPECT_FALSE(header.input.mouseRightDown);
    EXPECT_EQ(header.input.clickX, -5);
    EXPECT_EQ(header.input.clickY, 300);
    EXPECT_TRUE(header.input.joyLeft && header.input.joyDown);
    EXPECT_FALSE(header.input.joyUp || header.input.joyRight);
    EXPECT_TRUE(reader.finished());
    EXPECT_EQ(reader.frameCount(), 0u);
    std::fclose(stream);
}

TEST(RecordedRun, AReplayTakesTheTitlesChoicesAndTheHeldInputAsSeenPresses) {
    JournalHeader header;
    header.seed = 3;
    header.stereoEnabled = false;
    header.eyeSeparation = 3.5f;
    header.switchClockMs = 777;
    header.titleFrameSeconds = 0.125f;
    header.input.keysDown[VK_CONTROL] = 1;
    header.input.mouseRightDown = true;
    header.input.clickX = 12;
    header.input.clickY = -40;
    header.input.joyButton2 = true;
    header.input.joyUp = true;
    beginReplay(header);
    EXPECT_FALSE(shared.stereoEnabled);
    EXPECT_EQ(shared.eyeSeparation, 3.5f);
    EXPECT_TRUE(shared.titleFinished);
    EXPECT_FALSE(shared.quitRequested);
    EXPECT_EQ(shared.frameSeconds, 0.125f);
    EXPECT_EQ(platform::timeGetTime(), 777u);
    EXPECT_TRUE(input.keys.isDown(VK_CONTROL));
    EXPECT_FALSE(input.keys.isDown(VK_RETURN));
    EXPECT_EQ(input.mouseLeftDown, 0);
    EXPECT_EQ(input.mouseRightDown, 1);
    EXPECT_EQ(input.clickX, 12);
    EXPECT_EQ(input.clickY, -40);
    EXPECT_TRUE(input.joyButton2 && input.joyUp);
    EXPECT_FALSE(input.joyButton1 || input.joyDown);
    // A held key's repeat and its release before the next frame: the key was held all along,
    // so the release is not kept back for a frame as a fresh tap's would be.
    deliverMessage({WM_KEYDOWN, VK_CONTROL, 0});
    deliverMessage({WM_KEYUP, VK_CONTROL, 0});
    EXPECT_FALSE(input.keys.isDown(VK_CONTROL));
    deliverMessage({WM_KEYDOWN, VK_SPACE, 0});
    deliverMessage({WM_KEYUP, VK_SPACE, 0});
    EXPECT_TRUE(input.keys.isDown(VK_SPACE)) << "a fresh tap is seen by one frame";

    resetProgramState();
    header.quitOnTitle = true;
    beginReplay(header);
    EXPECT_TRUE(shared.quitRequested);
    EXPECT_FALSE(shared.titleFinished);
}

TEST(RecordedRun, ATitleThatQuitLeavesAJournalWithoutFramesThatReplaysToTheStart) {
    shared.quitRequested = true;
    std::FILE* stream = std::tmpfile();
    ASSERT_TRUE(startRecording(stream, 9, switchClock));
    enterGame(9);
    gameLoopPass(nullptr, false);  // no frame may follow: the writer refuses it
    EXPECT_FALSE(finishRecording());
    EXPECT_NE(recordingError().find("title"), std::string::npos) << recordingError();
    std::fclose(stream);

    resetProgramState();
    shared.quitRequested = true;
    stream = std::tmpfile();
    ASSERT_TRUE(startRecording(stream, 9, switchClock));
    enterGame(9);
    ASSERT_TRUE(finishRecording()) << recordingError();
    const std::string recorded = formatStateSummary(currentStateSummary());
    const Bytes journal = readStream(stream);
    std::fclose(stream);
    EXPECT_EQ(journal.size(), kJournalHeaderBytes + kJournalEndBytes);
    EXPECT_EQ(replay(journal), recorded);
    EXPECT_TRUE(shared.quitRequested);
    EXPECT_FALSE(shared.titleFinished);
}

// The game loop itself, as the game runs it: what it records replays to where it ended.
int sourceReads = 0;
uint32_t scriptedClock() {
    ++sourceReads;
    switch (sourceReads) {
        case 3:
            platform::postMessage(WM_KEYDOWN, VK_LEFT);
            break;
        case 5:
            platform::postMessage(WM_KEYDOWN, 'P');
            platform::postMessage(WM_KEYUP, 'P');
            break;
        case 9:
            platform::postMessage(WM_KEYDOWN, 'P');
            break;
        case 10:
            platform::postMessage(WM_KEYUP, 'P');
            platform::postMessage(WM_KEYUP, VK_LEFT);
            break;
        case 40:
            platform::postMessage(WM_CLOSE);
            break;
    }
    return 50000u + static_cast<uint32_t>(sourceReads) * 270u;  // long frames: the field moves
}

TEST(RecordedRun, TheGameLoopRecordsEveryMessageAndFrameItRuns) {
    REQUIRE_GL();
    sourceReads = 0;
    shared.titleFinished = true;
    std::FILE* stream = std::tmpfile();
    ASSERT_TRUE(startRecording(stream, 31337, scriptedClock));
    enterGame(31337);
    runGameLoop();
    ASSERT_TRUE(finishRecording()) << recordingError();
    const std::string ended = formatStateSummary(currentStateSummary());
    // The loop read the clock once per frame and nowhere else, the pause included.
    EXPECT_EQ(sourceReads, 40);
    const Bytes journal = readStream(stream);
    std::rewind(stream);
    JournalReader reader;
    ASSERT_TRUE(reader.attach(stream)) << reader.error();
    EXPECT_EQ(reader.frameCount(), 39u);
    EXPECT_EQ(reader.header().switchClockMs, 50270u);
    std::vector<Message> all;
    while (reader.nextFrame())
        all.insert(all.end(), reader.messages().begin(), reader.messages().end());
    all.insert(all.end(), reader.messages().begin(), reader.messages().end());
    std::fclose(stream);
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[6].message, WM_CLOSE);
    EXPECT_EQ(all[7].message, WM_QUIT);  // posted by the window procedure, delivered by the loop

    EXPECT_EQ(replay(journal), ended);
}

TEST(RecordedRun, ADrawnReplayEndsAsTheUndrawnOneAndShowsTheField) {
    REQUIRE_GL();
    pilot::Flight flight = flightNamed("heavy_fight");
    flight.seconds = 9.0f;  // past the launch of the field at 6 s
    const Recording run = recordFlight(flight);
    testgl::clearAll();
    EXPECT_EQ(replay(run.journal, true), run.summary);
    const std::vector<uint8_t> frame = testgl::readFrame();
    int lit = 0;
    for (std::size_t i = 0; i < frame.size(); i += 3) lit += frame[i] > 40 || frame[i + 2] > 40;
    EXPECT_GT(lit, 2000) << "the last replayed frame is dark";
}

struct RunJournalCase {
    const char* name;
    Bytes bytes;      // written to the file first, unless `missing`
    bool missing;     // no such file
    const char* why;  // part of the line on standard error
};

TEST(RunJournal, ABadJournalStopsTheGameBeforeItsWindowWithOneLine) {
    const Bytes good =
        recordFlight({"short", 1u, pilot::Style::Calm, 2.0f, 20, true, 5.0f, pilot::Ending::Escape})
            .journal;
    Bytes newer = good;
    newer[4] = 3;
    Bytes older = good;
    older[4] = 1;
    Bytes badMessage = good;
    // The first frame's first message (Left pressed) gets an unknown code.
    ASSERT_EQ(good[kJournalHeaderBytes + 5], 1) << "the first frame brings one message";
    badMessage[kJournalHeaderBytes + kJournalFrameHeadBytes] = 0x7F;
    const RunJournalCase cases[] = {
        {"missing", "", true, "cannot be opened"},
        {"empty", "", false, "is empty"},
        {"foreign", "\x89PNG\r\n\x1a\n and some more bytes of a picture", false, "VXJR"},
        {"header cut", good.substr(0, 40), false, "cut short inside its header"},
        {"record cut", good.substr(0, good.size() - 12), false, "cut short"},
        {"newer", newer, false, "newer Voxmere"},
        {"older", older, false, "random numbers differ"},
        {"bad message", badMessage, false, "unknown message code"},
    };
    resetProgramState();
    for (const RunJournalCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = ::testing::TempDir() + "journal_" + std::to_string(getpid());
        std::remove(path.c_str());
        if (!c.missing) std::ofstream(path, std::ios::binary) << c.bytes;
        RunOptions options;
        options.replayPath = path;
        std::FILE* err = std::tmpfile();
        EXPECT_EQ(openRunJournal(options.recordPath, options.replayPath, err), 1);
        const std::string line = readStream(err);
        std::fclose(err);
        EXPECT_EQ(line.rfind("voxmere: " + path, 0), 0u) << line;
        EXPECT_NE(line.find(c.why), std::string::npos) << line;
        EXPECT_EQ(line.find('\n'), line.size() - 1) << "not one line: " << line;
        EXPECT_EQ(recordedRun.mode, JournalMode::Off);
        std::remove(path.c_str());
    }
}

TEST(RunJournal, RecordingNeedsAFileItCanCreateBeforeTheWindowOpens) {
    const std::string folder = ::testing::TempDir();
    for (const std::string& path : {folder + "no/such/folder/run.vxj", folder}) {
        SCOPED_TRACE(path);
        RunOptions options;
        options.recordPath = path;
        std::FILE* err = std::tmpfile();
        EXPECT_EQ(openRunJournal(options.recordPath, options.replayPath, err), 1);
        const std::string line = readStream(err);
        std::fclose(err);
        EXPECT_EQ(line.rfind("voxmere: cannot record to " + path + ": ", 0), 0u) << line;
        EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
        EXPECT_EQ(recordedRun.mode, JournalMode::Off);
    }

    const std::string path = folder + "recorded_" + std::to_string(getpid()) + ".vxj";
    RunOptions options;
    options.recordPath = path;
    EXPECT_EQ(openRunJournal(options.recordPath, options.replayPath, stderr), -1);
    EXPECT_EQ(recordedRun.mode, JournalMode::Record);
    ASSERT_NE(recordFile(), nullptr);
    EXPECT_TRUE(startRecording(recordFile(), 5, switchClock));
    EXPECT_TRUE(finishRecording());
    EXPECT_EQ(recordFile(), nullptr) << "closed with the end of the run";

    options = RunOptions{};
    options.replayPath = path;
    EXPECT_EQ(openRunJournal(options.recordPath, options.replayPath, stderr), -1);
    EXPECT_EQ(recordedRun.mode, JournalMode::Replay);
    EXPECT_EQ(replayReader().header().seed, 5u);
    EXPECT_TRUE(replayReader().finished());
    std::remove(path.c_str());
}

// --- the journals kept in tests/journals ---

int powerUps = 0;
void countPowerUps(SoundId id, bool) {
    if (id == SoundPowerUp) ++powerUps;
}

std::string journalsFolder() {
    return std::string(VOXMERE_SOURCE_DIR) + "/tests/journals/";
}

TEST(RecordedJournals, ReplayToTheirExpectedSummaries) {
    // VOXMERE_REWRITE_SUMMARIES=1 writes what the replays give instead, for a change in the
    // game's behaviour that is meant: the diff of the .summary files is then the review.
    const char* rewrite = std::getenv("VOXMERE_REWRITE_SUMMARIES");
    const bool rewriting = rewrite != nullptr && std::strcmp(rewrite, "1") == 0;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(journalsFolder())) {
        if (entry.path().extension() == ".vxj") names.push_back(entry.path().stem().string());
    }
    for (const pilot::Flight& flight : pilot::kJournalFlights) {
        EXPECT_NE(std::find(names.begin(), names.end(), flight.name), names.end())
            << "no journal for the flight " << flight.name;
    }
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string base = journalsFolder() + name;
        const Bytes journal = readFile(base + ".vxj");
        EXPECT_LT(journal.size(), 64u * 1024u) << "journals in the repository stay small";
        powerUps = 0;
        const std::string summary = replay(journal, false, countPowerUps);
        // What the pilots' journals are there for.
        if (name == "calm_flight") {
            EXPECT_EQ(player.lives, 3);
            EXPECT_EQ(scoreDisplay.total, 0);
            EXPECT_EQ(powerUps, 0);
        } else if (name == "heavy_fight") {
            EXPECT_GE(powerUps, 2) << "the fight collects pickups";
            EXPECT_GT(scoreDisplay.total, 500);
            EXPECT_FALSE(shared.gameOver);
        } else if (name == "game_over") {
            EXPECT_TRUE(shared.gameOver);
            EXPECT_EQ(player.lives, 0);
        }
        if (rewriting) {
            std::ofstream(base + ".summary") << summary << '\n';
            continue;
        }
        std::string expected = readFile(base + ".summary");
        if (!expected.empty() && expected.back() == '\n') expected.pop_back();
        EXPECT_EQ(summary, expected)
            << "the replay ends elsewhere than it did; if the change is meant, rewrite the "
               "expected summaries with VOXMERE_REWRITE_SUMMARIES=1";
    }
}

}  // namespace
