// The glasses the player wears: two colour filters, the first named over the left eye (red/blue,
// red/cyan, green/magenta, red/green), or the other way round when the eyes are swapped. Each
// eye's pass writes only the colour channels its filter lets through.
#pragma once

#include "profile/settings.h"

// Chosen for the whole run (settings file, then command line).
struct GlassesChoice {
    Glasses kind = Glasses::RedBlue;
    // Worn the other way round: each eye's picture goes to the other filter.
    bool swapEyes = false;
};
extern GlassesChoice glasses;

// Colour masks for the passes of a stereo frame (alpha is always written).
void maskForLeftEye();
void maskForRightEye();
// The overlay pass sits at screen depth: both eyes see it, so it writes every channel either
// filter lets through.
void maskForBothEyes();

// 1 for each colour channel the left eye's pass writes, 0 for the others (red, green, blue).
void leftEyeChannels(float channels[3]);
