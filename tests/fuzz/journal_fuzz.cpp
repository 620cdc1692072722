// fuzz-sources: src/run/journal.cpp
// Feeds arbitrary bytes to the journal reader as if they were a recorded run. A refused file
// gets one line of reason; an accepted one must be exactly what the writer makes of the frames
// the reader handed out, so nothing the reader accepts is lost or invented.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "run/journal.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;  // fmemopen refuses an empty buffer
    std::vector<uint8_t> copy(data, data + size);
    std::FILE* input = fmemopen(copy.data(), copy.size(), "rb");
    check(input != nullptr);

    JournalReader reader;
    const bool accepted = reader.attach(input);
    if (!accepted) {
        check(!reader.error().empty());
        check(reader.error().find('\n') == std::string::npos);
        check(!reader.nextFrame());
        std::fclose(input);
        return 0;
    }
    check(reader.error().empty());
    check(kJournalHeaderBytes + std::size_t{reader.frameCount()} * kJournalFrameHeadBytes <= size);

    // Write back what was read.
    char* buffer = nullptr;
    std::size_t length = 0;
    std::FILE* output = open_memstream(&buffer, &length);
    check(output != nullptr);
    JournalWriter writer;
    check(writer.start(output, reader.header()));
    uint32_t frames = 0;
    while (reader.nextFrame()) {
        for (const Message& m : reader.messages()) check(writer.addMessage(m));
        check(writer.writeFrame(reader.clockMs()));
        ++frames;
    }
    check(reader.error().empty());
    check(frames == reader.frameCount());
    if (reader.finished()) {
        for (const Message& m : reader.messages()) check(writer.addMessage(m));
        check(writer.finish());
    } else {
        check(reader.messages().empty());
    }
    std::fflush(output);
    check(length == size);
    check(std::memcmp(buffer, data, size) == 0);

    // A cut-off recording becomes a whole one once it is finished.
    if (!reader.finished()) {
        check(writer.finish());
        std::fflush(output);
        std::FILE* closed = fmemopen(buffer, length, "rb");
        JournalReader again;
        check(again.attach(closed));
        check(again.finished() && again.frameCount() == frames);
        std::fclose(closed);
    }
    std::fclose(output);
    std::free(buffer);
    std::fclose(input);
    return 0;
}
