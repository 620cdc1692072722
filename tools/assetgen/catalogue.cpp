#include "assets.h"
#include "assets/wav_writer.h"

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
    WavHeader header;
    header.formatTag = 1;  // PCM
    header.channels = 1;   // mono, so the sound can be placed in 3-D
    header.samplesPerSecond = static_cast<uint32_t>(clip.rate);
    header.blockAlign = 2;
    header.bitsPerSample = 16;
    header.dataLength = static_cast<uint32_t>(clip.samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(wavHeaderSize + header.dataLength);
    appendWavHeader(out, header);
    for (const int16_t s : clip.samples) appendLittleEndian16(out, static_cast<uint16_t>(s));
    return out;
}

}  // namespace gen
