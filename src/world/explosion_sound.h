// Where an explosion is heard. The sound sits a seventh of the way from the player to the
// explosion, with z mirrored because the listener faces the way the world flies.
#pragma once

#include "assets/sound_bank.h"
#include "common/vec3.h"
#include "player/player_ship.h"

constexpr float kExplosionHearingScale = 0.14285715f;

// `alongScale` replaces the seventh on the flight axis only; a rock that leaves a pickup is
// heard from a tenth of the way along it.
inline void playExplosionFrom(SoundId id, const Vec3& at,
                              float alongScale = kExplosionHearingScale) {
    const Vec3 ear = player.location();
    playFreeCopyAt(id, (ear.x - at.x) * alongScale, (ear.y - at.y) * kExplosionHearingScale,
                   -(ear.z - at.z) * kExplosionHearingScale);
}
