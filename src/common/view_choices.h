// What the player chooses about how the picture is shown, shared by the settings file, the
// command line and the drawing.
#pragma once

// The glasses the player wears; the first filter named covers the left eye.
enum class Glasses { RedBlue, RedCyan, GreenMagenta, RedGreen };

// How the game goes full screen: switching the display to 640 x 480, or a desktop-sized window
// the picture is scaled into.
enum class Fullscreen { Mode, Desktop };
