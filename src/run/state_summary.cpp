#include "run/state_summary.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "hud/hud.h"
#include "player/player_ship.h"
#include "world/asteroid.h"
#include "world/enemy_fighter.h"
#include "world/pickup.h"

namespace {

constexpr uint64_t kFnvPrime = 0x100000001b3ull;
constexpr uint32_t kQuietNan = 0x7fc00000u;

void appendFloat(std::string& line, float value) {
    if (std::isnan(value)) {
        line += "nan";
        return;
    }
    if (value == 0.0f) value = 0.0f;  // -0 reads as 0
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    line.append(text, written.ptr);
}

void appendField(std::string& line, const char* name, int32_t value) {
    if (!line.empty()) line += ' ';
    line += name;
    line += '=';
    line += std::to_string(value);
}

void appendField(std::string& line, const char* name, float value) {
    line += ' ';
    line += name;
    line += '=';
    appendFloat(line, value);
}

uint32_t slot(int index) {
    return static_cast<uint32_t>(index);
}

// A running burst counts once and hashes its origin.
void addBurst(const ParticleBurst& burst, uint32_t tag, StateSummary& summary, PositionHash& hash) {
    if (burst.isFinished()) return;
    ++summary.bursts;
    hash.add(tag);
    hash.add(burst.origin);
}

void addShip(StateSummary& summary, PositionHash& hash) {
    summary.score = scoreDisplay.total;
    summary.lives = player.lives;
    summary.hull = player.hull;
    summary.shield = player.shield.strength;
    summary.cannons = player.activeCannons;
    for (int i = 0; i < playerCannonCount; ++i) {
        summary.cannonLevels[i] = static_cast<int32_t>(player.cannons[i].level);
    }
    summary.missileLevel = player.launchers[0].spread ? playerLauncherCount * missilesPerLauncher
                                                      : playerLauncherCount;
    hash.add(player.position);
    hash.add(player.cameraOffset);
    hash.add(player.shakeOffset.y);
    hash.add(player.shakeOffset.z);
    for (int i = 0; i < playerCannonCount; ++i) {
        if (!player.cannons[i].active) continue;
        ++summary.playerShots;
        hash.add(slot(i));
        hash.add(player.cannons[i].position);
    }
    for (int l = 0; l < playerLauncherCount; ++l) {
        for (int m = 0; m < missilesPerLauncher; ++m) {
            const Missile& missile = player.launchers[l].missiles[m];
            if (!missile.active) continue;
            ++summary.playerShots;
            hash.add(slot(l * missilesPerLauncher + m));
            hash.add(missile.position);
        }
    }
}

void addWorld(StateSummary& summary, PositionHash& hash) {
    for (int i = 0; i < asteroids.count; ++i) {
        const Asteroid& rock = asteroids.rock[i];
        if (rock.active) ++summary.asteroids;
        hash.add(slot(i));
        hash.add(static_cast<uint32_t>(rock.active));
        hash.add(rock.position);
        hash.add(rock.rotation);
        addBurst(rock.explosion, 0, summary, hash);
        addBurst(rock.hitSparks, 1, summary, hash);
    }
    for (int i = 0; i < fighterCount; ++i) {
        const EnemyFighter& fighter = fighters[i];
        if (fighter.active) ++summary.fighters;
        if (!fighter.inUse()) continue;
        hash.add(slot(i));
        hash.add(fighter.position);
        for (int s = 0; s < fighterShotCount; ++s) {
            if (!fighter.shotsInFlight || !fighter.shots[s].active) continue;
            ++summary.fighterShots;
            hash.add(slot(s));
            hash.add(fighter.shots[s].position);
        }
        addBurst(fighter.explosion, 0, summary, hash);
        addBurst(fighter.hitSparks, 1, summary, hash);
    }
    for (int i = 0; i < pickupSlotCount; ++i) {
        if (!pickups[i].active) continue;
        ++summary.pickups;
        hash.add(slot(i));
        hash.add(pickups[i].position);
    }
}

}  // namespace

StateSummary currentStateSummary() {
    StateSummary summary;
    PositionHash hash;
    addShip(summary, hash);
    addWorld(summary, hash);
    summary.positionHash = hash.value();
    return summary;
}

void PositionHash::addBytes(uint32_t word) {
    for (int i = 0; i < 4; ++i) {
        state ^= (word >> (8 * i)) & 0xFFu;
        state *= kFnvPrime;
    }
}

void PositionHash::add(float value) {
    uint32_t bits = kQuietNan;
    if (!std::isnan(value)) {
        if (value == 0.0f) value = 0.0f;
        std::memcpy(&bits, &value, sizeof bits);
    }
    addBytes(bits);
}

void PositionHash::add(const Vec3& position) {
    add(position.x);
    add(position.y);
    add(position.z);
}

void PositionHash::add(uint32_t value) {
    addBytes(value);
}

std::string formatStateSummary(const StateSummary& s) {
    std::string line;
    appendField(line, "score", s.score);
    appendField(line, "lives", s.lives);
    appendField(line, "hull", s.hull);
    appendField(line, "shield", s.shield);
    appendField(line, "cannons", s.cannons);
    line += " levels=";
    for (int i = 0; i < 4; ++i) {
        if (i > 0) line += ',';
        line += std::to_string(s.cannonLevels[i]);
    }
    appendField(line, "missiles", s.missileLevel);
    appendField(line, "asteroids", s.asteroids);
    appendField(line, "fighters", s.fighters);
    appendField(line, "fighter-shots", s.fighterShots);
    appendField(line, "player-shots", s.playerShots);
    appendField(line, "pickups", s.pickups);
    appendField(line, "bursts", s.bursts);
    char hash[32];
    std::snprintf(hash, sizeof hash, " positions=%016llx",
                  static_cast<unsigned long long>(s.positionHash));
    line += hash;
    return line;
}
