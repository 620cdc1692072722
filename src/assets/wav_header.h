// The sound files' canonical 44-byte WAV header, and the checks that keep a damaged or lying
// file from being trusted. Plain stdio only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr std::size_t wavHeaderSize = 44;
// The largest sample block a sound may have (the old mixer's own buffer limit).
constexpr uint32_t maxWavDataLength = 0x0FFFFFFF;

// The fields the game reads; everything else in the header is ignored.
struct WavHeader {
    uint16_t formatTag = 0;         // offset 20; 1 is PCM
    uint16_t channels = 0;          // offset 22; 0 counts as mono, more than 1 as stereo
    uint32_t samplesPerSecond = 0;  // offset 24
    uint16_t blockAlign = 0;        // offset 32; bytes per sample frame
    uint16_t bitsPerSample = 0;     // offset 34
    uint32_t dataLength = 0;        // offset 40; bytes of samples claimed to follow
};

// Reads the 44 header bytes from the current position in one read. False when fewer come.
bool readWavHeader(std::FILE* file, WavHeader& out);

// 1 or 2: the channel count the samples are played with.
int wavPlayChannels(uint16_t channels);

// True when the mixer can play samples of this shape: 8 or 16 bits, a block align of exactly
// one frame, a sample rate from 1000 to 192000 Hz, and a non-empty data length of whole frames
// no larger than maxWavDataLength.
bool isPlayableFormat(int channels, uint32_t samplesPerSecond, uint16_t bitsPerSample,
                      uint16_t blockAlign, uint32_t dataLength);

// PCM, one or two channels (0 counting as one) and a playable format.
bool isPlayableWav(const WavHeader& header);

// True when at least `length` bytes follow the file's current position. Leaves the position
// where it was.
bool fileHoldsBytes(std::FILE* file, uint32_t length);
