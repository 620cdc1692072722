// The HUD and banner atlas: eleven banner pictures, the score label, the shield caption and the
// digit row. Each picture is drawn as a quad whose on-screen aspect differs from its texture
// rectangle, so the glyphs are pre-stretched to look right once drawn.
#include <algorithm>
#include <cmath>

#include "assets.h"

namespace gen {

namespace {

constexpr int kHudSize = 512;

struct Picture {
    float u0, v0, u1, v1;  // texture rectangle
    float width, height;   // on-screen size of its quad in world units
    const char* text;
    float glow;  // halo strength around the letters
};

// The quads and their world sizes, as the banners and the HUD draw them.
const Picture kPictures[] = {
    {0.0f, 0.0f, 0.56f, 0.081f, 42.0f, 6.0f, "GET READY", 0.45f},
    {0.56f, 0.0f, 0.75f, 0.08f, 24.0f, 12.0f, "GO!", 0.5f},
    {0.75f, 0.0f, 1.0f, 0.08f, 24.0f, 8.0f, "PAUSED", 0.45f},
    {0.0f, 0.08f, 0.66f, 0.16f, 64.0f, 8.0f, "CANNONS UPGRADED", 0.45f},
    {0.66f, 0.08f, 1.0f, 0.16f, 32.0f, 8.0f, "SHIELD CHARGED", 0.4f},
    {0.0f, 0.16f, 0.58f, 0.25f, 56.0f, 8.0f, "EXTRA CANNONS", 0.45f},
    {0.58f, 0.16f, 0.83f, 0.25f, 9.0f, 3.15f, "SCORE", 0.3f},
    {0.0f, 0.25f, 0.5f, 0.333f, 48.0f, 8.0f, "RAPID FIRE", 0.45f},
    {0.5f, 0.25f, 0.83f, 0.333f, 32.0f, 8.0f, "HULL REPAIRED", 0.4f},
    {0.0f, 0.33f, 0.5f, 0.42f, 96.0f, 16.0f, "GAME OVER", 0.55f},
    {0.5f, 0.33f, 1.0f, 0.42f, 48.0f, 8.0f, "EXTRA LIFE", 0.45f},
    {0.0f, 0.42f, 0.75f, 0.5f, 72.0f, 8.0f, "SPREAD MISSILES", 0.45f},
    {0.0f, 0.5f, 0.58f, 0.58f, 22.0f, 4.0f, "SHIELD", 0.3f},
};

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
    for (const Picture& p : kPictures) {
        const float x0 = std::ceil(p.u0 * n), x1 = std::floor(p.u1 * n);
        const float y0 = std::ceil(p.v0 * n), y1 = std::floor(p.v1 * n);
        const float texW = (p.u1 - p.u0) * n, texH = (p.v1 - p.v0) * n;
        // Texels per world unit across and down; glyphs are widened by their ratio.
        const float stretch = (texW / p.width) / (texH / p.height);
        const Gray mask =
            font.fit(p.text, x1 - x0 - 2.0f * room, y1 - y0 - 2.0f * room, stretch, 0.04f);
        placeWithGlow(img, mask, x0 + kGutter, y0 + kGutter, x1 - kGutter, y1 - kGutter, p.glow);
    }
    // The digit row: cells 0..9 the digits, 10 the separator, 11 spare (left black). The clock's
    // glyph quads overlap by 30 %, so each figure keeps to the middle 62 % of its cell.
    const float cellW = 0.0833f * n;
    const float rowTop = std::ceil(0.92f * n), rowBottom = std::floor(0.99f * n);
    const float stretch = (cellW / 3.0f) / ((0.99f - 0.92f) * n / 3.0f);
    const float size =
        font.fitSize("0", cellW * 0.62f, rowBottom - rowTop - 2.0f * (kGutter + 2.0f), stretch);
    for (int cell = 0; cell < 11; ++cell) {
        const std::string glyph = cell < 10 ? std::string(1, static_cast<char>('0' + cell)) : ":";
        const Gray mask = font.render(glyph, size, stretch);
        const float cx0 = static_cast<float>(cell) * cellW;
        placeWithGlow(img, mask, cx0, rowTop, cx0 + cellW, rowBottom, 0.35f);
    }
    return toBytes(img);
}

}  // namespace gen
