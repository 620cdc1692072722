// The game's sound effects: six beam shots of rising weight, two explosions, the pickup chime
// and the missile salvo. The music lives in music.cpp.
#include <algorithm>
#include <cmath>

#include "assets.h"
#include "assets/asset_files.h"
#include "synth.h"

namespace gen {

Signal makeOpeningMusic();
Signal makeGameMusic();

namespace {

// One beam shot. Level 0 is a light, high "pew"; each level drops the pitch, adds a detuned
// partner, a sub-octave body and a longer tail.
Signal laser(int level) {
    const float l = static_cast<float>(level) / 5.0f;
    const float length = 0.2f + 0.05f * static_cast<float>(level);
    const int n = samplesFor(length);
    Signal out(static_cast<size_t>(n));
    Oscillator main(0.0f), partner(0.37f), sub(0.0f);
    Filter tone, air;
    Noise noise(1000u + static_cast<uint64_t>(level));
    const float startHz = 1900.0f - 900.0f * l, endHz = 220.0f - 120.0f * l;
    const float sweep = 0.05f + 0.05f * l;  // seconds per e-fold of the pitch drop
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) * kDt;
        const float hz = endHz + (startHz - endHz) * std::exp(-t / sweep);
        if (i % 8 == 0) {
            tone.tune(1200.0f + 7000.0f * std::exp(-t / (0.06f + 0.05f * l)), 2.5f + 2.0f * l);
            air.tune(4000.0f, 0.8f);
        }
        float v = 0.6f * main.square(hz, 0.3f);
        v += (0.15f + 0.5f * l) * partner.saw(hz * 1.012f);
        v = tone.lowpass(v);
        v += (0.7f * l) * sub.sine(hz * 0.5f) * std::exp(-t / (0.12f + 0.1f * l));
        v += 0.5f * air.bandpass(noise.next()) * std::exp(-t / 0.012f);
        const float envelope = pluck(t, 0.002f, length * (0.22f + 0.1f * l));
        out[static_cast<size_t>(i)] = v * envelope;
    }
    return out;
}

// A burst of filtered noise with a falling cutoff over a low thump, with crackling debris.
Signal explosion(bool rich) {
    const float length = rich ? 1.9f : 1.4f;
    const int n = samplesFor(length);
    Signal out(static_cast<size_t>(n));
    Noise noise(rich ? 77u : 55u), crackleNoise(rich ? 78u : 56u);
    Rng sparks(rich ? 91u : 90u);
    Filter body, rumble, crackle;
    Oscillator thump, thump2;
    float crackleLevel = 0.0f;
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) * kDt;
        if (i % 8 == 0) {
            body.tune(150.0f + 3200.0f * std::exp(-t / 0.18f), 0.9f);
            rumble.tune(90.0f + 200.0f * std::exp(-t / 0.5f), 1.2f);
            crackle.tune(2500.0f, 1.5f);
        }
        const float hiss = noise.next();
        float v = body.lowpass(hiss) * pluck(t, 0.004f, 0.32f);
        v += 1.6f * rumble.lowpass(hiss) * pluck(t, 0.01f, rich ? 0.75f : 0.55f);
        const float drop = 38.0f + 70.0f * std::exp(-t / 0.08f);
        v += 0.9f * thump.sine(drop) * pluck(t, 0.003f, 0.22f);
        // Debris: random clicks, thinning out.
        if (sparks.unit() < 0.004f * std::exp(-t / (rich ? 0.7f : 0.4f)))
            crackleLevel = sparks.range(0.4f, 1.0f);
        crackleLevel *= 0.993f;
        v += 0.6f * crackle.bandpass(crackleNoise.next()) * crackleLevel;
        if (rich) {
            // A second, deeper blast a moment later and a glittering ring of metal.
            const float t2 = t - 0.14f;
            if (t2 > 0.0f)
                v += 0.8f * thump2.sine(30.0f + 45.0f * std::exp(-t2 / 0.1f)) *
                     pluck(t2, 0.004f, 0.35f);
            const float partials[4] = {523.0f, 1108.0f, 1661.0f, 2489.0f};
            for (int k = 0; k < 4; ++k) {
                v += 0.09f / static_cast<float>(k + 1) *
                     std::sin(2.0f * kPi * partials[k] * t + static_cast<float>(k)) *
                     pluck(t - 0.05f, 0.02f, 0.45f - 0.07f * static_cast<float>(k));
            }
        }
        out[static_cast<size_t>(i)] = v * (1.0f - smoothstep(length - 0.3f, length, t));
    }
    return out;
}

// A bright rising arpeggio of bell tones over a short shimmer.
Signal powerUp() {
    const int n = samplesFor(0.48f);
    Signal out(static_cast<size_t>(n));
    const float notes[4] = {84.0f, 88.0f, 91.0f, 96.0f};  // C6 E6 G6 C7
    Filter shimmerTone;
    Noise noise(31u);
    Oscillator sweep;
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) * kDt;
        float v = 0.0f;
        for (int k = 0; k < 4; ++k) {
            const float start = 0.055f * static_cast<float>(k);
            const float u = t - start;
            if (u < 0.0f) continue;
            const float hz = midiHz(notes[k]);
            const float bell = std::sin(2.0f * kPi * hz * u) +
                               0.3f * std::sin(2.0f * kPi * hz * 2.01f * u) +
                               0.12f * std::sin(2.0f * kPi * hz * 3.98f * u) * std::exp(-u / 0.03f);
            v += bell * pluck(u, 0.003f, 0.11f + 0.03f * static_cast<float>(k));
        }
        if (i % 8 == 0) shimmerTone.tune(3000.0f + 5000.0f * t / 0.48f, 3.0f);
        v += 0.25f * shimmerTone.bandpass(noise.next()) * swell(t, 0.15f, 0.2f, 0.08f);
        v += 0.2f * sweep.triangle(400.0f + 1400.0f * t / 0.48f) * swell(t, 0.05f, 0.25f, 0.06f);
        out[static_cast<size_t>(i)] = v;
    }
    return out;
}

// Five missiles leaving in quick succession: a thump and a rising whoosh each.
Signal spreadCannon() {
    const int n = samplesFor(1.3f);
    Signal out(static_cast<size_t>(n));
    for (int m = 0; m < 5; ++m) {
        const float start = 0.065f * static_cast<float>(m);
        Signal shot(static_cast<size_t>(samplesFor(1.3f - start)));
        Noise noise(300u + static_cast<uint64_t>(m));
        Filter whoosh, thumpTone;
        Oscillator thump;
        for (size_t i = 0; i < shot.size(); ++i) {
            const float t = static_cast<float>(i) * kDt;
            if (i % 8 == 0) {
                whoosh.tune(500.0f + 3500.0f * (1.0f - std::exp(-t / 0.25f)) * (1.0f - 0.5f * t),
                            2.0f);
                thumpTone.tune(300.0f, 0.7f);
            }
            float v = whoosh.bandpass(noise.next()) * pluck(t, 0.015f, 0.28f) * 1.3f;
            v += 0.8f * thump.sine(50.0f + 120.0f * std::exp(-t / 0.03f)) * pluck(t, 0.002f, 0.08f);
            v += 0.3f * thumpTone.lowpass(noise.next()) * pluck(t, 0.001f, 0.03f);
            shot[i] = v * (1.0f - 0.1f * static_cast<float>(m));
        }
        mixInto(out, shot, samplesFor(start), 1.0f, false);
    }
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) * kDt;
        out[static_cast<size_t>(i)] *= 1.0f - smoothstep(1.0f, 1.3f, t);
    }
    return out;
}

SoundClip clip(Signal signal, float peak, bool loops = false) {
    SoundClip c;
    c.rate = kRate;
    c.samples = finish(std::move(signal), peak, loops);
    return c;
}

}  // namespace

std::vector<SoundClip> makeAllSounds() {
    std::vector<SoundClip> all(soundFileCount);
    for (int level = 0; level < 6; ++level) {
        all[SoundFileLaser1 + level] = clip(laser(level), 0.5f + 0.06f * static_cast<float>(level));
    }
    all[SoundFileExplode1] = clip(explosion(false), 0.85f);
    all[SoundFileExplode2] = clip(explosion(true), 0.9f);
    all[SoundFilePowerUp] = clip(powerUp(), 0.7f);
    all[SoundFileSpreadCannon] = clip(spreadCannon(), 0.8f);
    all[SoundFileLoop0] = clip(makeOpeningMusic(), 0.8f);
    all[SoundFileLoop1] = clip(makeGameMusic(), 0.8f, true);
    return all;
}

}  // namespace gen
