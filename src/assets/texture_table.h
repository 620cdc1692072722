// One GL texture name per image the game draws; 0 until loaded. Each slot is named for what it
// holds; the number beside it is its file's in kTextureFiles (assets/asset_files.h).
#pragma once

#include <cstdint>

#include "assets/atlas_rect.h"

struct TextureTable {
    uint32_t asteroidTexture = 0;   // 0: asteroid rock
    uint32_t fighterTexture = 0;    // 1: fighter hull and muzzle flash
    uint32_t beamTexture = 0;       // 3: beam strips, one row per power level
    uint32_t hudAtlas = 0;          // 5: HUD and banner atlas, digit row
    uint32_t spriteAtlas = 0;       // 7: shared sprite atlas
    uint32_t shieldTexture = 0;     // 8: shield pattern
    uint32_t backdropTexture = 0;   // 9: backdrop
    uint32_t titleMainPage = 0;     // 4: title main page
    uint32_t titleHelpPage = 0;     // 2: title help page
    uint32_t titleOptionsPage = 0;  // 6: title options page and its widgets
    // The lit part of each beam strip (lit_area.h), taken from the texels when the beam
    // texture is loaded; without them (beamsTrimmed false) beams draw their whole strip.
    bool beamsTrimmed = false;
    AtlasRect beamLit[6] = {};
};

extern TextureTable textures;
