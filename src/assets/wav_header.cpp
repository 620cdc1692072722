#include "assets/wav_header.h"

namespace {

uint16_t read16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t read32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

}  // namespace

bool readWavHeader(std::FILE* file, WavHeader& out) {
    uint8_t bytes[wavHeaderSize];
    if (std::fread(bytes, 1, wavHeaderSize, file) != wavHeaderSize) return false;
    out.formatTag = read16(bytes + 20);
    out.channels = read16(bytes + 22);
    out.samplesPerSecond = read32(bytes + 24);
    out.blockAlign = read16(bytes + 32);
    out.bitsPerSample = read16(bytes + 34);
    out.dataLength = read32(bytes + 40);
    return true;
}

int wavPlayChannels(uint16_t channels) {
    return channels > 1 ? 2 : 1;
}

bool isPlayableFormat(int channels, uint32_t samplesPerSecond, uint16_t bitsPerSample,
                      uint16_t blockAlign, uint32_t dataLength) {
    if (channels != 1 && channels != 2) return false;
    if (bitsPerSample != 8 && bitsPerSample != 16) return false;
    if (blockAlign != channels * (bitsPerSample / 8)) return false;
    if (samplesPerSecond < 1000 || samplesPerSecond > 192000) return false;
    if (dataLength == 0 || dataLength > maxWavDataLength) return false;
    return dataLength % blockAlign == 0;
}

bool isPlayableWav(const WavHeader& header) {
    if (header.formatTag != 1 || header.channels > 2) return false;
    return isPlayableFormat(wavPlayChannels(header.channels), header.samplesPerSecond,
                            header.bitsPerSample, header.blockAlign, header.dataLength);
}

bool fileHoldsBytes(std::FILE* file, uint32_t length) {
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return false;
    const long end = std::ftell(file);
    if (std::fseek(file, here, SEEK_SET) != 0 || end < here) return false;
    return static_cast<unsigned long>(end - here) >= length;
}
