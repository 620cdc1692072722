// The pictures of the HUD atlas, by name. The game cuts its banners and HUD labels from these
// rectangles and the asset generator paints its words into the same ones, so moving a picture
// here moves its art and its quad together.
#pragma once

#include <cstdint>

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
};
