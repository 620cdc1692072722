// fuzz-sources: src/assets/wav_header.cpp
// Feeds arbitrary bytes to the WAV reader as if they were a sound file. Whatever the header
// claims, an accepted file must really hold its samples, and reading them must stay inside it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "assets/wav_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // fmemopen refuses an empty buffer
    // The reader gets its own copy, so nothing it does can touch the fuzzer's input.
    std::vector<uint8_t> copy(data, data + size);
    std::FILE* file = fmemopen(copy.data(), copy.size(), "rb");
    if (file == nullptr) return 0;

    WavHeader header;
    const bool gotHeader = readWavHeader(file, header);
    if (gotHeader != (size >= wavHeaderSize)) std::abort();
    if (!gotHeader || !isPlayableWav(header)) {
        std::fclose(file);
        return 0;
    }
    if (header.dataLength == 0 || header.dataLength > maxWavDataLength) std::abort();
    if (header.blockAlign == 0 || header.dataLength % header.blockAlign != 0) std::abort();

    const bool held = fileHoldsBytes(file, header.dataLength);
    if (held != (size - wavHeaderSize >= header.dataLength)) std::abort();
    if (std::ftell(file) != static_cast<long>(wavHeaderSize)) std::abort();
    if (held) {
        // Exactly what the game does with an accepted file: allocate the claimed length and
        // read it. The samples must be the bytes right after the header.
        uint8_t* samples = static_cast<uint8_t*>(std::malloc(header.dataLength));
        if (samples == nullptr) std::abort();
        if (std::fread(samples, 1, header.dataLength, file) != header.dataLength) std::abort();
        if (std::memcmp(samples, data + wavHeaderSize, header.dataLength) != 0) std::abort();
        std::free(samples);
    }
    std::fclose(file);
    return 0;
}
