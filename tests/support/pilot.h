// A pilot for recorded runs made without a player: each frame it picks keys from what the game
// shows (where the rocks, fighters and pickups are) and sends them as key messages, with frame
// times from a fixed uneven pattern. The run goes through the game loop's own passes while it
// is recorded, so its journal is one the game itself would have written.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace pilot {

enum class Style {
    Calm,      // a slow weave and a pause, never a shot
    Fighter,   // taps both triggers, steers for pickups, else lines up with the nearest rock
    Reckless,  // steers into the nearest rock ahead, never a shot
};

enum class Ending {
    Escape,       // the player presses Escape (unless the game ended first)
    CloseWindow,  // the window is closed
};

struct Flight {
    const char* name;  // the journal's file name without its extension
    uint32_t seed;
    Style style;
    float seconds;     // of play at most; a game over ends the run sooner
    uint32_t frameMs;  // the usual frame time; the pattern adds jitter and the odd long frame
    bool stereo;
    float separation;
    Ending ending;
};

// The flights whose journals live in tests/journals.
inline constexpr Flight kJournalFlights[] = {
    {"calm_flight", 20240611u, Style::Calm, 24.0f, 17, true, 3.5f, Ending::CloseWindow},
    {"heavy_fight", 12u, Style::Fighter, 60.0f, 33, true, 5.0f, Ending::Escape},
    {"game_over", 4242u, Style::Reckless, 400.0f, 40, false, 2.0f, Ending::Escape},
};

// Flies `flight` from the game's start-up state (resetProgramState) as the title would hand it
// over (its stereo choices, Enter still held), recording the journal into `stream`, which the
// caller keeps. Returns the state summary line where the run ended; `error` gets the
// recording's error, empty when the journal was written whole.
std::string recordFlight(const Flight& flight, std::FILE* stream, std::string& error);

}  // namespace pilot
