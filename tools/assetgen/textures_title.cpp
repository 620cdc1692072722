// The three RGBA title pages. The mouse is tested against fixed client-pixel rectangles, so
// every button is drawn from its rectangle through the title camera's projection: the camera at
// x = 30 looks down -x with a 30 degree vertical field of view at 640 x 480, and the page quads
// lie at x = -10, 40 units away.
#include <algorithm>
#include <cmath>

#include "assets.h"
#include "assets/title_layout.h"

namespace gen {

namespace {

constexpr int kPage = 512;
constexpr float kTexels = static_cast<float>(kPage);

// Client pixels per world unit on the page plane: half the window height over the half-height
// that the field of view spans 40 units away.
const double kPixelsPerUnit = 240.0 / (40.0 * std::tan(15.0 * 3.14159265358979 / 180.0));

double clientX(double z) {
    return 320.0 - kPixelsPerUnit * z;
}  // screen right is -z
double clientY(double y) {
    return 240.0 - kPixelsPerUnit * y;
}

// One textured quad: where it lands in client pixels and which texture rectangle it shows.
struct QuadMap {
    double x0, x1, y0, y1;  // client pixels of the left, right, top and bottom edges
    double s0, s1, t0, t1;
    float texX(double x) const {
        return static_cast<float>((s0 + (x - x0) / (x1 - x0) * (s1 - s0)) * kTexels);
    }
    float texY(double y) const {
        return static_cast<float>((t0 + (y - y0) / (y1 - y0) * (t1 - t0)) * kTexels);
    }
    double pixelX(float tx) const { return x0 + (tx / kTexels - s0) / (s1 - s0) * (x1 - x0); }
    double pixelY(float ty) const { return y0 + (ty / kTexels - t0) / (t1 - t0) * (y1 - y0); }
    float texelsPerPixelX() const { return static_cast<float>((s1 - s0) * kTexels / (x1 - x0)); }
    float texelsPerPixelY() const { return static_cast<float>((t1 - t0) * kTexels / (y1 - y0)); }
};

QuadMap quad(double zLeft, double zRight, double yTop, double yBottom, double s0, double s1,
             double t0, double t1) {
    return {clientX(zLeft), clientX(zRight), clientY(yTop), clientY(yBottom), s0, s1, t0, t1};
}

// A quad of the title layout, optionally moved in the page plane.
QuadMap quad(const TitleQuad& q, double shiftY = 0.0, double shiftZ = 0.0) {
    return quad(q.left + shiftZ, q.right + shiftZ, q.top + shiftY, q.bottom + shiftY, q.sLeft,
                q.sRight, q.tTop, q.tBottom);
}

const QuadMap kPageQuad = quad(kPageSquare);
// The widgets of the options texture, where the title screen draws them.
const QuadMap kBackOnOptions = quad(kBackButtonQuad);
const QuadMap kBackOnHelp = quad(kBackButtonQuad, kHelpBackShiftY, kHelpBackShiftZ);
const QuadMap kOnOffLabel = quad(kOnLabelQuad);
const QuadMap kOffLabel = quad(kOffLabelQuad);
const QuadMap kStereoMarkerOn = quad(kStereoOnMarker);
const QuadMap kStereoMarkerOff = quad(kStereoOffMarker);
const QuadMap kSeparationMarker[3] = {quad(kSeparationMarkers[0]), quad(kSeparationMarkers[1]),
                                      quad(kSeparationMarkers[2])};

// A box in client pixels.
struct Box {
    double x0, y0, x1, y1;
};

// The hit rectangles, under the names the painting code uses.
using Hit = MenuRect;
constexpr const Hit& kStart = kStartButton;
constexpr const Hit& kQuit = kQuitButton;
constexpr const Hit& kHelp = kHelpButton;
constexpr const Hit& kOptions = kOptionsButton;
constexpr const Hit& kStereoOn = kStereoOnButton;
constexpr const Hit& kStereoOff = kStereoOffButton;
constexpr const Hit (&kSeparation)[3] = kSeparationButtons;
constexpr const Hit& kBackOptions = kOptionsBackButton;
constexpr const Hit& kBackHelp = kHelpBackButton;

// Where a button may light pixels: the pixels l + 1 .. r - 1 sample at their centres
// l + 1.5 .. r - 0.5, and linear filtering reaches about a texel further, so the drawing keeps
// a little inside.
Box drawable(const Hit& h) {
    return {h.left + 3.0, h.top + 3.0, h.right - 2.0, h.bottom - 2.0};
}

Box intersect(const Box& a, const Box& b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

// Box of a quad's own client area.
Box area(const QuadMap& m) {
    return {m.x0, m.y0, m.x1, m.y1};
}

Box inset(const Box& b, double dx, double dy) {
    return {b.x0 + dx, b.y0 + dy, b.x1 - dx, b.y1 - dy};
}

Rgb scale(Rgb c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}

// Paints a shape given as a signed distance in client pixels, over the texels of `m` whose
// centres fall near `bounds`.
template <typename Distance>
void paint(Colour& img, const QuadMap& m, const Box& bounds, Rgb colour, float alpha,
           Distance distance, bool additive = false) {
    const float perPixel = 0.5f * (m.texelsPerPixelX() + m.texelsPerPixelY());
    const int tx0 = std::max(0, static_cast<int>(std::floor(m.texX(bounds.x0 - 3.0))));
    const int tx1 = std::min(kPage, static_cast<int>(std::ceil(m.texX(bounds.x1 + 3.0))));
    const int ty0 = std::max(0, static_cast<int>(std::floor(m.texY(bounds.y0 - 3.0))));
    const int ty1 = std::min(kPage, static_cast<int>(std::ceil(m.texY(bounds.y1 + 3.0))));
    for (int ty = ty0; ty < ty1; ++ty) {
        for (int tx = tx0; tx < tx1; ++tx) {
            const double x = m.pixelX(static_cast<float>(tx) + 0.5f),
                         y = m.pixelY(static_cast<float>(ty) + 0.5f);
            if (x < bounds.x0 || x > bounds.x1 || y < bounds.y0 || y > bounds.y1) continue;
            const float c =
                coverage(distance(static_cast<float>(x), static_cast<float>(y)) * perPixel);
            if (additive) {
                img.add(tx, ty, colour, alpha * c);
            } else {
                img.over(tx, ty, colour, alpha * c);
            }
        }
    }
}

float boxDistance(float x, float y, const Box& b, float radius) {
    return sdRoundBox(
        x, y, static_cast<float>(b.x0 + b.x1) * 0.5f, static_cast<float>(b.y0 + b.y1) * 0.5f,
        static_cast<float>(b.x1 - b.x0) * 0.5f, static_cast<float>(b.y1 - b.y0) * 0.5f, radius);
}

struct TextStyle {
    Rgb top{1, 1, 1};
    Rgb bottom{1, 1, 1};
    Rgb glow{0, 0, 0};
    float glowStrength = 0.0f;
    int glowRadius = 3;
    float tracking = 0.04f;  // extra letter spacing, in ems
    float align = 0.5f;      // 0 left, 0.5 centred, 1 right within the box
    float fringe = 0.0f;     // red / cyan offset in texels, for the 3-D look
};

// Lays a rendered mask into the box (texel units, centred vertically, aligned horizontally).
void placeText(Colour& img, const Gray& mask, float bx0, float by0, float bx1, float by1,
               const TextStyle& style) {
    const float left = bx0 + (bx1 - bx0 - static_cast<float>(mask.w)) * style.align;
    const int x = static_cast<int>(std::lround(left));
    const int y =
        static_cast<int>(std::lround((by0 + by1) * 0.5f - static_cast<float>(mask.h) * 0.5f));
    if (style.glowStrength > 0.0f) {
        const int pad = 3 * style.glowRadius + 1;
        Gray halo(mask.w + 2 * pad, mask.h + 2 * pad);
        stampMax(halo, mask, pad, pad);
        blur(halo, style.glowRadius);
        for (int hy = 0; hy < halo.h; ++hy) {
            for (int hx = 0; hx < halo.w; ++hx) {
                img.add(x - pad + hx, y - pad + hy, style.glow,
                        halo.at(hx, hy) * style.glowStrength);
            }
        }
    }
    if (style.fringe > 0.0f) {
        const int f = static_cast<int>(std::lround(style.fringe));
        for (int my = 0; my < mask.h; ++my) {
            for (int mx = 0; mx < mask.w; ++mx) {
                img.add(x + mx - f, y + my, {0.0f, 0.55f, 1.0f}, mask.at(mx, my) * 0.9f);
                img.add(x + mx + f, y + my, {1.0f, 0.1f, 0.2f}, mask.at(mx, my) * 0.9f);
            }
        }
    }
    for (int my = 0; my < mask.h; ++my) {
        const float k = mask.h > 1 ? static_cast<float>(my) / static_cast<float>(mask.h - 1) : 0.0f;
        const Rgb c{mix(style.top.r, style.bottom.r, k), mix(style.top.g, style.bottom.g, k),
                    mix(style.top.b, style.bottom.b, k)};
        for (int mx = 0; mx < mask.w; ++mx) img.over(x + mx, y + my, c, mask.at(mx, my));
    }
}

// Fits text into a box given in client pixels of quad `m`, pre-stretched for the quad's aspect.
void text(Colour& img, const Font& font, const QuadMap& m, const Box& box, const std::string& words,
          const TextStyle& style) {
    const float bx0 = m.texX(box.x0), bx1 = m.texX(box.x1), by0 = m.texY(box.y0),
                by1 = m.texY(box.y1);
    const float stretch = m.texelsPerPixelX() / m.texelsPerPixelY();
    const Gray mask = font.fit(words, bx1 - bx0, by1 - by0, stretch, style.tracking);
    placeText(img, mask, bx0, by0, bx1, by1, style);
}

// Text at a given nominal size (client pixels), so several lines match.
void textSized(Colour& img, const Font& font, const QuadMap& m, const Box& box,
               const std::string& words, float pixelHeight, const TextStyle& style) {
    const float bx0 = m.texX(box.x0), bx1 = m.texX(box.x1), by0 = m.texY(box.y0),
                by1 = m.texY(box.y1);
    const float size = pixelHeight * m.texelsPerPixelY();
    const Gray mask =
        font.render(words, size, m.texelsPerPixelX() / m.texelsPerPixelY(), style.tracking * size);
    placeText(img, mask, bx0, by0, bx1, by1, style);
}

// Deep space: a two-coloured nebula and stars.
Colour spaceBackground(uint32_t seed) {
    Colour img(kPage, kPage);
    const Rgb deep{0.03f, 0.07f, 0.28f}, warm{0.42f, 0.06f, 0.26f}, light{0.3f, 0.45f, 0.9f};
    for (int y = 0; y < kPage; ++y) {
        for (int x = 0; x < kPage; ++x) {
            const float u = static_cast<float>(x) / kTexels * 3.0f,
                        v = static_cast<float>(y) / kTexels * 3.0f;
            const float wx = periodicFbm(u, v, 3, 3, seed + 1u),
                        wy = periodicFbm(u, v, 3, 3, seed + 2u);
            const float cloud = periodicFbm(u + 0.7f * wx, v + 0.7f * wy, 3, 5, seed + 3u);
            const float hue =
                smoothstep(-0.4f, 0.4f, periodicFbm(u * 0.7f, v * 0.7f, 3, 2, seed + 4u));
            const float density = smoothstep(-0.15f, 0.65f, cloud);
            const float d2 = density * density;
            const size_t i = img.index(x, y);
            img.r[i] = 1.4f * d2 * mix(deep.r, warm.r, hue) + 0.3f * d2 * d2 * light.r;
            img.g[i] = 1.4f * d2 * mix(deep.g, warm.g, hue) + 0.3f * d2 * d2 * light.g;
            img.b[i] = 1.4f * d2 * mix(deep.b, warm.b, hue) + 0.3f * d2 * d2 * light.b;
        }
    }
    Rng rng(seed * 7919u + 17u);
    for (int s = 0; s < 700; ++s) {
        const float sx = rng.range(0.0f, kTexels), sy = rng.range(0.0f, kTexels);
        const float big = rng.unit() < 0.08f ? 1.0f : 0.0f;
        const float radius = 0.6f + 0.5f * rng.unit() + big;
        const float bright = 0.35f + 0.6f * rng.unit();
        const float tint = rng.unit();
        const Rgb colour{mix(0.75f, 1.0f, tint), 0.85f, mix(1.0f, 0.75f, tint)};
        const int reach = static_cast<int>(radius * 3.0f) + 1;
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const int x = static_cast<int>(sx) + dx, y = static_cast<int>(sy) + dy;
                const float fx = static_cast<float>(x) + 0.5f - sx,
                            fy = static_cast<float>(y) + 0.5f - sy;
                img.add(x, y, colour, bright * std::exp(-(fx * fx + fy * fy) / (radius * radius)));
            }
        }
    }
    return img;
}

// Fades the background to black around a box (client pixels) so that nothing but the button
// itself lights the pixels next to it.
void clearAround(Colour& img, const QuadMap& m, const Box& b, double margin, double fade) {
    for (int ty = 0; ty < kPage; ++ty) {
        for (int tx = 0; tx < kPage; ++tx) {
            const float x = static_cast<float>(m.pixelX(static_cast<float>(tx) + 0.5f));
            const float y = static_cast<float>(m.pixelY(static_cast<float>(ty) + 0.5f));
            const float d = boxDistance(x, y, b, 0.0f);
            const float k =
                smoothstep(static_cast<float>(margin), static_cast<float>(margin + fade), d);
            if (k >= 1.0f) continue;
            const size_t i = img.index(tx, ty);
            img.r[i] *= k;
            img.g[i] *= k;
            img.b[i] *= k;
        }
    }
}

void clearAround(Colour& img, const Hit& h) {
    clearAround(img, kPageQuad, {double(h.left), double(h.top), double(h.right), double(h.bottom)},
                6.0, 10.0);
}

// The padding inside a button's frame that its label keeps to.
Box labelBox(const Box& box) {
    return inset(box, 4.0, (box.y1 - box.y0) * 0.26);
}

// The largest nominal size (client pixels) at which every label fits its box, so a row of
// buttons reads evenly.
float commonSize(const Font& font, const QuadMap& m, const Box* boxes, const char* const* labels,
                 int count, float tracking) {
    float size = 1e9f;
    for (int i = 0; i < count; ++i) {
        const float w = m.texX(boxes[i].x1) - m.texX(boxes[i].x0),
                    h = m.texY(boxes[i].y1) - m.texY(boxes[i].y0);
        const float texels =
            font.fitSize(labels[i], w, h, m.texelsPerPixelX() / m.texelsPerPixelY(), tracking);
        size = std::min(size, texels / m.texelsPerPixelY());
    }
    return size;
}

// A framed menu button filling the drawable part of its hit rectangle.
void button(Colour& img, const Font& font, const QuadMap& m, const Box& box,
            const std::string& label, Rgb accent, float pixelHeight) {
    const float radius = static_cast<float>(std::min(box.x1 - box.x0, box.y1 - box.y0)) * 0.3f;
    paint(img, m, box, scale(accent, 0.22f), 1.0f,
          [&](float x, float y) { return boxDistance(x, y, box, radius); });
    paint(img, m, box, accent, 1.0f, [&](float x, float y) {
        return std::fabs(boxDistance(x, y, inset(box, 1.1, 1.1), radius - 1.1f)) - 1.1f;
    });
    TextStyle style;
    style.top = {1.0f, 1.0f, 1.0f};
    style.bottom = {0.85f, 0.92f, 1.0f};
    style.tracking = 0.0f;
    textSized(img, font, m, labelBox(box), label, pixelHeight, style);
}

void titleBanner(Colour& img, const Font& font, const Box& box, const std::string& words,
                 float fringe) {
    TextStyle style;
    style.top = {1.0f, 0.97f, 0.9f};
    style.bottom = {1.0f, 0.62f, 0.3f};
    style.glow = {0.55f, 0.2f, 0.9f};
    style.glowStrength = 0.9f;
    style.glowRadius = 5;
    style.tracking = 0.08f;
    style.fringe = fringe;
    text(img, font, kPageQuad, box, words, style);
}

// Page rows given in texture t and s, converted to client pixels of the page.
Box pageBox(double s0, double t0, double s1, double t1) {
    const QuadMap& m = kPageQuad;
    return {m.x0 + s0 * (m.x1 - m.x0), m.y0 + t0 * (m.y1 - m.y0), m.x0 + s1 * (m.x1 - m.x0),
            m.y0 + t1 * (m.y1 - m.y0)};
}

const Rgb kCool{0.35f, 0.75f, 1.0f};
const Rgb kWarm{1.0f, 0.6f, 0.2f};
const Rgb kGold{1.0f, 0.82f, 0.3f};

}  // namespace

std::vector<uint8_t> makeMainPage(const Font& font) {
    Colour img = spaceBackground(1201u);
    // A dark planet rising at the bottom, lit along its upper rim.
    {
        const float cx = 0.5f * kTexels, cy = 1.62f * kTexels, r = 0.8f * kTexels;
        for (int y = static_cast<int>(0.7f * kTexels); y < kPage; ++y) {
            for (int x = 0; x < kPage; ++x) {
                const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                const float d = sdCircle(px, py, cx, cy, r);
                const float rim =
                    std::exp(-d * d / 40.0f) * (0.4f + 0.6f * clamp01((cy - py) / r * 1.6f));
                const float haze = d > 0.0f ? 0.35f * std::exp(-d / 10.0f) : 0.0f;
                const float inside = coverage(d);
                const float bands =
                    0.5f + 0.5f * periodicFbm(px / kTexels * 2.0f, py / kTexels * 14.0f, 2, 4, 77u);
                const float shade = clamp01(-d / 90.0f);
                const Rgb body{0.05f + 0.06f * bands, 0.04f + 0.05f * bands, 0.1f + 0.1f * bands};
                img.over(x, y, scale(body, 1.0f - 0.7f * shade), inside);
                img.add(x, y, {0.3f, 0.55f, 1.0f}, rim + haze);
            }
        }
    }
    for (const Hit& h : {kHelp, kOptions, kStart, kQuit}) clearAround(img, h);
    titleBanner(img, font, pageBox(0.06, 0.07, 0.94, 0.29), "VOXMERE", 4.0f);
    TextStyle tagline;
    tagline.top = tagline.bottom = {0.7f, 0.8f, 1.0f};
    tagline.tracking = 0.18f;
    text(img, font, kPageQuad, pageBox(0.15, 0.335, 0.85, 0.37), "RED / BLUE 3-D SPACE COMBAT",
         tagline);
    const Box boxes[4] = {drawable(kHelp), drawable(kOptions), drawable(kStart), drawable(kQuit)};
    const char* const labels[4] = {"HELP", "OPTIONS", "START", "QUIT"};
    const Box labelBoxes[4] = {labelBox(boxes[0]), labelBox(boxes[1]), labelBox(boxes[2]),
                               labelBox(boxes[3])};
    const float size = commonSize(font, kPageQuad, labelBoxes, labels, 4, 0.0f);
    const Rgb accents[4] = {kCool, kCool, kWarm, {0.85f, 0.35f, 0.5f}};
    for (int i = 0; i < 4; ++i) button(img, font, kPageQuad, boxes[i], labels[i], accents[i], size);
    TextStyle hint;
    hint.top = hint.bottom = {0.55f, 0.65f, 0.85f};
    hint.tracking = 0.12f;
    text(img, font, kPageQuad, pageBox(0.2, 0.905, 0.8, 0.93), "PRESS ENTER TO LAUNCH AT ONCE",
         hint);
    return toRgbaBytes(img);
}

std::vector<uint8_t> makeHelpPage(const Font& font) {
    Colour img = spaceBackground(2203u);
    titleBanner(img, font, pageBox(0.2, 0.05, 0.8, 0.16), "CONTROLS", 3.0f);
    struct Row {
        const char* action;
        const char* keys;
    };
    const Row rows[] = {{"STEER", "ARROW KEYS / JOYSTICK"},
                        {"FIRE CANNONS", "CTRL / BUTTON 1"},
                        {"FIRE MISSILES", "SPACE / BUTTON 2"},
                        {"PAUSE", "P"},
                        {"QUIT", "ESCAPE"}};
    TextStyle action;
    action.top = action.bottom = kGold;
    action.align = 1.0f;
    TextStyle keys;
    keys.top = {1.0f, 1.0f, 1.0f};
    keys.bottom = {0.8f, 0.9f, 1.0f};
    keys.align = 0.0f;
    Box actionBoxes[5], keyBoxes[5];
    const char* actions[5];
    const char* keyNames[5];
    for (int i = 0; i < 5; ++i) {
        const double t0 = 0.25 + 0.095 * i;
        actionBoxes[i] = pageBox(0.03, t0, 0.44, t0 + 0.06);
        keyBoxes[i] = pageBox(0.5, t0, 0.97, t0 + 0.06);
        actions[i] = rows[i].action;
        keyNames[i] = rows[i].keys;
    }
    const float size =
        std::min(commonSize(font, kPageQuad, actionBoxes, actions, 5, action.tracking),
                 commonSize(font, kPageQuad, keyBoxes, keyNames, 5, keys.tracking));
    for (int i = 0; i < 5; ++i) {
        textSized(img, font, kPageQuad, actionBoxes[i], rows[i].action, size, action);
        textSized(img, font, kPageQuad, keyBoxes[i], rows[i].keys, size, keys);
    }
    TextStyle tip;
    tip.top = tip.bottom = {0.6f, 0.75f, 1.0f};
    tip.tracking = 0.1f;
    textSized(img, font, kPageQuad, pageBox(0.05, 0.76, 0.95, 0.8),
              "SHOOT ASTEROIDS - CATCH WHAT THEY DROP", 11.0f, tip);
    textSized(img, font, kPageQuad, pageBox(0.05, 0.82, 0.95, 0.86), "MIND THE FIGHTERS", 11.0f,
              tip);
    return toRgbaBytes(img);
}

std::vector<uint8_t> makeOptionsPage(const Font& font) {
    Colour img = spaceBackground(3307u);
    // Black under everything drawn over the page and around every button.
    for (const Hit& h : {kStereoOn, kStereoOff, kSeparation[0], kSeparation[1], kSeparation[2]})
        clearAround(img, h);
    for (const QuadMap* m :
         {&kOnOffLabel, &kStereoMarkerOn, &kStereoMarkerOff, &kSeparationMarker[0],
          &kSeparationMarker[1], &kSeparationMarker[2], &kBackOnOptions}) {
        clearAround(img, kPageQuad, area(*m), 4.0, 8.0);
    }
    // Nothing of the page shows below t 0.75; the widgets live there on black.
    for (int y = static_cast<int>(0.75f * kTexels); y < kPage; ++y) {
        for (int x = 0; x < kPage; ++x) img.over(x, y, {0, 0, 0}, 1.0f);
    }
    titleBanner(img, font, pageBox(0.22, 0.03, 0.78, 0.125), "OPTIONS", 3.0f);

    TextStyle heading;
    heading.top = heading.bottom = kGold;
    heading.tracking = 0.15f;
    text(img, font, kPageQuad, pageBox(0.25, 0.165, 0.75, 0.205), "STEREO 3-D", heading);
    text(img, font, kPageQuad, pageBox(0.2, 0.455, 0.8, 0.495), "EYE SEPARATION", heading);

    // Stereo buttons: a thin frame along the hit rectangle, the word inside the marker's ring.
    TextStyle label;
    label.top = {1.0f, 1.0f, 1.0f};
    label.bottom = {0.8f, 0.9f, 1.0f};
    const Hit stereoHits[2] = {kStereoOn, kStereoOff};
    const QuadMap* stereoMarkers[2] = {&kStereoMarkerOn, &kStereoMarkerOff};
    const char* stereoWords[2] = {"ON", "OFF"};
    for (int i = 0; i < 2; ++i) {
        const Box box = drawable(stereoHits[i]);
        const Box ring = area(*stereoMarkers[i]);
        paint(img, kPageQuad, box, scale(kCool, 0.7f), 1.0f, [&](float x, float y) {
            const float frame = std::fabs(boxDistance(x, y, inset(box, 0.9, 0.9), 4.0f)) - 0.9f;
            return std::max(frame, -boxDistance(x, y, ring, 0.0f));
        });
        text(img, font, kPageQuad, intersect(inset(ring, 10.0, 7.0), box), stereoWords[i], label);
    }
    const char* separations[3] = {"5", "3.5", "2"};
    const char* strengths[3] = {"STRONG", "MEDIUM", "GENTLE"};
    TextStyle caption;
    caption.top = caption.bottom = {0.55f, 0.7f, 0.95f};
    caption.tracking = 0.1f;
    for (int i = 0; i < 3; ++i) {
        const Box box =
            intersect(drawable(kSeparation[i]), inset(area(kSeparationMarker[i]), 9.0, 6.0));
        text(img, font, kPageQuad, box, separations[i], label);
        const Box under{box.x0 - 8.0, 287.0, box.x1 + 8.0, 296.0};
        textSized(img, font, kPageQuad, under, strengths[i], 8.0f, caption);
    }

    // Widgets cut from the lower part.
    // The "on" label: 3-D letters with red and cyan fringes; the "off" label: flat grey.
    TextStyle on;
    on.top = {1.0f, 1.0f, 1.0f};
    on.bottom = {0.9f, 0.9f, 0.95f};
    on.fringe = 4.0f;
    text(img, font, kOnOffLabel, inset(area(kOnOffLabel), 9.0, 10.0), "3-D", on);
    TextStyle off;
    off.top = off.bottom = {0.6f, 0.62f, 0.68f};
    text(img, font, kOffLabel, inset(area(kOffLabel), 9.0, 10.0), "2-D", off);
    // The marker: a bright ring, hollow so the button's word shows through.
    {
        const Box ring = inset(area(kStereoMarkerOn), 2.0, 2.0);
        paint(img, kStereoMarkerOn, area(kStereoMarkerOn), kGold, 1.0f, [&](float x, float y) {
            return std::fabs(boxDistance(x, y, inset(ring, 1.2, 1.2), 6.0f)) - 1.2f;
        });
    }
    // The back button, inside what both of its hit rectangles allow.
    {
        const auto widgetBox = [](const QuadMap& m, const Hit& h) {
            const Box b = drawable(h);
            return Box{(m.texX(b.x0) / kTexels), (m.texY(b.y0) / kTexels), (m.texX(b.x1) / kTexels),
                       (m.texY(b.y1) / kTexels)};
        };
        const Box st =
            intersect(widgetBox(kBackOnOptions, kBackOptions), widgetBox(kBackOnHelp, kBackHelp));
        const QuadMap& m = kBackOnOptions;
        const Box box{m.pixelX(static_cast<float>(st.x0 * kTexels)),
                      m.pixelY(static_cast<float>(st.y0 * kTexels)),
                      m.pixelX(static_cast<float>(st.x1 * kTexels)),
                      m.pixelY(static_cast<float>(st.y1 * kTexels))};
        const Box inner = labelBox(box);
        const char* const word[1] = {"BACK"};
        button(img, font, m, box, "BACK", kCool, commonSize(font, m, &inner, word, 1, 0.0f));
    }
    return toRgbaBytes(img);
}

}  // namespace gen
