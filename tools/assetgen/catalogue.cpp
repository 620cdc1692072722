#include "assets.h"
#include "assets/asset_files.h"
#include "assets/wav_writer.h"

namespace gen {

std::vector<std::vector<uint8_t>> makeAllTextures(const Font& font) {
    std::vector<std::vector<uint8_t>> all(textureFileCount);
    all[TextureFileAsteroid] = makeAsteroidTexture();
    all[TextureFileFighter] = makeFighterTexture();
    all[TextureFileHelpPage] = makeHelpPage(font);
    all[TextureFileBeams] = makeBeamTexture();
    all[TextureFileMainPage] = makeMainPage(font);
    all[TextureFileHud] = makeHudTexture(font);
    all[TextureFileOptionsPage] = makeOptionsPage(font);
    all[TextureFileSprites] = makeSpriteTexture();
    all[TextureFileShield] = makeShieldTexture();
    all[TextureFileBackdrop] = makeBackdropTexture();
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
