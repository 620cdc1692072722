// Drawing helpers for the asset generator: seeded random numbers, tileable noise, signed
// distance shapes with one-texel anti-aliasing, blurs, and grey and colour canvases.
// Everything is single-threaded and seeded, so the same build writes the same bytes each run.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace gen {

constexpr float kPi = 3.14159265358979f;

// SplitMix64: small, fast and fully determined by its seed.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    float unit() { return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f); }
    // Uniform in [a, b).
    float range(float a, float b) { return a + (b - a) * unit(); }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }

  private:
    uint64_t state_;
};

uint32_t hash3(int x, int y, uint32_t seed);

// Gradient noise in about [-1, 1] that repeats every `period` lattice cells in x and y.
float periodicNoise(float x, float y, int period, uint32_t seed);
// Fractal sum of periodicNoise; the base period doubles with every octave, so the sum tiles
// with the base period.
float periodicFbm(float x, float y, int period, int octaves, uint32_t seed, float gain = 0.5f);

inline float clamp01(float v) {
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}
inline float smoothstep(float a, float b, float v) {
    const float t = clamp01((v - a) / (b - a));
    return t * t * (3.0f - 2.0f * t);
}
inline float mix(float a, float b, float t) {
    return a + (b - a) * t;
}
// Coverage of a pixel whose centre lies at signed distance d (negative inside).
inline float coverage(float d) {
    return clamp01(0.5f - d);
}

// Signed distances, in the units of the point.
float sdCircle(float px, float py, float cx, float cy, float r);
float sdSegment(float px, float py, float ax, float ay, float bx, float by);
float sdRoundBox(float px, float py, float cx, float cy, float hw, float hh, float r);
float sdPolygon(float px, float py, const float* xy, int count);

// A single-channel image of floats, normally 0..1, square or not.
struct Gray {
    int w = 0, h = 0;
    std::vector<float> v;
    Gray() = default;
    Gray(int width, int height) : w(width), h(height), v(static_cast<size_t>(width) * height) {}
    float& at(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
    float at(int x, int y) const { return v[static_cast<size_t>(y) * w + x]; }
    // Bilinear sample with clamping at the edges.
    float sample(float x, float y) const;
};

// Paints `value` x coverage into the box [x0, x1) x [y0, y1) with max(), where coverage comes
// from a signed distance evaluated at each pixel centre (in pixel units).
void paintMax(Gray& img, int x0, int y0, int x1, int y1, float value,
              const std::function<float(float, float)>& distance);
void paintAdd(Gray& img, int x0, int y0, int x1, int y1, float value,
              const std::function<float(float, float)>& distance);

// Three box passes approximate a Gaussian of the given radius. `wrap` blurs a tiling image.
void blur(Gray& img, int radius, bool wrap = false);

// Copies `src` into `dst` at (x, y) combining with max().
void stampMax(Gray& dst, const Gray& src, int x, int y, float gain = 1.0f);

// Clears everything outside the box [x0, x1) x [y0, y1).
void keepOnly(Gray& img, int x0, int y0, int x1, int y1);

// 8-bit luminance texels, rounded and clamped.
std::vector<uint8_t> toBytes(const Gray& img);

struct Rgb {
    float r, g, b;
};

// A colour image, channels 0..1.
struct Colour {
    int w = 0, h = 0;
    std::vector<float> r, g, b;
    Colour(int width, int height);
    size_t index(int x, int y) const { return static_cast<size_t>(y) * w + x; }
    // Lays colour over what is there with opacity a.
    void over(int x, int y, Rgb c, float a);
    void add(int x, int y, Rgb c, float a);
};

// RGBA texels with alpha 255 everywhere.
std::vector<uint8_t> toRgbaBytes(const Colour& img);

}  // namespace gen
