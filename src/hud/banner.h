// Timed message pictures cut from the HUD atlas: shown for a set time, optionally sliding in
// from the depth of the scene or fading. Starting a new picture replaces the one shown.
#pragma once

#include <cstdint>

#include "assets/banner_layout.h"

struct Banner {
    // Flag bits of the mode word. With none set the picture is drawn once, in the overlay
    // pass at screen depth, at full banner alpha.
    static constexpr uint32_t kOverlay = 0;
    static constexpr uint32_t kStereo = 1;   // drawn in both eye passes, at its depth
    static constexpr uint32_t kSlideIn = 2;  // travels from x = -990 to x = 10 over the run
    static constexpr uint32_t kFadeIn = 4;
    static constexpr uint32_t kFadeOut = 8;

    uint32_t flags = 0;
    bool running = false;
    int32_t image = BannerNone;  // a BannerImage; anything else draws nothing
    float elapsed = 0.0f;
    float duration = 0.0f;
    float xOffset = -100.0f;
    float alpha = 1.0f;

    void setImage(int32_t n) { image = n; }
    // A new mode also puts the picture back at its resting place.
    void setMode(uint32_t mode) {
        flags = mode;
        xOffset = -100.0f;
    }
    void setDuration(float seconds) { duration = seconds; }
    void start() {
        elapsed = 0.0f;
        alpha = 1.0f;
        running = true;
    }
    bool isStereo() const { return (flags & kStereo) != 0; }

    // Once per unpaused frame, after whoever starts pictures has run.
    void updateBanner();
    // Draws in the coordinates current at the call (the frame's camera); keeps the GL contract.
    void drawBanner() const;
};

extern Banner noticeBanner;   // the opening card and the pause notice
extern Banner messageBanner;  // everything said during play
