#include "player/player_shield.h"

#include "common/globals.h"

void PlayerShield::updateFade() {
    if (fadeTime <= 0.0f) return;
    fadeTime -= shared.frameSeconds;
    // The last step leaves the strength at or just below 0, which no longer counts as a shield.
    strength = fadeTime * 30.0f;
}
