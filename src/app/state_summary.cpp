#include "app/state_summary.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

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

}  // namespace

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
