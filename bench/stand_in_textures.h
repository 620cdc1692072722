// The textures of the stereo-frame benchmarks, shared so their figures read side by side: the
// game's own art when the benchmark runs where it lies (the build folder, with Textures/), as
// the pixels shaded depend on which texels are lit; otherwise white stand-ins for every world
// and HUD texture and a dim, half-lit backdrop.
#pragma once

#include <unistd.h>

#include "assets/asset_files.h"
#include "assets/texture_loader.h"

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
    if (access(kTextureFiles[TextureFileBackdrop], R_OK) == 0) {
        loadGameTextures();
        standIns = textures;
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
