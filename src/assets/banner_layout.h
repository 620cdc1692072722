// The pictures of the HUD atlas. The game cuts its banners and HUD labels from these
// rectangles and the asset generator paints its words into the same ones, so moving a picture
// here moves its art and its quad together.
#pragma once

#include <cstdint>

#include "assets/atlas_rect.h"

// The pictures a banner can show. Any other number draws nothing.
enum BannerImage : int32_t {
    BannerNone = 0,
    BannerOpeningCard = 1,
    BannerStartCard,
    BannerCannonsUpgraded,
    BannerCannonsAdded,
    BannerShieldCharged,
    BannerPauseNotice,
    BannerRapidFire,
    BannerHullRepaired,
    BannerGameOver,
    BannerExtraLife,
    BannerSpreadMissiles,
    BannerNewBest,
};

// Where a banner picture sits in the atlas and on screen. Its quad lies in the plane
// x = xOffset + planeShift, spans y from top to bottom and z from +halfWidth (left) to
// -halfWidth (right). The two cards sit 70 units nearer than the messages.
struct BannerPicture {
    AtlasRect rect;
    float planeShift;
    float top, bottom, halfWidth;
};

// Indexed by BannerImage - 1.
inline constexpr BannerPicture kBannerPictures[12] = {
    {{0.0f, 0.0f, 0.56f, 0.081f}, 0.0f, 12.0f, 6.0f, 21.0f},      // opening card
    {{0.56f, 0.0f, 0.75f, 0.08f}, 0.0f, 6.0f, -6.0f, 12.0f},      // start-of-play card
    {{0.0f, 0.08f, 0.66f, 0.16f}, -70.0f, 20.0f, 12.0f, 32.0f},   // cannons upgraded
    {{0.0f, 0.16f, 0.58f, 0.25f}, -70.0f, 20.0f, 12.0f, 28.0f},   // cannons added
    {{0.66f, 0.08f, 1.0f, 0.16f}, -70.0f, 20.0f, 12.0f, 16.0f},   // shield charged
    {{0.75f, 0.0f, 1.0f, 0.08f}, -70.0f, 20.0f, 12.0f, 12.0f},    // pause notice
    {{0.0f, 0.25f, 0.5f, 0.333f}, -70.0f, 20.0f, 12.0f, 24.0f},   // rapid fire
    {{0.5f, 0.25f, 0.83f, 0.333f}, -70.0f, 20.0f, 12.0f, 16.0f},  // hull repaired
    {{0.0f, 0.33f, 0.5f, 0.42f}, -70.0f, 24.0f, 8.0f, 48.0f},     // game over
    {{0.5f, 0.33f, 1.0f, 0.42f}, -70.0f, 20.0f, 12.0f, 24.0f},    // extra life
    {{0.0f, 0.42f, 0.75f, 0.5f}, -70.0f, 20.0f, 12.0f, 36.0f},    // spread missiles
    {{0.0f, 0.58f, 0.66f, 0.67f}, -70.0f, 2.0f, -8.0f, 30.0f},    // new best, under game over
};

// The picture of a banner image; nullptr for a number outside the table.
constexpr const BannerPicture* bannerPicture(int32_t image) {
    return image >= BannerOpeningCard && image <= BannerNewBest
               ? &kBannerPictures[image - BannerOpeningCard]
               : nullptr;
}

// The HUD's own pictures: the score label and the shield caption; and the label of the best
// score the title shows in the HUD's style.
inline constexpr AtlasRect kScoreLabelRect{0.58f, 0.16f, 0.83f, 0.25f};
inline constexpr AtlasRect kBestLabelRect{0.66f, 0.58f, 0.91f, 0.67f};
inline constexpr AtlasRect kShieldCaptionRect{0.0f, 0.5f, 0.58f, 0.58f};

// The digit row: twelve equal cells across the band, 0..9 the digits, 10 the separator,
// 11 spare.
inline constexpr float kDigitCellWidth = 0.0833f;
inline constexpr float kDigitRowTop = 0.92f;
inline constexpr float kDigitRowBottom = 0.99f;
inline constexpr int kDigitSeparator = 10;
inline constexpr int kDigitCells = 12;

// The rectangle of one cell of the digit row.
constexpr AtlasRect digitCell(int cell) {
    return {static_cast<float>(cell) * kDigitCellWidth, kDigitRowTop,
            static_cast<float>(cell + 1) * kDigitCellWidth, kDigitRowBottom};
}
