// Sound output: one listener, static sample buffers and one playing source per sound slot.
// Positions are given in the game's left-handed frame (+x ahead, +y up, -z to the right); the
// implementation converts them for the mixer. Buffer and source names are never 0, so 0 can
// stand for "none".
#pragma once

#include <cstdint>

namespace platform {

enum class AudioStart {
    Started,   // device and context are ready, the listener is set up
    NoDevice,  // no output device: the game runs silently
    Failed,    // a device exists but could not be used
};

// Opens the default output device with a fixed listener at the origin facing +x, +y up,
// gain 1, inverse distance clamped attenuation and no HRTF. After Failed, closeAudio still
// has to run to release the half-opened device.
AudioStart openAudio();

// For tests: while set, openAudio opens the device and then reports Failed, as a device that
// exists but cannot be used does.
void setAudioDeviceUnusable(bool unusable);

// Releases the context and device; safe when nothing was opened, and more than once.
void closeAudio();

// A buffer for PCM samples; 0 on failure.
uint32_t createAudioBuffer();
// Gives the buffer its samples (interleaved when two channels). False when the mixer refuses
// the format or the size.
bool setAudioBufferData(uint32_t buffer, const void* samples, uint32_t bytes, int channels,
                        int bitsPerSample, uint32_t samplesPerSecond);
void deleteAudioBuffer(uint32_t buffer);

// A source with rolloff 0.01, reference distance 1 and maximum distance 1e9; 0 on failure.
uint32_t createAudioSource();
bool attachAudioBuffer(uint32_t source, uint32_t buffer);
void deleteAudioSource(uint32_t source);

// True only while the source is actually sounding (not paused, stopped or never started).
bool isAudioSourcePlaying(uint32_t source);
// Moves the source, sets its looping and starts it: a paused source resumes where it was
// paused, a stopped one starts again from its beginning.
void playAudioSource(uint32_t source, float x, float y, float z, bool looping);
// Pauses without rewinding.
void pauseAudioSource(uint32_t source);

// 0 mutes everything heard; 1 is full volume.
void setListenerGain(float gain);

// Queries for tests and diagnostics.
float listenerGain();
int audioBufferChannels(uint32_t buffer);
int audioSourceSampleOffset(uint32_t source);
bool isAudioSourceLooping(uint32_t source);
void audioSourcePosition(uint32_t source, float& x, float& y, float& z);

}  // namespace platform
