// The HUD and banner atlas: twelve banner pictures, the score and best labels, the shield caption and the
// digit row. Each picture is drawn as a quad whose on-screen aspect differs from its texture
// rectangle, so the glyphs are pre-stretched to look right once drawn.
#include <algorithm>
#include <cmath>

#include "assets.h"
#include "assets/banner_layout.h"

namespace gen {

namespace {

constexpr int kHudSize = 512;

struct Picture {
    AtlasRect rect;
    float width, height;  // on-screen size of its quad in world units
    const char* text;
    float glow;  // halo strength around the letters
};

struct Words {
    const char* text;
    float glow;
};

// The words of each banner picture, in BannerImage order.
constexpr Words kBannerWords[12] = {
    {"GET READY", 0.45f},        {"GO!", 0.5f},
    {"CANNONS UPGRADED", 0.45f}, {"EXTRA CANNONS", 0.45f},
    {"SHIELD CHARGED", 0.4f},    {"PAUSED", 0.45f},
    {"RAPID FIRE", 0.45f},       {"HULL REPAIRED", 0.4f},
    {"GAME OVER", 0.55f},        {"EXTRA LIFE", 0.45f},
    {"SPREAD MISSILES", 0.45f},   {"NEW BEST!", 0.55f},
};

// Every picture with the size its quad is drawn at: the banners' from their layout, the
// score label as the score display draws it and the shield caption as the cockpit does.
std::vector<Picture> pictures() {
    std::vector<Picture> all;
    for (int i = 0; i < 12; ++i) {
        const BannerPicture& p = kBannerPictures[i];
        all.push_back({p.rect, 2.0f * p.halfWidth, p.top - p.bottom, kBannerWords[i].text,
                       kBannerWords[i].glow});
    }
    all.push_back({kScoreLabelRect, 9.0f, 3.15f, "SCORE", 0.3f});
    all.push_back({kBestLabelRect, 9.0f, 3.15f, "BEST", 0.3f});
    all.push_back({kShieldCaptionRect, 22.0f, 4.0f, "SHIELD", 0.3f});
    return all;
}

// Black kept around every picture: the rectangles touch or overlap by a texel, and linear
// filtering reads one texel beyond the edge.
constexpr float kGutter = 3.0f;
constexpr int kGlowRadius = 2;
constexpr int kGlowReach = 4;  // texels of halo kept around the letters

// Draws `mask` centred in the box with a soft halo; the halo stays inside the box.
void placeWithGlow(Gray& img, const Gray& mask, float bx0, float by0, float bx1, float by1,
                   float glow) {
    const int pad = kGlowReach;
    Gray layer(mask.w + 2 * pad, mask.h + 2 * pad);
    stampMax(layer, mask, pad, pad);
    Gray halo = layer;
    blur(halo, kGlowRadius);
    for (size_t i = 0; i < layer.v.size(); ++i)
        layer.v[i] = std::max(layer.v[i], halo.v[i] * glow * 1.6f);
    const int x =
        static_cast<int>(std::lround((bx0 + bx1) * 0.5f - static_cast<float>(layer.w) * 0.5f));
    const int y =
        static_cast<int>(std::lround((by0 + by1) * 0.5f - static_cast<float>(layer.h) * 0.5f));
    stampMax(img, layer, x, y);
}

}  // namespace

std::vector<uint8_t> makeHudTexture(const Font& font) {
    const float n = static_cast<float>(kHudSize);
    Gray img(kHudSize, kHudSize);
    const float room = kGutter + static_cast<float>(kGlowReach);
    for (const Picture& p : pictures()) {
        const AtlasRect& r = p.rect;
        const float x0 = std::ceil(r.uLeft * n), x1 = std::floor(r.uRight * n);
        const float y0 = std::ceil(r.vTop * n), y1 = std::floor(r.vBottom * n);
        const float texW = (r.uRight - r.uLeft) * n, texH = (r.vBottom - r.vTop) * n;
        // Texels per world unit across and down; glyphs are widened by their ratio.
        const float stretch = (texW / p.width) / (texH / p.height);
        const Gray mask =
            font.fit(p.text, x1 - x0 - 2.0f * room, y1 - y0 - 2.0f * room, stretch, 0.04f);
        placeWithGlow(img, mask, x0 + kGutter, y0 + kGutter, x1 - kGutter, y1 - kGutter, p.glow);
    }
    // The digit row: cells 0..9 the digits, 10 the separator, 11 spare (left black). The clock's
    // glyph quads overlap by 30 %, so each figure keeps to the middle 62 % of its cell.
    const float cellW = kDigitCellWidth * n;
    const float rowTop = std::ceil(kDigitRowTop * n), rowBottom = std::floor(kDigitRowBottom * n);
    const float stretch = (cellW / 3.0f) / ((kDigitRowBottom - kDigitRowTop) * n / 3.0f);
    const float size =
        font.fitSize("0", cellW * 0.62f, rowBottom - rowTop - 2.0f * (kGutter + 2.0f), stretch);
    for (int cell = 0; cell <= kDigitSeparator; ++cell) {
        const std::string glyph =
            cell < kDigitSeparator ? std::string(1, static_cast<char>('0' + cell)) : ":";
        const Gray mask = font.render(glyph, size, stretch);
        const float cx0 = static_cast<float>(cell) * cellW;
        placeWithGlow(img, mask, cx0, rowTop, cx0 + cellW, rowBottom, 0.35f);
    }
    return toBytes(img);
}

}  // namespace gen
