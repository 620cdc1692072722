// fuzz-sources: src/profile/settings.cpp src/profile/player_files.cpp
// Feeds arbitrary bytes to the settings reader and rewriter. Whatever the text, the values stay
// among the choices, and a rewritten file reads back the values that were saved into it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "profile/settings.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool same(const Settings& a, const Settings& b) {
    return a.stereo == b.stereo && a.separation == b.separation && a.glasses == b.glasses &&
           a.swapEyes == b.swapEyes && a.fullscreen == b.fullscreen && a.rumble == b.rumble;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Settings read;
    parseSettings(text, "settings", read, nullptr);
    check(read.separation == 5.0f || read.separation == 3.5f || read.separation == 2.0f);
    check(static_cast<int>(read.glasses) >= 0 && static_cast<int>(read.glasses) <= 3);

    Settings saved;
    saved.stereo = !read.stereo;
    saved.separation = read.separation == 5.0f ? 3.5f : 5.0f;
    const std::string rewritten = rewriteSettings(text, saved, kSettingStereo | kSettingSeparation);
    Settings back;
    parseSettings(rewritten, "settings", back, nullptr);
    check(back.stereo == saved.stereo && back.separation == saved.separation);
    // Saving every key gives a file that reads back exactly.
    const std::string whole = rewriteSettings(text, saved, ~0u);
    Settings all;
    parseSettings(whole, "settings", all, nullptr);
    check(same(all, saved));
    return 0;
}
