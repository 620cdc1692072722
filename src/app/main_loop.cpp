#include "app/main_loop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "app/command_line.h"
#include "app/frame_log.h"
#include "app/game_window.h"
#include "app/player_profile.h"
#include "assets/game_icon.h"
#include "assets/meshes.h"
#include "assets/sound_bank.h"
#include "assets/texture_loader.h"
#include "common/fatal_error.h"
#include "common/globals.h"
#include "input/input.h"
#include "input/press_latch.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/gamepad.h"
#include "platform/video.h"
#include "render/title_screen.h"
#include "rules/frame_timer.h"
#include "run/game_frame.h"
#include "run/recorded_run.h"
#include "run/state_summary.h"

namespace {

// Handles one waiting message; false when none was waiting.
bool dispatchOneMessage() {
    Message message;
    if (!platform::peekMessage(message)) return false;
    deliverMessage(message);
    return true;
}

// The seed for a run: the time; kept in a recorded journal.
uint32_t chooseSeed() {
    return static_cast<uint32_t>(std::time(nullptr));
}

// Empties the queue of the player's input during a replay; true when it holds Escape or the
// window's close (or a quit from outside), which end the replay.
bool playerEndsReplay() {
    Message message;
    bool ends = false;
    while (platform::peekMessage(message)) {
        if (message.message == WM_QUIT || message.message == WM_CLOSE ||
            (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE)) {
            ends = true;
        }
    }
    return ends;
}

// Waits until `elapsedMs` have passed since `start`, in short steps so that Escape still ends
// the replay during a long recorded pause. False when the player ended it.
bool waitForRecordedTime(std::chrono::steady_clock::time_point start, uint32_t elapsedMs) {
    const auto due = start + std::chrono::milliseconds(elapsedMs);
    for (;;) {
        if (playerEndsReplay()) return false;
        const auto now = std::chrono::steady_clock::now();
        if (now >= due) return true;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            due - now, std::chrono::milliseconds(20)));
    }
}

// Windows ends the process as soon as this returns: the game ends as a quit would end it,
// with its score entered.
void endAtSessionEnd() {
    enterFinishedGame(static_cast<int64_t>(std::time(nullptr)), stderr);
    shutDown();
    std::fflush(nullptr);
    std::exit(0);
}

}  // namespace

void shutDown() {
    destroyGameWindow();
    releaseSound();
    platform::releaseJoystick();
}

void startSoundOrExit() {
    if (initSound() && loadSounds()) return;
    fatalError("Could not find wav files", "DirectSound3D Error");
}

void runTitleLoop() {
    while (!shared.titleFinished && !shared.quitRequested) {
        if (dispatchOneMessage()) continue;
        followWindowSize();
        drawTitle();
        updateTitleFrame();
        saveChangedOptions(stderr);
        if (titleScreen.startChosen || shared.titleFinished) markFrame(FrameMark::StartHandled);
        endInputFrame();
        platform::swapBuffers();
        markFrame(FrameMark::FirstTitleFrame);
    }
}

void runGameLoop() {
    while (!shared.quitRequested) {
        Message message;
        const bool waiting = platform::peekMessage(message);
        gameLoopPass(waiting ? &message : nullptr, true);
        if (waiting) continue;
        platform::swapBuffers();
        markFrame(FrameMark::FirstGameFrame);
    }
}

void runReplayLoop() {
    JournalReader& journal = replayReader();
    const auto start = std::chrono::steady_clock::now();
    const uint32_t startMs = journal.header().switchClockMs;
    while (!playerEndsReplay() && replayFrame(journal, true)) {
        if (!waitForRecordedTime(start, journal.clockMs() - startMs)) break;
        platform::swapBuffers(false);
        markFrame(FrameMark::FirstGameFrame);
    }
}

int runGame() {
    const bool replaying = recordedRun.mode == JournalMode::Replay;
    const uint32_t seed = replaying ? replayReader().header().seed : chooseSeed();
    // --windowed asks for the same window the refused-mode path offers; without --windowed or
    // --fullscreen the settings file chooses the kind of full screen.
    std::atexit(shutDown);
    const FullScreenKind fromSettings = playerProfile.saved.fullscreen == Fullscreen::Desktop
                                            ? FullScreenKind::Desktop
                                            : FullScreenKind::Mode;
    createGameWindow("Voxmere", windowView.width, windowView.height, 16,
                     chosenScreen(runOptions, fromSettings));
    platform::setWindowIcon(drawGameIcon().data(), gameIconEdge);
    platform::setSessionEndHandler(endAtSessionEnd);
    startSoundOrExit();

    platform::showCursor(true);  // the title menu needs the pointer
    if (!replaying) {
        // A pad's A or Start on the title is Enter: the game starts at once.
        platform::openGamepads();
        platform::setRumbleEnabled(playerProfile.saved.rumble);
        platform::setPadKeys(VK_RETURN, VK_RETURN);
        loadTitleTextures();
        runTitleLoop();
    }

    // The switch runs also when the title ended with quit: the game loop is then skipped.
    platform::showCursor(false);
    leaveTitle();
    freeTitleTextures();
    if (!replaying) {  // a replay reads no stick
        // In the game Start pauses as P does; A fires as joystick button 1.
        platform::setPadKeys(VK_P, 0);
        platform::captureJoystick();
    }
    buildMeshLists();
    loadGameTextures();
    if (recordedRun.mode == JournalMode::Record) {
        startRecording(recordFile(), seed, nullptr);
    } else if (replaying) {
        beginReplay(replayReader().header());
    }
    enterGame(seed);
    if (replaying) {
        runReplayLoop();
    } else {
        runGameLoop();
    }

    int status = 0;
    std::string problem;
    if (recordedRun.mode == JournalMode::Record && !finishRecording()) {
        problem = "the recording is incomplete: " + recordingError();
        status = 1;
    } else if (replaying && !replayReader().error().empty()) {
        problem = replayReader().error();
        status = 1;
    }
    const std::string summary = formatStateSummary(currentStateSummary());
    // However the game ended: its own end, Escape, the window closed or a quit from outside.
    enterFinishedGame(static_cast<int64_t>(std::time(nullptr)), stderr);

    shutDown();
    if (!problem.empty()) std::fprintf(stderr, "voxmere: %s\n", problem.c_str());
    if (recordedRun.mode != JournalMode::Off) {
        std::printf("%s\n", summary.c_str());
        std::fflush(stdout);
    }
    return status;
}
