#include "raster.h"

#include <algorithm>

namespace gen {

uint32_t hash3(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x27D4EB2Du;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h ^ (h >> 15)) * 0xC2B2AE35u;
    h ^= static_cast<uint32_t>(y) * 0x165667B1u;
    h = (h ^ (h >> 13)) * 0x9E3779B1u;
    return h ^ (h >> 16);
}

namespace {

inline int wrapIndex(int i, int period) {
    const int m = i % period;
    return m < 0 ? m + period : m;
}

inline float gradientDot(int ix, int iy, float dx, float dy, int period, uint32_t seed) {
    // Eight fixed gradient directions keep the noise isotropic enough and cheap.
    static const float gx[8] = {1.0f, -1.0f, 0.0f, 0.0f, 0.7071f, -0.7071f, 0.7071f, -0.7071f};
    static const float gy[8] = {0.0f, 0.0f, 1.0f, -1.0f, 0.7071f, 0.7071f, -0.7071f, -0.7071f};
    const uint32_t h = hash3(wrapIndex(ix, period), wrapIndex(iy, period), seed) & 7u;
    return gx[h] * dx + gy[h] * dy;
}

inline float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

void boxPass(float* data, int count, int stride, int radius, bool wrap, std::vector<float>& tmp) {
    tmp.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        tmp[static_cast<size_t>(i)] = data[static_cast<size_t>(i) * stride];
    const auto get = [&](int i) -> float {
        if (wrap) return tmp[static_cast<size_t>(wrapIndex(i, count))];
        return (i < 0 || i >= count) ? 0.0f : tmp[static_cast<size_t>(i)];
    };
    float sum = 0.0f;
    for (int i = -radius; i <= radius; ++i) sum += get(i);
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int i = 0; i < count; ++i) {
        data[static_cast<size_t>(i) * stride] = sum * scale;
        sum += get(i + radius + 1) - get(i - radius);
    }
}

}  // namespace

float periodicNoise(float x, float y, int period, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float dx = x - fx, dy = y - fy;
    const float n00 = gradientDot(ix, iy, dx, dy, period, seed);
    const float n10 = gradientDot(ix + 1, iy, dx - 1.0f, dy, period, seed);
    const float n01 = gradientDot(ix, iy + 1, dx, dy - 1.0f, period, seed);
    const float n11 = gradientDot(ix + 1, iy + 1, dx - 1.0f, dy - 1.0f, period, seed);
    const float u = fade(dx), v = fade(dy);
    return 1.4f * mix(mix(n00, n10, u), mix(n01, n11, u), v);
}

float periodicFbm(float x, float y, int period, int octaves, uint32_t seed, float gain) {
    float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * periodicNoise(x, y, period, seed + static_cast<uint32_t>(o) * 101u);
        norm += amplitude;
        amplitude *= gain;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
    }
    return sum / norm;
}

float sdCircle(float px, float py, float cx, float cy, float r) {
    return std::hypot(px - cx, py - cy) - r;
}

float sdSegment(float px, float py, float ax, float ay, float bx, float by) {
    const float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
    const float len2 = bax * bax + bay * bay;
    const float h = len2 > 0.0f ? clamp01((pax * bax + pay * bay) / len2) : 0.0f;
    return std::hypot(pax - bax * h, pay - bay * h);
}

float sdRoundBox(float px, float py, float cx, float cy, float hw, float hh, float r) {
    const float qx = std::fabs(px - cx) - hw + r, qy = std::fabs(py - cy) - hh + r;
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0f) - r;
}

float sdPolygon(float px, float py, const float* xy, int count) {
    float d = (px - xy[0]) * (px - xy[0]) + (py - xy[1]) * (py - xy[1]);
    float sign = 1.0f;
    for (int i = 0, j = count - 1; i < count; j = i, ++i) {
        const float vix = xy[2 * i], viy = xy[2 * i + 1], vjx = xy[2 * j], vjy = xy[2 * j + 1];
        const float ex = vjx - vix, ey = vjy - viy, wx = px - vix, wy = py - viy;
        const float t = clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
        const float bx = wx - ex * t, by = wy - ey * t;
        d = std::min(d, bx * bx + by * by);
        const bool c1 = py >= viy, c2 = py<vjy, c3 = ex * wy> ey * wx;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * std::sqrt(d);
}

float Gray::sample(float x, float y) const {
    x = std::clamp(x, 0.0f, static_cast<float>(w - 1));
    y = std::clamp(y, 0.0f, static_cast<float>(h - 1));
    const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, w - 1), y1 = std::min(y0 + 1, h - 1);
    const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
    return mix(mix(at(x0, y0), at(x1, y0), fx), mix(at(x0, y1), at(x1, y1), fx), fy);
}

namespace {

// Visits every pixel of the clipped box with its coverage by the shape `distance` describes.
template <typename Combine>
void paintCovered(Gray& img, int x0, int y0, int x1, int y1,
                  const std::function<float(float, float)>& distance, Combine combine) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, img.w);
    y1 = std::min(y1, img.h);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float c =
                coverage(distance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f));
            combine(img.at(x, y), c);
        }
    }
}

}  // namespace

void paintMax(Gray& img, int x0, int y0, int x1, int y1, float value,
              const std::function<float(float, float)>& distance) {
    paintCovered(img, x0, y0, x1, y1, distance, [value](float& texel, float c) {
        if (c > 0.0f) texel = std::max(texel, value * c);
    });
}

void paintAdd(Gray& img, int x0, int y0, int x1, int y1, float value,
              const std::function<float(float, float)>& distance) {
    paintCovered(img, x0, y0, x1, y1, distance,
                 [value](float& texel, float c) { texel += value * c; });
}

void blur(Gray& img, int radius, bool wrap) {
    if (radius <= 0) return;
    std::vector<float> tmp;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < img.h; ++y) boxPass(&img.at(0, y), img.w, 1, radius, wrap, tmp);
        for (int x = 0; x < img.w; ++x) boxPass(&img.at(x, 0), img.h, img.w, radius, wrap, tmp);
    }
}

void stampMax(Gray& dst, const Gray& src, int x, int y, float gain) {
    for (int sy = 0; sy < src.h; ++sy) {
        const int dy = y + sy;
        if (dy < 0 || dy >= dst.h) continue;
        for (int sx = 0; sx < src.w; ++sx) {
            const int dx = x + sx;
            if (dx < 0 || dx >= dst.w) continue;
            dst.at(dx, dy) = std::max(dst.at(dx, dy), src.at(sx, sy) * gain);
        }
    }
}

void keepOnly(Gray& img, int x0, int y0, int x1, int y1) {
    for (int y = 0; y < img.h; ++y) {
        for (int x = 0; x < img.w; ++x) {
            if (x < x0 || x >= x1 || y < y0 || y >= y1) img.at(x, y) = 0.0f;
        }
    }
}

std::vector<uint8_t> toBytes(const Gray& img) {
    std::vector<uint8_t> out(img.v.size());
    for (size_t i = 0; i < img.v.size(); ++i) {
        out[i] = static_cast<uint8_t>(std::lround(clamp01(img.v[i]) * 255.0f));
    }
    return out;
}

Colour::Colour(int width, int height)
    : w(width),
      h(height),
      r(static_cast<size_t>(width) * height),
      g(static_cast<size_t>(width) * height),
      b(static_cast<size_t>(width) * height) {}

void Colour::over(int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= w || y >= h || a <= 0.0f) return;
    const size_t i = index(x, y);
    r[i] = mix(r[i], c.r, a);
    g[i] = mix(g[i], c.g, a);
    b[i] = mix(b[i], c.b, a);
}

void Colour::add(int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= w || y >= h || a <= 0.0f) return;
    const size_t i = index(x, y);
    r[i] += c.r * a;
    g[i] += c.g * a;
    b[i] += c.b * a;
}

std::vector<uint8_t> toRgbaBytes(const Colour& img) {
    std::vector<uint8_t> out(static_cast<size_t>(img.w) * img.h * 4);
    for (size_t i = 0; i < img.r.size(); ++i) {
        out[4 * i + 0] = static_cast<uint8_t>(std::lround(clamp01(img.r[i]) * 255.0f));
        out[4 * i + 1] = static_cast<uint8_t>(std::lround(clamp01(img.g[i]) * 255.0f));
        out[4 * i + 2] = static_cast<uint8_t>(std::lround(clamp01(img.b[i]) * 255.0f));
        out[4 * i + 3] = 255;
    }
    return out;
}

}  // namespace gen
