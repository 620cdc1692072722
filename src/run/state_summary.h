// The one-line summary of where a run ended: the numbers a player would compare, and a hash of
// every position, so that two runs that agree here played the same game. The line is plain
// text, one "name=value" pair per field separated by single spaces:
//
//   score=1200 lives=2 hull=78.5 shield=0 cannons=4 levels=3,3,1,1 missiles=2 asteroids=100
//   fighters=3 fighter-shots=2 player-shots=5 pickups=1 bursts=4 positions=0123456789abcdef
//
// (one line in reality). Floats are written in their shortest form that reads back to the same
// value; -0 is written as 0 and every NaN as "nan". The hash is 16 lowercase hex digits.
#pragma once

#include <cstdint>
#include <string>

#include "common/vec3.h"

// 64-bit FNV-1a over the bit patterns of the values added, in the order added. -0.0 is hashed as
// +0.0 and every NaN as the one quiet NaN 0x7fc00000, so values that compare equal (and any two
// NaNs) hash alike; everything else, however close, hashes differently.
class PositionHash {
  public:
    void add(float value);
    void add(const Vec3& position);
    void add(uint32_t value);  // a slot number or a flag, as its four bytes

    uint64_t value() const { return state; }

  private:
    void addBytes(uint32_t word);

    uint64_t state = 0xcbf29ce484222325ull;
};

struct StateSummary {
    int32_t score = 0;
    int32_t lives = 0;
    float hull = 0.0f;
    float shield = 0.0f;  // the shield's strength
    int32_t cannons = 0;  // active cannons
    int32_t cannonLevels[4] = {};
    int32_t missileLevel = 0;  // missiles one salvo sends: 2, or 10 with the spread
    int32_t asteroids = 0;     // active counts
    int32_t fighters = 0;
    int32_t fighterShots = 0;
    int32_t playerShots = 0;
    int32_t pickups = 0;
    int32_t bursts = 0;
    uint64_t positionHash = 0;
};

// The game as it stands: the ship's numbers, how many of each thing are in play, and a hash of
// the place of the ship, its camera and shake, every rock in the field (with its turn), every
// fighter in use and its shots, every shot of the player in flight, every pickup and every
// running burst, each with its slot number.
StateSummary currentStateSummary();

// The summary as one line, without a line break.
std::string formatStateSummary(const StateSummary& summary);
