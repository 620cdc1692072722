// The luminance textures of the game proper: rock, muzzle flash, beams, sprites, shield and
// the starfield. Luminance modulates the current colour and is added to the picture, so black
// is "nothing" and every sprite sits on black with a gutter that mipmaps cannot smear across.
#include <algorithm>
#include <cmath>

#include "assets.h"
#include "assets/sprite_layout.h"

namespace gen {

namespace {

// Shortest signed offset between two coordinates on a ring of the given size.
inline float wrapDelta(float a, float b, float size) {
    float d = a - b;
    if (d > size * 0.5f) d -= size;
    if (d < -size * 0.5f) d += size;
    return d;
}

// Adds a Gaussian blob on a tiling image.
void wrappedBlob(Gray& img, float cx, float cy, float sigma, float peak) {
    const int reach = static_cast<int>(std::ceil(sigma * 3.0f));
    const float inv = 1.0f / (sigma * sigma);
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const int x = static_cast<int>(std::floor(cx)) + dx,
                      y = static_cast<int>(std::floor(cy)) + dy;
            const float fx = static_cast<float>(x) + 0.5f - cx,
                        fy = static_cast<float>(y) + 0.5f - cy;
            const int wx = ((x % img.w) + img.w) % img.w, wy = ((y % img.h) + img.h) % img.h;
            img.at(wx, wy) += peak * std::exp(-(fx * fx + fy * fy) * inv);
        }
    }
}

// A rectangle of the layout in texels of an n x n texture.
struct TexelRect {
    float x0, x1, y0, y1;
};

TexelRect texels(const AtlasRect& r, float n) {
    return {r.uLeft * n, r.uRight * n, r.vTop * n, r.vBottom * n};
}

// A triangle of the layout in texels, as sdPolygon takes it.
void texels(const float (&st)[3][2], float n, float (&out)[6]) {
    for (int i = 0; i < 3; ++i) {
        out[2 * i] = st[i][0] * n;
        out[2 * i + 1] = st[i][1] * n;
    }
}

}  // namespace

std::vector<uint8_t> makeAsteroidTexture() {
    const int n = 512;
    const float size = static_cast<float>(n);
    // A height field that tiles: fractal noise plus craters placed on the torus.
    Gray height(n, n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float u = static_cast<float>(x) / size * 4.0f,
                        v = static_cast<float>(y) / size * 4.0f;
            const float base = periodicFbm(u, v, 4, 6, 11u, 0.55f);
            const float ridge = 1.0f - std::fabs(periodicFbm(u * 2.0f, v * 2.0f, 8, 4, 23u));
            height.at(x, y) = 0.55f * base + 0.25f * ridge * ridge;
        }
    }
    Rng rng(0xA57E401Du);
    for (int i = 0; i < 46; ++i) {
        const float cx = rng.range(0.0f, size), cy = rng.range(0.0f, size);
        const float r = i < 6 ? rng.range(40.0f, 70.0f) : rng.range(7.0f, 30.0f);
        const float depth = 0.35f * std::sqrt(r / 40.0f);
        const int reach = static_cast<int>(r * 1.8f);
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const int x = ((static_cast<int>(cx) + dx) % n + n) % n;
                const int y = ((static_cast<int>(cy) + dy) % n + n) % n;
                const float ddx = wrapDelta(static_cast<float>(x) + 0.5f, cx, size);
                const float ddy = wrapDelta(static_cast<float>(y) + 0.5f, cy, size);
                const float d = std::sqrt(ddx * ddx + ddy * ddy) / r;
                float h = 0.0f;
                if (d < 1.0f) h -= depth * (1.0f - d * d);
                h += depth * 0.45f * std::exp(-(d - 1.0f) * (d - 1.0f) / 0.04f);
                height.at(x, y) += h;
            }
        }
    }
    // Shade the relief with a light from the upper left, and vary the albedo.
    Gray out(n, n);
    const float lx = -0.55f, ly = -0.55f, lz = 0.63f;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float gx = height.at((x + 1) % n, y) - height.at((x + n - 1) % n, y);
            const float gy = height.at(x, (y + 1) % n) - height.at(x, (y + n - 1) % n);
            const float nx = -gx * 18.0f, ny = -gy * 18.0f, nz = 1.0f;
            const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
            const float lambert = std::max(0.0f, (nx * lx + ny * ly + nz * lz) / len);
            const float u = static_cast<float>(x) / size * 8.0f,
                        v = static_cast<float>(y) / size * 8.0f;
            const float albedo = 0.62f + 0.22f * periodicFbm(u, v, 8, 3, 37u);
            const float grit = 0.06f * periodicNoise(u * 8.0f, v * 8.0f, 64, 41u);
            out.at(x, y) = albedo * (0.3f + 0.75f * lambert) + grit;
        }
    }
    return toBytes(out);
}

std::vector<uint8_t> makeFighterTexture() {
    // Only s, t 0.51 .. 0.99 is ever sampled: the muzzle flash, a four-pointed star with a hot
    // core, longer up and down, on a black rim. The hull itself is drawn untextured.
    const int n = 256;
    Gray img(n, n);
    const auto [x0, x1, y0, y1] = texels(kMuzzleFlashRect, static_cast<float>(n));
    const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
    const float half = (x1 - x0) * 0.5f - 5.0f;
    for (int y = static_cast<int>(y0); y < static_cast<int>(std::ceil(y1)); ++y) {
        for (int x = static_cast<int>(x0); x < static_cast<int>(std::ceil(x1)); ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / half;
            const float dy = (static_cast<float>(y) + 0.5f - cy) / half;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float core = std::exp(-r * r / 0.03f);
            const float glow = 0.55f * std::exp(-r * r / 0.16f);
            const float vertical = std::exp(-dx * dx / 0.004f) * (1.0f - std::fabs(dy));
            const float horizontal = 0.7f * std::exp(-dy * dy / 0.004f) * (1.0f - std::fabs(dx));
            const float window =
                1.0f - smoothstep(0.75f, 1.0f, std::max(std::fabs(dx), std::fabs(dy)));
            img.at(x, y) = (core + glow + std::max(vertical, horizontal)) * window;
        }
    }
    return toBytes(img);
}

std::vector<uint8_t> makeBeamTexture() {
    // Six strips, one per level (beamStripRect). Across the strip a hot core inside a softer
    // glow, both wider and brighter with the level; along s (tip at the left) a rounded head and
    // a faint ripple of energy.
    const int n = 256;
    Gray img(n, n);
    for (int level = 0; level < 6; ++level) {
        const float top = beamStripRect(level).vTop * n;
        const float bottom = beamStripRect(level).vBottom * n;
        const float centre = (top + bottom) * 0.5f;
        const float reach = (bottom - top) * 0.5f - 2.5f;
        const float l = static_cast<float>(level) / 5.0f;
        const float coreWidth = 2.5f + 4.0f * l;
        const float glowWidth = 6.0f + 8.0f * l;
        const float coreGain = 0.62f + 0.38f * l;
        const float glowGain = 0.22f + 0.28f * l;
        for (int y = static_cast<int>(top); y <= static_cast<int>(bottom) + 1 && y < n; ++y) {
            const float d = std::fabs(static_cast<float>(y) + 0.5f - centre);
            const float edge = 1.0f - smoothstep(reach * 0.7f, reach, d);
            const float core = coreGain * std::exp(-d * d / (coreWidth * coreWidth));
            const float glow = glowGain * std::exp(-d * d / (glowWidth * glowWidth));
            const float hot = level >= 3 ? 0.35f * std::exp(-d * d / 1.2f) : 0.0f;
            for (int x = 0; x < n; ++x) {
                const float s = (static_cast<float>(x) + 0.5f) / n;
                const float head = smoothstep(0.0f, 0.06f, s);
                const float tail = 1.0f - 0.35f * smoothstep(0.6f, 1.0f, s);
                const float ripple =
                    0.88f + 0.12f * std::sin(s * 2.0f * kPi * (6.0f + 2.0f * level));
                img.at(x, y) = (core * ripple + glow + hot) * head * tail * edge;
            }
        }
    }
    return toBytes(img);
}

std::vector<uint8_t> makeSpriteTexture() {
    const int n = 512;
    const float N = static_cast<float>(n);
    Gray img(n, n);
    const float gutter = 6.0f;

    // Pickup 3 (shield, tetrahedron face): an inset triangle outline with a dim fill and a
    // bright centre.
    {
        float tri[6];
        texels(kTetrahedronFaceTexture, N, tri);
        const float cx = (tri[0] + tri[2] + tri[4]) / 3.0f, cy = (tri[1] + tri[3] + tri[5]) / 3.0f;
        paintMax(img, 0, 0, 90, 90, 1.0f, [&](float x, float y) {
            const float d = sdPolygon(x, y, tri, 3);
            const float inner = -d - gutter;  // distance inside the inset edge
            if (inner < 0.0f) return 1.0f - inner;
            const float band = std::fabs(inner - 3.5f) - 3.5f;
            const float dot = sdCircle(x, y, cx, cy, 6.0f);
            return std::min(band, dot);
        });
        paintMax(img, 0, 0, 90, 90, 0.32f,
                 [&](float x, float y) { return sdPolygon(x, y, tri, 3) + gutter + 7.0f; });
    }
    // Pickups 2 and 7 (six-pointed stars): each spike is bright along its axis from base to tip.
    {
        float tri[6];
        texels(kStarSpikeTexture, N, tri);
        const float ax = tri[4];
        for (int y = 0; y < 90; ++y) {
            for (int x = 80; x < 175; ++x) {
                const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                const float d = sdPolygon(px, py, tri, 3) + gutter;
                if (d > 0.5f) continue;
                const float lateral = std::fabs(px - ax) / (0.085f * N);
                const float along = py / (0.16f * N);
                const float v =
                    (0.45f + 0.55f * std::exp(-lateral * lateral / 0.05f)) * (1.0f - 0.3f * along);
                img.at(x, y) = std::max(img.at(x, y), v * coverage(d));
            }
        }
    }
    // Pickup 1 cube face (cannon upgrade): a framed square with an upward double chevron.
    {
        const auto [x0, x1, y0, y1] = texels(kCubeFaceRect, N);
        const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
        const float hw = (x1 - x0) * 0.5f - gutter, hh = (y1 - y0) * 0.5f - gutter;
        const int bx0 = static_cast<int>(x0), bx1 = static_cast<int>(x1) + 1,
                  by1 = static_cast<int>(y1) + 1;
        paintMax(img, bx0, 0, bx1, by1, 0.2f,
                 [&](float x, float y) { return sdRoundBox(x, y, cx, cy, hw, hh, 6.0f); });
        paintMax(img, bx0, 0, bx1, by1, 1.0f, [&](float x, float y) {
            return std::fabs(sdRoundBox(x, y, cx, cy, hw - 2.5f, hh - 2.5f, 5.0f)) - 2.5f;
        });
        for (int k = 0; k < 2; ++k) {
            const float top = cy - 14.0f + 13.0f * static_cast<float>(k);
            paintMax(img, bx0, 0, bx1, by1, 0.95f, [&](float x, float y) {
                const float a = sdSegment(x, y, cx - 15.0f, top + 13.0f, cx, top);
                const float b = sdSegment(x, y, cx, top, cx + 15.0f, top + 13.0f);
                return std::min(a, b) - 3.2f;
            });
        }
    }
    // Pickup 1 plate: a ring with a cross, like a turret seen from the front.
    {
        const auto [x0, x1, y0, y1] = texels(kPlateRect, N);
        const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
        const float r = std::min(x1 - x0, y1 - y0) * 0.5f - gutter - 1.0f;
        const int bx0 = static_cast<int>(x0), bx1 = static_cast<int>(x1) + 1;
        paintMax(img, bx0, 0, bx1, 90, 0.25f,
                 [&](float x, float y) { return sdCircle(x, y, cx, cy, r); });
        paintMax(img, bx0, 0, bx1, 90, 1.0f, [&](float x, float y) {
            return std::fabs(sdCircle(x, y, cx, cy, r - 3.0f)) - 2.8f;
        });
        paintMax(img, bx0, 0, bx1, 90, 0.85f, [&](float x, float y) {
            const float a = sdSegment(x, y, cx - r * 0.55f, cy, cx + r * 0.55f, cy);
            const float b = sdSegment(x, y, cx, cy - r * 0.55f, cx, cy + r * 0.55f);
            return std::min(a, b) - 2.4f;
        });
    }
    // Missile and fighter shot: a hot ball with a soft halo.
    {
        const auto [x0, x1, y0, y1] = texels(kShotBallRect, N);
        const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
        const float reach = std::min(x1 - x0, y1 - y0) * 0.5f - gutter;
        for (int y = static_cast<int>(y0); y <= static_cast<int>(y1); ++y) {
            for (int x = static_cast<int>(x0); x <= static_cast<int>(x1); ++x) {
                const float dx = static_cast<float>(x) + 0.5f - cx,
                            dy = static_cast<float>(y) + 0.5f - cy;
                const float r = std::sqrt(dx * dx + dy * dy) / reach;
                const float v = std::exp(-r * r / 0.09f) + 0.55f * std::exp(-r * r / 0.3f);
                img.at(x, y) = std::max(img.at(x, y), v * (1.0f - smoothstep(0.75f, 1.0f, r)));
            }
        }
    }
    // Life icon: a small ship seen from above, nose up.
    {
        const auto [x0, x1, y0, y1] = texels(kLifeIconRect, N);
        const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
        const float s = std::min(x1 - x0, y1 - y0) * 0.5f - gutter;  // half size
        // Hull outline, in units of s around the centre (y down).
        const float ship[] = {0.0f,   -1.0f, 0.2f,   -0.45f, 0.28f,  -0.1f,  0.95f, 0.55f, 0.95f,
                              0.8f,   0.3f,  0.6f,   0.22f,  0.9f,   -0.22f, 0.9f,  -0.3f, 0.6f,
                              -0.95f, 0.8f,  -0.95f, 0.55f,  -0.28f, -0.1f,  -0.2f, -0.45f};
        float poly[26];
        for (int i = 0; i < 13; ++i) {
            poly[2 * i] = cx + ship[2 * i] * s;
            poly[2 * i + 1] = cy + ship[2 * i + 1] * s;
        }
        const int bx0 = static_cast<int>(x0), bx1 = static_cast<int>(x1) + 1;
        const int by0 = static_cast<int>(y0), by1 = static_cast<int>(y1) + 1;
        paintMax(img, bx0, by0, bx1, by1, 0.55f,
                 [&](float x, float y) { return sdPolygon(x, y, poly, 13); });
        paintMax(img, bx0, by0, bx1, by1, 1.0f, [&](float x, float y) {
            return std::fabs(sdPolygon(x, y, poly, 13) + 1.8f) - 1.8f;
        });
        paintMax(img, bx0, by0, bx1, by1, 1.0f, [&](float x, float y) {
            return sdRoundBox(x, y, cx, cy - 0.28f * s, 0.07f * s, 0.16f * s, 0.07f * s);
        });
    }
    // Crosshair: a ring with four ticks pointing in and a centre dot.
    {
        const auto [x0, x1, y0, y1] = texels(kCrosshairRect, N);
        const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
        const float r = std::min(x1 - x0, y1 - y0) * 0.5f - gutter - 2.0f;
        const int bx0 = static_cast<int>(x0), bx1 = static_cast<int>(x1) + 1;
        const int by0 = static_cast<int>(y0), by1 = static_cast<int>(y1) + 1;
        paintMax(img, bx0, by0, bx1, by1, 0.9f, [&](float x, float y) {
            return std::fabs(sdCircle(x, y, cx, cy, r * 0.62f)) - 2.2f;
        });
        paintMax(img, bx0, by0, bx1, by1, 1.0f, [&](float x, float y) {
            float d = sdCircle(x, y, cx, cy, 2.6f);
            d = std::min(d, sdSegment(x, y, cx - r, cy, cx - r * 0.4f, cy) - 2.2f);
            d = std::min(d, sdSegment(x, y, cx + r * 0.4f, cy, cx + r, cy) - 2.2f);
            d = std::min(d, sdSegment(x, y, cx, cy - r, cx, cy - r * 0.4f) - 2.2f);
            d = std::min(d, sdSegment(x, y, cx, cy + r * 0.4f, cx, cy + r) - 2.2f);
            return d;
        });
    }
    // Explosion flash: a white-hot core, a ragged fireball and rays, all gone well before the
    // rim because the quad grows to 2000 units across.
    {
        const auto [x0, x1, y0, y1] = texels(kExplosionFlashRect, N);
        const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
        const float reach = std::min(x1 - x0, y1 - y0) * 0.5f;
        for (int y = static_cast<int>(y0); y < static_cast<int>(y1); ++y) {
            for (int x = static_cast<int>(x0); x < n; ++x) {
                const float dx = static_cast<float>(x) + 0.5f - cx,
                            dy = static_cast<float>(y) + 0.5f - cy;
                const float r = std::sqrt(dx * dx + dy * dy) / reach;
                const float angle = std::atan2(dy, dx);
                const float a = (angle + kPi) / (2.0f * kPi) * 16.0f;
                const float ragged = periodicFbm(a, r * 6.0f, 16, 3, 53u);
                const float rays =
                    std::pow(std::fabs(std::cos(angle * 6.0f + 0.7f * ragged)), 18.0f);
                const float core = std::exp(-r * r / 0.006f);
                const float ball = 0.75f * std::exp(-r * r / 0.05f) * (0.75f + 0.35f * ragged);
                const float halo = 0.3f * std::exp(-r * r / 0.16f);
                const float ray = 0.45f * rays * std::exp(-r / 0.22f);
                const float window = 1.0f - smoothstep(0.45f, 0.78f, r);
                img.at(x, y) = std::max(0.0f, core + ball + halo + ray) * window;
            }
        }
    }
    return toBytes(img);
}

std::vector<uint8_t> makeShieldTexture() {
    // Hexagonal cells on the torus (8 across, 10 down) with brighter nodes and a slow shimmer.
    // The edges are found from the two nearest cell centres, with wrap-around, so the pattern
    // repeats seamlessly whichever way the texture matrix turns it.
    const int n = 512;
    const float size = static_cast<float>(n);
    const int cols = 8, rows = 10;
    const float dx = size / cols, dy = size / rows;
    Gray img(n, n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            const int row = static_cast<int>(py / dy);
            float best = 1e9f, second = 1e9f, bx = 0, by = 0, sx = 0, sy = 0;
            for (int j = row - 1; j <= row + 1; ++j) {
                const int wj = ((j % rows) + rows) % rows;
                const float cyRaw = (static_cast<float>(j) + 0.5f) * dy;
                const float shift = (wj % 2) ? dx * 0.5f : 0.0f;
                const int col = static_cast<int>((px - shift) / dx);
                for (int i = col - 1; i <= col + 1; ++i) {
                    const float cxRaw = (static_cast<float>(i) + 0.5f) * dx + shift;
                    const float ox = px - cxRaw, oy = py - cyRaw;
                    const float d2 = ox * ox + oy * oy;
                    if (d2 < best) {
                        second = best;
                        sx = bx;
                        sy = by;
                        best = d2;
                        bx = cxRaw;
                        by = cyRaw;
                    } else if (d2 < second) {
                        second = d2;
                        sx = cxRaw;
                        sy = cyRaw;
                    }
                }
            }
            // Distance to the bisector of the two nearest centres.
            const float ex = sx - bx, ey = sy - by;
            const float el = std::sqrt(ex * ex + ey * ey);
            const float edge = ((px - (bx + sx) * 0.5f) * ex + (py - (by + sy) * 0.5f) * ey) / el;
            const float line = std::exp(-edge * edge / 2.5f);
            const float centre = std::sqrt(best) / (dx * 0.5f);
            const float u = px / size * 4.0f, v = py / size * 4.0f;
            const float shimmer = 0.5f + 0.5f * periodicFbm(u, v, 4, 4, 71u);
            const float node = std::exp(-(std::sqrt(second) - std::sqrt(best)) * 0.9f) *
                               smoothstep(0.9f, 1.15f, centre);
            img.at(x, y) = 0.05f + 0.1f * shimmer + line * (0.22f + 0.18f * shimmer) + 0.12f * node;
        }
    }
    return toBytes(img);
}

std::vector<uint8_t> makeBackdropTexture() {
    // Faint nebula clouds under a starfield, tiling in both directions.
    const int n = 512;
    const float size = static_cast<float>(n);
    Gray img(n, n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float u = static_cast<float>(x) / size * 3.0f,
                        v = static_cast<float>(y) / size * 3.0f;
            const float warpX = periodicFbm(u, v, 3, 3, 91u);
            const float warpY = periodicFbm(u, v, 3, 3, 97u);
            const float cloud = periodicFbm(u + 0.6f * warpX, v + 0.6f * warpY, 3, 5, 103u);
            const float lanes = periodicFbm(u * 2.0f, v * 2.0f, 6, 4, 107u);
            const float density = smoothstep(-0.1f, 0.6f, cloud) * (0.7f + 0.3f * lanes);
            img.at(x, y) = 0.26f * density * density + 0.03f * smoothstep(-0.5f, 0.5f, cloud);
        }
    }
    Rng rng(0x57A25EEDu);
    for (int i = 0; i < 1400; ++i) {
        const float sx = rng.range(0.0f, size), sy = rng.range(0.0f, size);
        const float roll = rng.unit();
        if (roll < 0.8f) {
            wrappedBlob(img, sx, sy, rng.range(0.7f, 1.0f), rng.range(0.25f, 0.6f));
        } else if (roll < 0.97f) {
            wrappedBlob(img, sx, sy, rng.range(1.0f, 1.4f), rng.range(0.55f, 0.9f));
        } else {
            // A few bright stars with a halo and short cross flares.
            wrappedBlob(img, sx, sy, 1.5f, 1.0f);
            wrappedBlob(img, sx, sy, 4.0f, 0.12f);
            for (int k = -9; k <= 9; ++k) {
                const float fall = 0.35f * std::exp(-std::fabs(static_cast<float>(k)) / 3.0f);
                wrappedBlob(img, sx + static_cast<float>(k), sy, 0.7f, fall);
                wrappedBlob(img, sx, sy + static_cast<float>(k), 0.7f, fall);
            }
        }
    }
    return toBytes(img);
}

}  // namespace gen
