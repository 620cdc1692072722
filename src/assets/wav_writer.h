// Writes the canonical 44-byte WAV header that readWavHeader reads, so the generator, the
// tests and the benchmarks make sound files the one way the game expects them.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/wav_header.h"

inline void appendLittleEndian16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void appendLittleEndian32(std::vector<uint8_t>& out, uint32_t value) {
    appendLittleEndian16(out, static_cast<uint16_t>(value));
    appendLittleEndian16(out, static_cast<uint16_t>(value >> 16));
}

// Appends "RIFF", the RIFF size, "WAVE", a 16-byte "fmt " chunk with the header's fields (byte
// rate samplesPerSecond x blockAlign), then "data" and dataLength. The samples follow.
inline void appendWavHeader(std::vector<uint8_t>& out, const WavHeader& header) {
    const auto tag = [&out](const char* id) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(id[i]));
    };
    tag("RIFF");
    appendLittleEndian32(out, 36 + header.dataLength);
    tag("WAVE");
    tag("fmt ");
    appendLittleEndian32(out, 16);
    appendLittleEndian16(out, header.formatTag);
    appendLittleEndian16(out, header.channels);
    appendLittleEndian32(out, header.samplesPerSecond);
    appendLittleEndian32(out, header.samplesPerSecond * header.blockAlign);
    appendLittleEndian16(out, header.blockAlign);
    appendLittleEndian16(out, header.bitsPerSample);
    tag("data");
    appendLittleEndian32(out, header.dataLength);
}
