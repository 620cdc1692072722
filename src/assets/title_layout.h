// Where everything on the title screen sits. The title screen draws its quads and tests its
// clicks with these, and the asset generator paints each button into the texels these quads
// show, so moving a button here moves its art and its hit area together.
#pragma once

#include <cstdint>

// A hit area in client pixels of the 640 x 480 window. A click counts strictly inside.
struct MenuRect {
    int32_t left, top, right, bottom;
};

// Main page.
inline constexpr MenuRect kStartButton{356, 289, 408, 313};
inline constexpr MenuRect kQuitButton{429, 289, 481, 313};
inline constexpr MenuRect kHelpButton{161, 289, 229, 313};
inline constexpr MenuRect kOptionsButton{246, 289, 334, 313};
// Help page.
inline constexpr MenuRect kHelpBackButton{434, 427, 481, 446};
// Options page; the separation buttons in the order of kSeparationChoices.
inline constexpr MenuRect kStereoOnButton{195, 149, 257, 191};
inline constexpr MenuRect kStereoOffButton{375, 149, 440, 191};
inline constexpr MenuRect kSeparationButtons[3] = {
    {192, 255, 241, 276}, {287, 255, 339, 276}, {388, 255, 444, 276}};
inline constexpr float kSeparationChoices[3] = {5.0f, 3.5f, 2.0f};
inline constexpr MenuRect kOptionsBackButton{401, 326, 448, 345};

// A textured quad in the page plane x = -10, which the title camera at x = 30 sees 40 units
// away: y of its top and bottom edges, z of its left and right edges (screen right is -z), and
// the texture rectangle it shows. Kept in double so the generator paints from the exact
// values; the game draws them as float.
struct TitleQuad {
    double top, bottom, left, right;
    double sLeft, sRight, tTop, tBottom;
};

// The whole page texture, 16 x 16 units.
inline constexpr TitleQuad kPageSquare{8.0, -8.0, 8.0, -8.0, 0.0, 1.0, 0.0, 1.0};
// The options page with stereo on, and cut off above the separation row with stereo off.
inline constexpr TitleQuad kOptionsPageStereo{8.0, -4.0, 8.0, -8.0, 0.0, 1.0, 0.0, 0.75};
inline constexpr TitleQuad kOptionsPageMono{8.0, 1.33, 8.0, -8.0, 0.0, 1.0, 0.0, 0.416};

// The widgets, cut from the lower part of the options texture.
inline constexpr TitleQuad kBackButtonQuad{-3.8, -5.0, -3.5, -6.0, 0.83, 1.0, 0.83, 0.92};
// The help page borrows the back button, moved down and right by this much.
inline constexpr double kHelpBackShiftY = -4.5;
inline constexpr double kHelpBackShiftZ = -1.5;
inline constexpr TitleQuad kOnLabelQuad{4.0, 2.0, 1.5, -1.5, 0.0, 0.25, 0.83, 1.0};
inline constexpr TitleQuad kOffLabelQuad{4.0, 2.0, 1.5, -1.5, 0.25, 0.5, 0.83, 1.0};
inline constexpr TitleQuad kStereoOnMarker{3.6, 2.5, 5.3, 3.0, 0.58, 0.75, 0.83, 0.92};
inline constexpr TitleQuad kStereoOffMarker{3.6, 2.5, -2.8, -5.1, 0.58, 0.75, 0.83, 0.92};
inline constexpr TitleQuad kSeparationMarkers[3] = {
    {-0.65, -1.75, 5.5, 3.2, 0.58, 0.75, 0.83, 0.92},
    {-0.65, -1.75, 1.35, -1.35, 0.58, 0.75, 0.83, 0.92},
    {-0.65, -1.75, -3.2, -5.5, 0.58, 0.75, 0.83, 0.92}};

// The best score on the main page, in the HUD's label and digits, between the subtitle and the
// buttons: the label from z = kBestRowLeft, then six digits, each kBestDigitStep further right.
inline constexpr double kBestRowTop = 0.75;
inline constexpr double kBestRowBottom = -0.75;
inline constexpr double kBestRowLeft = 5.6;
inline constexpr double kBestLabelWidth = 4.3;  // the HUD label's shape, 9 x 3.15
inline constexpr double kBestDigitsLeft = 1.1;
inline constexpr double kBestDigitWidth = 1.5;
inline constexpr double kBestDigitStep = 1.05;  // the HUD's digits overlap by 30 %
