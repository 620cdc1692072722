#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include "platform/audio.h"

namespace platform {
namespace {

ALCdevice* device = nullptr;
ALCcontext* context = nullptr;
bool deviceUnusable = false;

ALenum formatFor(int channels, int bitsPerSample) {
    if (channels == 1) return bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    return bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

}  // namespace

AudioStart openAudio() {
    if (context != nullptr) return AudioStart::Started;
    if (device == nullptr) device = alcOpenDevice(nullptr);
    if (device == nullptr) return AudioStart::NoDevice;
    if (deviceUnusable) return AudioStart::Failed;
    // Positioning must sound the same on every machine: no head-related filtering.
    const ALCint attributes[] = {ALC_HRTF_SOFT, ALC_FALSE, 0};
    context = alcCreateContext(device, attributes);
    if (context == nullptr) return AudioStart::Failed;
    if (alcMakeContextCurrent(context) != ALC_TRUE) return AudioStart::Failed;

    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
    alListener3f(AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    const ALfloat orientation[] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f};
    alListenerfv(AL_ORIENTATION, orientation);
    alListenerf(AL_GAIN, 1.0f);
    return alGetError() == AL_NO_ERROR ? AudioStart::Started : AudioStart::Failed;
}

void setAudioDeviceUnusable(bool unusable) {
    deviceUnusable = unusable;
}

void closeAudio() {
    if (context != nullptr) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        context = nullptr;
    }
    if (device != nullptr) {
        alcCloseDevice(device);
        device = nullptr;
    }
}

uint32_t createAudioBuffer() {
    if (context == nullptr) return 0;
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    return alGetError() == AL_NO_ERROR ? buffer : 0;
}

bool setAudioBufferData(uint32_t buffer, const void* samples, uint32_t bytes, int channels,
                        int bitsPerSample, uint32_t samplesPerSecond) {
    if (context == nullptr || buffer == 0) return false;
    if (bytes > 0x7FFFFFFFu || samplesPerSecond > 0x7FFFFFFFu) return false;
    alGetError();
    alBufferData(buffer, formatFor(channels, bitsPerSample), samples, static_cast<ALsizei>(bytes),
                 static_cast<ALsizei>(samplesPerSecond));
    return alGetError() == AL_NO_ERROR;
}

void deleteAudioBuffer(uint32_t buffer) {
    if (context == nullptr || buffer == 0) return;
    ALuint name = buffer;
    alDeleteBuffers(1, &name);
}

uint32_t createAudioSource() {
    if (context == nullptr) return 0;
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) return 0;
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.01f);
    alSourcef(source, AL_REFERENCE_DISTANCE, 1.0f);
    alSourcef(source, AL_MAX_DISTANCE, 1e9f);
    return source;
}

bool attachAudioBuffer(uint32_t source, uint32_t buffer) {
    if (context == nullptr || source == 0) return false;
    alGetError();
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    return alGetError() == AL_NO_ERROR;
}

void deleteAudioSource(uint32_t source) {
    if (context == nullptr || source == 0) return;
    ALuint name = source;
    alSourceStop(name);
    alDeleteSources(1, &name);
}

bool isAudioSourcePlaying(uint32_t source) {
    if (context == nullptr || source == 0) return false;
    ALint state = AL_INITIAL;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void playAudioSource(uint32_t source, float x, float y, float z, bool looping) {
    if (context == nullptr || source == 0) return;
    // The game's frame is left-handed, the mixer's right-handed: mirror z so that negative z
    // stays on the listener's right.
    alSource3f(source, AL_POSITION, x, y, -z);
    alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
}

void pauseAudioSource(uint32_t source) {
    if (context == nullptr || source == 0) return;
    alSourcePause(source);
}

void setListenerGain(float gain) {
    if (context == nullptr) return;
    alListenerf(AL_GAIN, gain);
}

float listenerGain() {
    if (context == nullptr) return 0.0f;
    ALfloat gain = 0.0f;
    alGetListenerf(AL_GAIN, &gain);
    return gain;
}

int audioBufferChannels(uint32_t buffer) {
    if (context == nullptr || buffer == 0) return 0;
    ALint channels = 0;
    alGetBufferi(buffer, AL_CHANNELS, &channels);
    return channels;
}

int audioSourceSampleOffset(uint32_t source) {
    if (context == nullptr || source == 0) return 0;
    ALint offset = 0;
    alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
    return offset;
}

bool isAudioSourceLooping(uint32_t source) {
    if (context == nullptr || source == 0) return false;
    ALint looping = AL_FALSE;
    alGetSourcei(source, AL_LOOPING, &looping);
    return looping == AL_TRUE;
}

void audioSourcePosition(uint32_t source, float& x, float& y, float& z) {
    x = y = z = 0.0f;
    if (context == nullptr || source == 0) return;
    alGetSource3f(source, AL_POSITION, &x, &y, &z);
    z = -z;
}

}  // namespace platform
