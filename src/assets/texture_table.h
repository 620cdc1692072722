// One GL texture name per image the game draws; 0 until loaded.
#pragma once

#include <cstdint>

struct TextureTable {
    uint32_t texture0 = 0;       // asteroid rock
    uint32_t texture1 = 0;       // fighter hull and muzzle flash
    uint32_t texture3 = 0;       // beam strips, one row per power level
    uint32_t texture5 = 0;       // HUD and banner atlas, digit row
    uint32_t texture7 = 0;       // shared sprite atlas
    uint32_t texture8 = 0;       // shield pattern
    uint32_t texture9 = 0;       // backdrop
    uint32_t titleTexture4 = 0;  // title: main page
    uint32_t titleTexture2 = 0;  // title: help page
    uint32_t titleTexture6 = 0;  // title: options page and its widgets
};

extern TextureTable textures;
