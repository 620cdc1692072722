#include "support/pilot.h"

#include <cmath>
#include <vector>

#include "app/main_loop.h"
#include "common/globals.h"
#include "input/input.h"
#include "input/press_latch.h"
#include "platform/events.h"
#include "player/player_ship.h"
#include "run/game_frame.h"
#include "run/recorded_run.h"
#include "run/state_summary.h"
#include "world/asteroid.h"
#include "world/enemy_fighter.h"
#include "world/pickup.h"

namespace pilot {
namespace {

uint32_t clockNow = 0;
uint32_t flightClock() {
    return clockNow;
}

// Frame times: the usual one with a few milliseconds of jitter, a long frame every 97th and a
// hitch of a quarter second every 1000th, as a busy machine delivers them.
uint32_t frameTime(const Flight& flight, int frame) {
    if (frame % 1000 == 999) return 250;
    if (frame % 97 == 96) return flight.frameMs * 3;
    return flight.frameMs + static_cast<uint32_t>((frame * 7) % 5) - 2;
}

// The keys the pilot holds; messages go out for the changes only.
struct Controls {
    bool left = false, right = false, up = false, down = false, fire = false;
};

struct Target {
    bool found = false;
    float y = 0.0f, z = 0.0f;
};

// The nearest thing ahead of the ship, by lateral distance, no nearer than `nearest` along the
// flight: pickups first when wanted.
Target pickTarget(bool pickupsFirst, float nearest) {
    const Vec3 at = player.location();
    Target best;
    float bestDistance = 1e30f;
    const auto consider = [&](const Vec3& p) {
        if (p.x > at.x - nearest || p.x < at.x - 900.0f) return;
        const float d = std::hypot(p.y - at.y, p.z - at.z);
        if (d < bestDistance) {
            bestDistance = d;
            best = {true, p.y, p.z};
        }
    };
    if (pickupsFirst) {
        const float rocksFrom = nearest;
        nearest = 0.0f;
        for (const Pickup& pickup : pickups) {
            if (pickup.active) consider(pickup.position);
        }
        if (best.found) return best;
        nearest = rocksFrom;
    }
    for (int i = 0; i < asteroids.count; ++i) {
        if (asteroids.rock[i].active) consider(asteroids.rock[i].position);
    }
    for (const EnemyFighter& fighter : fighters) {
        if (fighter.active) consider(fighter.position);
    }
    return best;
}

void steerTowards(const Target& target, Controls& wanted) {
    if (!target.found) return;
    const Vec3 at = player.location();
    // Left raises the ship's z and Up its y.
    wanted.left = target.z - at.z > 2.0f;
    wanted.right = target.z - at.z < -2.0f;
    wanted.up = target.y - at.y > 2.0f;
    wanted.down = target.y - at.y < -2.0f;
}

class Pilot {
  public:
    explicit Pilot(const Flight& f) : flight(f) {}

    // The messages to deliver before `frame`, `seconds` into the run.
    std::vector<Message> messagesBefore(int frame, float seconds) {
        std::vector<Message> out;
        if (frame == 2) out.push_back({WM_KEYUP, VK_RETURN, 0});  // Enter, held from the title
        Controls wanted;
        switch (flight.style) {
            case Style::Calm:
                calm(seconds, wanted, out);
                break;
            case Style::Fighter:
                // Lines up with rocks while they are far, so most break up before they ram.
                steerTowards(pickTarget(true, 350.0f), wanted);
                wanted.fire = frame % 4 < 2;  // a beam needs the trigger released in between
                if (frame % 9 == 0) {
                    // A missile salvo as a tap quicker than a frame.
                    out.push_back({WM_KEYDOWN, VK_SPACE, 0});
                    out.push_back({WM_KEYUP, VK_SPACE, 0});
                }
                break;
            case Style::Reckless:
                steerTowards(pickTarget(false, 40.0f), wanted);
                break;
        }
        change(held.left, wanted.left, VK_LEFT, out);
        change(held.right, wanted.right, VK_RIGHT, out);
        change(held.up, wanted.up, VK_UP, out);
        change(held.down, wanted.down, VK_DOWN, out);
        change(held.fire, wanted.fire, VK_CONTROL, out);
        return out;
    }

  private:
    // A weave: left, then up and right, then down; a pause of two seconds at 15 s.
    void calm(float seconds, Controls& wanted, std::vector<Message>& out) {
        const int phase = static_cast<int>(seconds / 1.5f) % 4;
        wanted.left = phase == 0;
        wanted.up = phase == 1;
        wanted.right = phase == 1 || phase == 2;
        wanted.down = phase == 3;
        if (!pauseSent && seconds >= 15.0f) {
            pauseSent = true;
            out.push_back({WM_KEYDOWN, VK_P, 0});
            out.push_back({WM_KEYUP, VK_P, 0});
            out.push_back({WM_ACTIVATE, 0, 0});
        }
        if (pauseSent && !resumeSent && seconds >= 17.0f) {
            resumeSent = true;
            out.push_back({WM_KEYDOWN, VK_P, 0});
            out.push_back({WM_KEYUP, VK_P, 0});
        }
    }

    static void change(bool& now, bool wanted, int key, std::vector<Message>& out) {
        if (now == wanted) return;
        now = wanted;
        out.push_back({wanted ? WM_KEYDOWN : WM_KEYUP, static_cast<uint64_t>(key), 0});
    }

    const Flight& flight;
    Controls held;
    bool pauseSent = false;
    bool resumeSent = false;
};

// A message through the loop's pass, then whatever the window procedure posted in reply (the
// close request's WM_QUIT), as the loop takes posted messages first.
void pass(const Message& message) {
    gameLoopPass(&message, false);
    Message posted;
    while (!shared.quitRequested && platform::peekMessage(posted)) gameLoopPass(&posted, false);
}

}  // namespace

std::string recordFlight(const Flight& flight, std::FILE* stream, std::string& error) {
    // What the title hands over: its choices, and Enter still held from leaving it.
    shared.stereoEnabled = flight.stereo;
    shared.eyeSeparation = flight.separation;
    deliverMessage({WM_KEYDOWN, VK_RETURN, 0});
    endInputFrame();
    shared.titleFinished = true;
    shared.frameSeconds = 0.021f;
    clockNow = 30000u + flight.seed % 1000u;

    startRecording(stream, flight.seed, flightClock);
    enterGame(flight.seed);
    const uint32_t startMs = clockNow;
    Pilot pilot(flight);
    for (int frame = 0; !shared.quitRequested; ++frame) {
        const float seconds = static_cast<float>(clockNow - startMs) * 0.001f;
        if (seconds >= flight.seconds) break;
        for (const Message& message : pilot.messagesBefore(frame, seconds)) pass(message);
        if (shared.quitRequested) break;
        clockNow += frameTime(flight, frame);
        gameLoopPass(nullptr, false);
    }
    if (!shared.quitRequested) {
        if (flight.ending == Ending::CloseWindow) {
            pass({WM_CLOSE, 0, 0});
        } else {
            // Escape ends the run after the frame that sees it.
            pass({WM_KEYDOWN, VK_ESCAPE, 0});
            clockNow += flight.frameMs;
            gameLoopPass(nullptr, false);
        }
    }
    const bool written = finishRecording();
    error = written ? std::string() : recordingError();
    return formatStateSummary(currentStateSummary());
}

}  // namespace pilot
