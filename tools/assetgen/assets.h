// The generators of every texture and sound the game reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text.h"

namespace gen {

struct SoundClip {
    int rate = 22050;
    std::vector<int16_t> samples;
};

// Luminance textures of the game proper.
std::vector<uint8_t> makeAsteroidTexture();             // Texture0
std::vector<uint8_t> makeFighterTexture();              // Texture1
std::vector<uint8_t> makeBeamTexture();                 // Texture3
std::vector<uint8_t> makeHudTexture(const Font& font);  // Texture5
std::vector<uint8_t> makeSpriteTexture();               // Texture7
std::vector<uint8_t> makeShieldTexture();               // Texture8
std::vector<uint8_t> makeBackdropTexture();             // Texture9

// RGBA title pages.
std::vector<uint8_t> makeMainPage(const Font& font);     // Texture4
std::vector<uint8_t> makeHelpPage(const Font& font);     // Texture2
std::vector<uint8_t> makeOptionsPage(const Font& font);  // Texture6

// Indexed by TextureFileIndex and SoundFileIndex (assets/asset_files.h); an entry without a
// maker stays empty.
std::vector<std::vector<uint8_t>> makeAllTextures(const Font& font);
std::vector<SoundClip> makeAllSounds();

// The canonical 44-byte header followed by the samples, 16-bit mono PCM.
std::vector<uint8_t> encodeWave(const SoundClip& clip);

}  // namespace gen
