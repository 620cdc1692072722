// The glasses the player wears: a red filter over the left eye, and blue or cyan over the
// right. Each eye's pass writes only the colour channels its filter lets through.
#pragma once

enum class Glasses { RedBlue, RedCyan };

// Chosen on the command line for the whole run; red/blue unless told otherwise.
extern Glasses glasses;

// Colour masks for the passes of a stereo frame (alpha is always written).
void maskForLeftEye();
void maskForRightEye();
// The overlay pass sits at screen depth: both eyes see it, so it writes every channel either
// filter lets through.
void maskForBothEyes();
