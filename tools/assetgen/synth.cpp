#include "synth.h"

#include <algorithm>

namespace gen {

namespace {

// The residual that turns a naive step into a band-limited one.
inline float polyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

}  // namespace

float Oscillator::advance(float hz) {
    const float p = phase_;
    phase_ += hz * kDt;
    phase_ -= std::floor(phase_);
    return p;
}

float Oscillator::sine(float hz) {
    return std::sin(2.0f * kPi * advance(hz));
}

float Oscillator::saw(float hz) {
    const float dt = std::min(hz * kDt, 0.5f);
    const float p = advance(hz);
    return 2.0f * p - 1.0f - polyBlep(p, dt);
}

float Oscillator::square(float hz, float width) {
    const float dt = std::min(hz * kDt, 0.5f);
    const float p = advance(hz);
    float v = p < width ? 1.0f : -1.0f;
    v += polyBlep(p, dt);
    float q = p - width;
    q -= std::floor(q);
    v -= polyBlep(q, dt);
    return v;
}

float Oscillator::triangle(float hz) {
    const float p = advance(hz);
    return 1.0f - 4.0f * std::fabs(p - 0.5f);
}

void Filter::tune(float cutoffHz, float resonance) {
    cutoffHz = std::clamp(cutoffHz, 20.0f, 0.45f * kRate);
    g_ = std::tan(kPi * cutoffHz * kDt);
    k_ = 1.0f / std::max(resonance, 0.5f);
    a1_ = 1.0f / (1.0f + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

void Filter::step(float x) {
    const float v3 = x - ic2_;
    const float v1 = a1_ * ic1_ + a2_ * v3;
    const float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0f * v1 - ic1_;
    ic2_ = 2.0f * v2 - ic2_;
    low_ = v2;
    band_ = v1;
    high_ = x - k_ * v1 - v2;
}

float Filter::lowpass(float x) {
    step(x);
    return low_;
}
float Filter::bandpass(float x) {
    step(x);
    return band_;
}
float Filter::highpass(float x) {
    step(x);
    return high_;
}

Reverb::Reverb(float size, float damping) : feedback_(0.7f + 0.28f * size), damping_(damping) {
    const int combLengths[4] = {557, 593, 641, 677};
    const int passLengths[2] = {113, 277};
    for (int i = 0; i < 4; ++i) combs_[i].data.assign(static_cast<size_t>(combLengths[i]), 0.0f);
    for (int i = 0; i < 2; ++i) passes_[i].data.assign(static_cast<size_t>(passLengths[i]), 0.0f);
}

float Reverb::process(float x) {
    float out = 0.0f;
    for (Line& c : combs_) {
        const float y = c.data[c.pos];
        c.store = y * (1.0f - damping_) + c.store * damping_;
        c.data[c.pos] = x + c.store * feedback_;
        c.pos = (c.pos + 1) % c.data.size();
        out += y;
    }
    out *= 0.25f;
    for (Line& a : passes_) {
        const float delayed = a.data[a.pos];
        const float y = -out + delayed;
        a.data[a.pos] = out + delayed * 0.5f;
        a.pos = (a.pos + 1) % a.data.size();
        out = y;
    }
    return out;
}

Echo::Echo(float seconds, float feedback, float tone)
    : data_(static_cast<size_t>(samplesFor(seconds)), 0.0f), feedback_(feedback), tone_(tone) {}

float Echo::process(float x) {
    const float y = data_[pos_];
    store_ = y * (1.0f - tone_) + store_ * tone_;
    data_[pos_] = x + store_ * feedback_;
    pos_ = (pos_ + 1) % data_.size();
    return y;
}

void mixInto(Signal& mix, const Signal& voice, int start, float gain, bool wrap) {
    const int n = static_cast<int>(mix.size());
    for (size_t i = 0; i < voice.size(); ++i) {
        int at = start + static_cast<int>(i);
        if (wrap) {
            at %= n;
            if (at < 0) at += n;
        } else if (at < 0 || at >= n) {
            continue;
        }
        mix[static_cast<size_t>(at)] += voice[i] * gain;
    }
}

std::vector<int16_t> finish(Signal signal, float peak, bool loops) {
    const size_t n = signal.size();
    if (n == 0) return {};
    // A gentle one-pole highpass; a loop runs it twice, the first pass only warming the filter
    // up on the loop's own end, so the state at its seam is settled.
    const float coefficient = std::exp(-2.0f * kPi * 20.0f * kDt);
    float previousIn = 0.0f, previousOut = 0.0f;
    for (int pass = loops ? 0 : 1; pass < 2; ++pass) {
        for (size_t i = 0; i < n; ++i) {
            const float x = signal[i];
            const float y = coefficient * (previousOut + x - previousIn);
            previousIn = x;
            previousOut = y;
            if (pass == 1) signal[i] = y;
        }
    }
    double mean = 0.0;
    for (const float v : signal) mean += v;
    mean /= static_cast<double>(n);
    float top = 0.0f;
    for (float& v : signal) {
        v -= static_cast<float>(mean);
        top = std::max(top, std::fabs(v));
    }
    if (!loops) {
        const size_t fade = std::min(n, static_cast<size_t>(samplesFor(0.012f)));
        for (size_t i = 0; i < fade; ++i)
            signal[n - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
    }
    const float gain = top > 0.0f ? peak / top : 0.0f;
    std::vector<int16_t> out(n);
    for (size_t i = 0; i < n; ++i) {
        const float v = std::clamp(signal[i] * gain, -1.0f, 1.0f);
        out[i] = static_cast<int16_t>(std::lround(v * 32767.0f));
    }
    return out;
}

}  // namespace gen
