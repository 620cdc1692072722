// Small synthesis kit for the game's sounds: band-limited oscillators, a state-variable filter,
// envelopes, an echo and a reverb. Mono floats at one fixed rate.
#pragma once

#include <cmath>
#include <vector>

#include "raster.h"

namespace gen {

constexpr int kRate = 22050;
constexpr float kDt = 1.0f / static_cast<float>(kRate);

using Signal = std::vector<float>;

inline int samplesFor(float seconds) {
    return static_cast<int>(std::lround(seconds * kRate));
}
inline float midiHz(float note) {
    return 440.0f * std::exp2((note - 69.0f) / 12.0f);
}

// Naive waveforms with a polynomial band-limited step to keep the top end clean.
class Oscillator {
  public:
    explicit Oscillator(float phase = 0.0f) : phase_(phase) {}
    float sine(float hz);
    float saw(float hz);
    float square(float hz, float width = 0.5f);
    float triangle(float hz);

  private:
    float advance(float hz);
    float phase_;
};

// Topology-preserving state-variable filter (zero-delay feedback), stable under fast sweeps.
class Filter {
  public:
    // Updates the coefficients; cheap enough to call every few samples.
    void tune(float cutoffHz, float resonance);
    float lowpass(float x);
    float bandpass(float x);
    float highpass(float x);

  private:
    void step(float x);
    float g_ = 0.1f, k_ = 1.4f, a1_ = 0, a2_ = 0, a3_ = 0;
    float ic1_ = 0, ic2_ = 0, low_ = 0, band_ = 0, high_ = 0;
};

// Exponential decay from 1 with a short linear attack.
inline float pluck(float t, float attack, float decay) {
    if (t < 0.0f) return 0.0f;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

// Attack, hold at 1 until `length`, then release.
inline float swell(float t, float attack, float length, float release) {
    if (t < 0.0f) return 0.0f;
    const float rise = t < attack ? t / attack : 1.0f;
    const float fall = t < length ? 1.0f : std::exp(-(t - length) / release);
    return rise * rise * fall;
}

// A white noise source in [-1, 1].
class Noise {
  public:
    explicit Noise(uint64_t seed) : rng_(seed) {}
    float next() { return rng_.unit() * 2.0f - 1.0f; }

  private:
    Rng rng_;
};

// Schroeder-style reverb: four damped combs into two all-passes.
class Reverb {
  public:
    Reverb(float size, float damping);
    float process(float x);

  private:
    struct Line {
        std::vector<float> data;
        size_t pos = 0;
        float store = 0;
    };
    Line combs_[4], passes_[2];
    float feedback_, damping_;
};

// Feedback echo with a darkening repeat.
class Echo {
  public:
    Echo(float seconds, float feedback, float tone);
    float process(float x);

  private:
    std::vector<float> data_;
    size_t pos_ = 0;
    float feedback_, tone_, store_ = 0;
};

// Adds `voice` into `mix` at `start`, wrapping around the end when `wrap` (for loops), else
// dropping what falls past it.
void mixInto(Signal& mix, const Signal& voice, int start, float gain, bool wrap);

// Removes the mean, highpasses below ~20 Hz, fades the last milliseconds out (unless the clip
// loops) and scales the peak to `peak` of full scale.
std::vector<int16_t> finish(Signal signal, float peak, bool loops);

}  // namespace gen
