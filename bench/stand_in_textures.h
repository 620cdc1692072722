// White stand-ins for every world and HUD texture and a dim, half-lit backdrop, shared by the
// stereo-frame benchmarks so their figures read side by side.
#pragma once

#include "assets/texture_table.h"
#include "hud_test_atlas.h"

namespace benchtex {

// Made once per process; the texture names survive resetProgramState in a copy.
inline void useStandInTextures() {
    static TextureTable standIns;
    if (standIns.asteroidTexture != 0) {
        textures = standIns;
        return;
    }
    const auto white = [](float, float) { return 255; };
    textures.asteroidTexture = hudtest::makeLuminance(64, white);
    textures.beamTexture = hudtest::makeLuminance(64, white);
    textures.spriteAtlas = hudtest::makeLuminance(64, white);
    textures.fighterTexture = hudtest::makeLuminance(64, white);
    textures.shieldTexture = hudtest::makeLuminance(64, white);
    textures.hudAtlas = hudtest::makeLuminance(64, white);
    textures.backdropTexture =
        hudtest::makeLuminance(64, [](float u, float) { return u < 0.5f ? 40 : 0; });
    standIns = textures;
}

}  // namespace benchtex
