// fuzz-sources: src/assets/wav_header.cpp
// Feeds arbitrary bytes to the WAV reader as if they were a sound file. Properties: no crash
// and no read past the input (ASan); a file the game accepts really holds the samples its
// header claims, in whole frames, right after the header; any file whose stated length does
// not fit is refused.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "assets/wav_header.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // fmemopen refuses an empty buffer
    // The reader gets its own copy, so nothing it does can touch the fuzzer's input.
    std::vector<uint8_t> copy(data, data + size);
    std::FILE* file = fmemopen(copy.data(), copy.size(), "rb");
    check(file != nullptr);

    WavHeader header;
    const bool gotHeader = readWavHeader(file, header);
    check(gotHeader == (size >= wavHeaderSize));
    if (!gotHeader || !isPlayableWav(header)) {
        std::fclose(file);
        return 0;
    }
    // A playable header describes whole frames of a real sample block.
    check(header.blockAlign > 0 && header.dataLength > 0);
    check(header.dataLength % header.blockAlign == 0);

    const bool held = fileHoldsBytes(file, header.dataLength);
    check(std::ftell(file) == static_cast<long>(wavHeaderSize));  // the check does not move
    const size_t room = size - wavHeaderSize;
    if (header.dataLength > room) check(!held);
    if (held) {
        // What the game does with an accepted file: allocate the stated length and read it.
        uint8_t* samples = static_cast<uint8_t*>(std::malloc(header.dataLength));
        check(samples != nullptr);
        check(std::fread(samples, 1, header.dataLength, file) == header.dataLength);
        check(std::memcmp(samples, data + wavHeaderSize, header.dataLength) == 0);
        std::free(samples);
    }
    std::fclose(file);
    return 0;
}
