#include "assets.h"

namespace gen {

std::vector<TextureImage> makeAllTextures(const Font& font) {
    std::vector<TextureImage> all;
    all.push_back({"Texture0.tex", makeAsteroidTexture()});
    all.push_back({"Texture1.tex", makeFighterTexture()});
    all.push_back({"Texture2.tex", makeHelpPage(font)});
    all.push_back({"Texture3.tex", makeBeamTexture()});
    all.push_back({"Texture4.tex", makeMainPage(font)});
    all.push_back({"Texture5.tex", makeHudTexture(font)});
    all.push_back({"Texture6.tex", makeOptionsPage(font)});
    all.push_back({"Texture7.tex", makeSpriteTexture()});
    all.push_back({"Texture8.tex", makeShieldTexture()});
    all.push_back({"Texture9.tex", makeBackdropTexture()});
    return all;
}

std::vector<uint8_t> encodeWave(const SoundClip& clip) {
    const uint32_t dataBytes = static_cast<uint32_t>(clip.samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    const auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const auto put16 = [&](uint16_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    const auto tag = [&](const char* id) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(id[i]));
    };
    tag("RIFF");
    put32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono, so the sound can be placed in 3-D
    put32(static_cast<uint32_t>(clip.rate));
    put32(static_cast<uint32_t>(clip.rate) * 2);
    put16(2);   // block align
    put16(16);  // bits per sample
    tag("data");
    put32(dataBytes);
    for (const int16_t s : clip.samples) put16(static_cast<uint16_t>(s));
    return out;
}

}  // namespace gen
