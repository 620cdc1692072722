// The music: a short opening that builds up for 10.5 s and a 16-bar game loop in A minor at
// 100 beats per minute (pad chords, plucked bass, drums, a sparkling arpeggio and a lead
// melody with echo and reverb). The loop is rendered on a ring: every note's tail and the
// effects' tails wrap round to its start, so the seam is as smooth as any other moment.
#include <algorithm>
#include <cmath>

#include "synth.h"

namespace gen {

namespace {

constexpr float kBeat = 0.6f;  // 100 beats per minute
const int kBeatSamples = samplesFor(kBeat);

struct Chord {
    float bass;      // MIDI note of the bass root
    float tones[4];  // pad voicing
};

const Chord kAm{45, {57, 60, 64, 71}};
const Chord kF{41, {53, 57, 60, 64}};
const Chord kC{48, {55, 59, 60, 64}};
const Chord kG{43, {55, 59, 62, 64}};
const Chord kDm{38, {53, 57, 60, 62}};
const Chord kE{40, {52, 56, 59, 64}};

// One chord every two bars.
const Chord* const kLoopChords[8] = {&kAm, &kF, &kC, &kG, &kAm, &kF, &kDm, &kE};

struct Note {
    float beat, length, midi;
};

// The lead melody over the 16 bars (beats from the loop start).
const Note kMelody[] = {
    {0, 1.5f, 76},  {1.5f, 0.5f, 74},  {2, 1, 72},        {3, 1, 74},  {4, 3, 76},  {7, 1, 79},
    {8, 1.5f, 81},  {9.5f, 0.5f, 79},  {10, 1, 77},       {11, 1, 76}, {12, 2, 72}, {14, 1, 74},
    {15, 1, 76},    {16, 1.5f, 79},    {17.5f, 0.5f, 76}, {18, 2, 72}, {20, 1, 71}, {21, 1, 72},
    {22, 2, 76},    {24, 1.5f, 74},    {25.5f, 0.5f, 72}, {26, 2, 71}, {28, 3, 67}, {31, 1, 71},
    {32, 1.5f, 72}, {33.5f, 0.5f, 71}, {34, 1, 69},       {35, 1, 72}, {36, 2, 76}, {38, 1, 79},
    {39, 1, 81},    {40, 2, 84},       {42, 1, 81},       {43, 1, 79}, {44, 3, 77}, {47, 1, 76},
    {48, 1.5f, 74}, {49.5f, 0.5f, 77}, {50, 2, 81},       {52, 1, 79}, {53, 1, 77}, {54, 2, 74},
    {56, 1.5f, 76}, {57.5f, 0.5f, 80}, {58, 2, 83},       {60, 2, 80}, {62, 1, 76}, {63, 1, 80},
};

// Warm pad: three detuned saws per tone through a slowly breathing lowpass.
Signal pad(const float* tones, int count, float seconds, float brightness, uint32_t seed) {
    const float release = 1.2f;
    const int n = samplesFor(seconds + release * 3.0f);
    Signal out(static_cast<size_t>(n));
    Rng rng(seed);
    for (int k = 0; k < count; ++k) {
        const float hz = midiHz(tones[k]);
        Oscillator a(rng.unit()), b(rng.unit()), c(rng.unit());
        Filter filter;
        for (int i = 0; i < n; ++i) {
            const float t = static_cast<float>(i) * kDt;
            if (i % 16 == 0) {
                const float breathe =
                    0.5f + 0.5f * std::sin(2.0f * kPi * t / 4.8f + static_cast<float>(k));
                filter.tune(brightness * (500.0f + 700.0f * breathe), 1.1f);
            }
            const float v = a.saw(hz * 0.996f) + b.saw(hz) + c.saw(hz * 1.0045f);
            out[static_cast<size_t>(i)] += filter.lowpass(v) * swell(t, 0.6f, seconds, release);
        }
    }
    return out;
}

// Round plucked bass: saw and sub sine with a snapping filter envelope.
Signal bass(float midi, float seconds, float accent) {
    const int n = samplesFor(seconds + 0.15f);
    Signal out(static_cast<size_t>(n));
    const float hz = midiHz(midi);
    Oscillator saw, sub;
    Filter filter;
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) * kDt;
        if (i % 8 == 0)
            filter.tune(180.0f + (900.0f + 900.0f * accent) * std::exp(-t / 0.07f), 1.6f);
        const float v = filter.lowpass(saw.saw(hz)) + 0.8f * sub.sine(hz);
        const float gate = t < seconds ? 1.0f : std::exp(-(t - seconds) / 0.03f);
        out[static_cast<size_t>(i)] = v * pluck(t, 0.004f, 0.25f) * gate * (0.8f + 0.2f * accent);
    }
    return out;
}

// Glassy pluck for the arpeggio: triangle plus a quiet fifth-harmonic shimmer.
Signal sparkle(float midi, float velocity) {
    const int n = samplesFor(0.45f);
    Signal out(static_cast<size_t>(n));
    const float hz = midiHz(midi);
    Oscillator body, bell;
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) * kDt;
        const float v = body.triangle(hz) + 0.3f * bell.sine(hz * 3.0f) * std::exp(-t / 0.05f);
        out[static_cast<size_t>(i)] = v * pluck(t, 0.002f, 0.12f) * velocity;
    }
    return out;
}

// Singing lead: square and saw under a soft filter, with delayed vibrato.
Signal lead(float midi, float seconds) {
    const int n = samplesFor(seconds + 0.4f);
    Signal out(static_cast<size_t>(n));
    const float hz = midiHz(midi);
    Oscillator sq, sw, vibrato;
    Filter filter;
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) * kDt;
        const float depth = 0.006f * smoothstep(0.15f, 0.5f, t);
        const float f = hz * (1.0f + depth * vibrato.sine(5.5f));
        if (i % 8 == 0) filter.tune(1400.0f + 1800.0f * std::exp(-t / 0.15f), 1.3f);
        const float v = filter.lowpass(0.6f * sq.square(f, 0.42f) + 0.5f * sw.saw(f * 1.003f));
        out[static_cast<size_t>(i)] = v * swell(t, 0.025f, seconds * 0.92f, 0.12f);
    }
    return out;
}

Signal kick() {
    const int n = samplesFor(0.45f);
    Signal out(static_cast<size_t>(n));
    Oscillator body;
    Noise click(5u);
    Filter clickTone;
    clickTone.tune(3000.0f, 0.7f);
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) * kDt;
        const float hz = 45.0f + 110.0f * std::exp(-t / 0.035f);
        float v = body.sine(hz) * pluck(t, 0.001f, 0.16f);
        v += 0.3f * clickTone.lowpass(click.next()) * std::exp(-t / 0.004f);
        out[static_cast<size_t>(i)] = v;
    }
    return out;
}

Signal snare(uint64_t seed) {
    const int n = samplesFor(0.35f);
    Signal out(static_cast<size_t>(n));
    Noise noise(seed);
    Oscillator tone;
    Filter rattle, crack;
    rattle.tune(4500.0f, 0.8f);
    crack.tune(1800.0f, 1.2f);
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) * kDt;
        const float hiss = noise.next();
        float v = 0.8f * rattle.highpass(hiss) * pluck(t, 0.001f, 0.09f);
        v += 0.5f * crack.bandpass(hiss) * pluck(t, 0.001f, 0.04f);
        v += 0.5f * tone.sine(190.0f - 30.0f * t) * pluck(t, 0.001f, 0.05f);
        out[static_cast<size_t>(i)] = v;
    }
    return out;
}

Signal hat(bool open, uint64_t seed) {
    const int n = samplesFor(open ? 0.35f : 0.08f);
    Signal out(static_cast<size_t>(n));
    Noise noise(seed);
    Filter high, band;
    high.tune(7000.0f, 0.7f);
    band.tune(9500.0f, 2.0f);
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) * kDt;
        const float hiss = noise.next();
        const float v = high.highpass(hiss) * 0.6f + band.bandpass(hiss) * 0.5f;
        out[static_cast<size_t>(i)] = v * pluck(t, 0.0005f, open ? 0.12f : 0.022f);
    }
    return out;
}

// A rising wash of filtered noise, for the build-up.
Signal riser(float seconds) {
    const int n = samplesFor(seconds);
    Signal out(static_cast<size_t>(n));
    Noise noise(808u);
    Filter filter;
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) * kDt, k = t / seconds;
        if (i % 8 == 0) filter.tune(300.0f + 6000.0f * k * k, 3.0f);
        out[static_cast<size_t>(i)] = filter.bandpass(noise.next()) * k * k;
    }
    return out;
}

// The sends and the dry sum of one piece.
struct Buses {
    Signal dry, reverb, echo;
    explicit Buses(int n)
        : dry(static_cast<size_t>(n)),
          reverb(static_cast<size_t>(n)),
          echo(static_cast<size_t>(n)) {}
    void add(const Signal& voice, int at, float gain, float reverbSend, float echoSend, bool wrap) {
        mixInto(dry, voice, at, gain, wrap);
        if (reverbSend > 0.0f) mixInto(reverb, voice, at, gain * reverbSend, wrap);
        if (echoSend > 0.0f) mixInto(echo, voice, at, gain * echoSend, wrap);
    }
    // Runs the effects; a loop runs them twice so their tails wrap into its start.
    Signal render(bool loops) {
        Reverb room(0.85f, 0.35f);
        Echo delay(kBeat * 0.75f, 0.38f, 0.4f);
        const size_t n = dry.size();
        Signal out(n);
        for (int pass = loops ? 0 : 1; pass < 2; ++pass) {
            for (size_t i = 0; i < n; ++i) {
                const float echoed = delay.process(echo[i]);
                const float wet = room.process(reverb[i] + 0.5f * echoed);
                if (pass == 1) out[i] = dry[i] + 0.9f * echoed + 1.1f * wet;
            }
        }
        return out;
    }
};

int beatAt(float beat) {
    return static_cast<int>(std::lround(beat * static_cast<float>(kBeatSamples)));
}

// One bar of drums starting at `bar` (in beats), with a snare fill when `fill`.
void drumBar(Buses& b, const Signal& kickSound, const Signal* snares, const Signal& closed,
             const Signal& open, float bar, bool fill, float level, bool wrap) {
    const int kicks[3] = {0, 8, 10};  // sixteenths
    for (const int k : kicks)
        b.add(kickSound, beatAt(bar + static_cast<float>(k) * 0.25f), 0.95f * level, 0.0f, 0.0f,
              wrap);
    b.add(snares[0], beatAt(bar + 1.0f), 0.55f * level, 0.25f, 0.0f, wrap);
    b.add(snares[1], beatAt(bar + 3.0f), 0.55f * level, 0.25f, 0.0f, wrap);
    for (int s = 0; s < 8; ++s) {
        const float accent = (s % 2 == 1) ? 1.0f : 0.6f;
        const Signal& h = (s == 7 && !fill) ? open : closed;
        b.add(h, beatAt(bar + static_cast<float>(s) * 0.5f), 0.16f * accent * level, 0.05f, 0.0f,
              wrap);
    }
    if (fill) {
        for (int s = 0; s < 6; ++s) {
            const float v = 0.2f + 0.07f * static_cast<float>(s);
            b.add(snares[s % 2], beatAt(bar + 2.5f + static_cast<float>(s) * 0.25f), v * level,
                  0.3f, 0.0f, wrap);
        }
    }
}

// The arpeggio over one chord for `beats` beats, in sixteenths, an octave above the pad.
void arpeggio(Buses& b, const Chord& chord, float start, float beats, float level, bool wrap) {
    const int order[8] = {0, 1, 2, 3, 2, 1, 3, 2};
    const int steps = static_cast<int>(beats * 4.0f);
    for (int s = 0; s < steps; ++s) {
        const float midi = chord.tones[order[s % 8]] + 12.0f;
        const float velocity = (s % 4 == 0) ? 1.0f : 0.65f;
        b.add(sparkle(midi, velocity), beatAt(start + static_cast<float>(s) * 0.25f), 0.11f * level,
              0.5f, 0.35f, wrap);
    }
}

// Eighth-note bass line over one bar.
void bassBar(Buses& b, const Chord& chord, float bar, float level, bool wrap) {
    const float offsets[8] = {0, 0, 12, 0, 0, 7, 12, 0};
    for (int s = 0; s < 8; ++s) {
        const float accent = (s == 0 || s == 3 || s == 6) ? 1.0f : 0.4f;
        b.add(bass(chord.bass + offsets[s], kBeat * 0.42f, accent),
              beatAt(bar + static_cast<float>(s) * 0.5f), 0.42f * level, 0.0f, 0.0f, wrap);
    }
}

}  // namespace

Signal makeGameMusic() {
    const int bars = 16;
    const int n = beatAt(static_cast<float>(bars * 4));
    Buses b(n);
    const Signal kickSound = kick();
    const Signal snares[2] = {snare(21u), snare(22u)};
    const Signal closed = hat(false, 31u), open = hat(true, 32u);
    for (int c = 0; c < 8; ++c) {
        const Chord& chord = *kLoopChords[c];
        const float start = static_cast<float>(c) * 8.0f;
        b.add(pad(chord.tones, 4, kBeat * 8.0f, 1.0f, 400u + static_cast<uint32_t>(c)),
              beatAt(start), 0.075f, 0.6f, 0.0f, true);
        arpeggio(b, chord, start, 8.0f, c < 4 ? 0.7f : 1.0f, true);
        for (int half = 0; half < 2; ++half) {
            const float bar = start + 4.0f * static_cast<float>(half);
            bassBar(b, chord, bar, 1.0f, true);
            drumBar(b, kickSound, snares, closed, open, bar, c == 7 && half == 1, 1.0f, true);
        }
    }
    for (const Note& note : kMelody) {
        b.add(lead(note.midi, note.length * kBeat), beatAt(note.beat), 0.17f, 0.45f, 0.5f, true);
    }
    return b.render(true);
}

Signal makeOpeningMusic() {
    // The game music starts 10.52 s into play, so the opening's beat grid is set to land its
    // seventeenth beat there: a 0.32 s lead-in, four bars of build-up and a one-beat drum fill.
    const float length = 10.5f;
    const int n = samplesFor(length);
    const float leadIn = 0.32f / kBeat;  // in beats
    Buses b(n);
    const auto at = [&](float beat) { return beatAt(beat + leadIn); };
    // A deep hit on the first downbeat, then the pad moves through Am, F and G while the filter
    // opens.
    {
        Signal boom = kick();
        b.add(boom, at(0.0f), 1.1f, 0.6f, 0.0f, false);
        const float lowA[2] = {33.0f, 45.0f};
        b.add(pad(lowA, 2, kBeat * 7.5f, 0.6f, 900u), at(0.0f), 0.09f, 0.5f, 0.0f, false);
    }
    const Chord* chords[3] = {&kAm, &kF, &kG};
    const float starts[3] = {0.0f, 8.0f, 12.0f}, lengths[3] = {8.0f, 4.0f, 4.5f};
    for (int c = 0; c < 3; ++c) {
        b.add(pad(chords[c]->tones, 4, kBeat * lengths[c], 0.6f + 0.4f * static_cast<float>(c),
                  950u + c),
              at(starts[c]), 0.085f, 0.7f, 0.0f, false);
    }
    // The arpeggio fades in from the second bar; the bass pulses from the third.
    for (int c = 0; c < 3; ++c) {
        const float from = std::max(starts[c], 4.0f);
        const float to = starts[c] + lengths[c] - (c == 2 ? 0.5f : 0.0f);
        if (to <= from) continue;
        arpeggio(b, *chords[c], from, to - from, 0.4f + 0.15f * static_cast<float>(c), false);
    }
    for (int beat = 8; beat < 16; ++beat) {
        const Chord& chord = beat < 12 ? kF : kG;
        b.add(bass(chord.bass, kBeat * 0.8f, 0.5f), at(static_cast<float>(beat)), 0.4f, 0.0f, 0.0f,
              false);
    }
    // Kicks on every beat of the last bar, a riser over two bars and the closing snare fill.
    const Signal kickSound = kick();
    for (int beat = 12; beat < 16; ++beat)
        b.add(kickSound, at(static_cast<float>(beat)), 0.85f, 0.0f, 0.0f, false);
    b.add(riser(kBeat * 9.0f), at(8.0f), 0.35f, 0.4f, 0.0f, false);
    const Signal snares[2] = {snare(41u), snare(42u)};
    for (int s = 0; s < 6; ++s) {
        b.add(snares[s % 2], at(15.5f + static_cast<float>(s) * 0.25f),
              0.25f + 0.07f * static_cast<float>(s), 0.35f, 0.0f, false);
    }
    // A melody fragment that announces the game's theme.
    const Note hint[] = {{4, 1.5f, 76}, {5.5f, 0.5f, 74}, {6, 2, 72},
                         {8, 3, 69},    {12, 1, 71},      {13, 2.5f, 74}};
    for (const Note& note : hint)
        b.add(lead(note.midi, note.length * kBeat), at(note.beat), 0.12f, 0.6f, 0.6f, false);
    return b.render(false);
}

}  // namespace gen
