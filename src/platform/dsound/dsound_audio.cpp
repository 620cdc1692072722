// Sound on Windows through DirectSound: the primary buffer's 3-D listener, and one static
// secondary buffer per source. A sample buffer is a secondary buffer that never plays; each
// source attached to it plays its own duplicate, which shares the samples.
#include <windows.h>
// Before dsound.h, which needs its wave formats.
#include <mmsystem.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <dsound.h>

#include <cmath>
#include <cstring>

#include "platform/audio.h"
#include "platform/sdl/sdl_state.h"

namespace platform {
namespace {

constexpr int kMaxBuffers = 256;
constexpr int kMaxSources = 256;

struct SampleBuffer {
    bool active = false;
    IDirectSoundBuffer* sound = nullptr;  // null until the samples are given
};

struct Source {
    bool active = false;
    IDirectSoundBuffer* sound = nullptr;     // null until a buffer is attached
    IDirectSound3DBuffer* placed = nullptr;  // null for stereo samples, which are not placed
    uint32_t blockAlign = 1;
    // Stopped by pauseAudioSource while sounding: the next play resumes instead of rewinding.
    bool paused = false;
    bool looping = false;
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct AudioState {
    IDirectSound* device = nullptr;
    IDirectSoundBuffer* primary = nullptr;
    IDirectSound3DListener* listener = nullptr;  // set once the device is ready
    float gain = 1.0f;
    SampleBuffer buffers[kMaxBuffers];
    Source sources[kMaxSources];
};

AudioState audio;
bool deviceUnusable = false;

template <typename Interface>
void release(Interface*& object) {
    if (object != nullptr) object->Release();
    object = nullptr;
}

// The first free slot of `slots`, made fresh and active; its name is its index plus 1, 0 when
// every slot is taken.
template <typename Slot, int kCount>
uint32_t claimSlot(Slot (&slots)[kCount]) {
    for (int i = 0; i < kCount; ++i) {
        if (slots[i].active) continue;
        slots[i] = Slot{};
        slots[i].active = true;
        return static_cast<uint32_t>(i + 1);
    }
    return 0;
}

SampleBuffer* bufferFor(uint32_t name) {
    if (audio.listener == nullptr || name == 0 || name > kMaxBuffers) return nullptr;
    SampleBuffer& buffer = audio.buffers[name - 1];
    return buffer.active ? &buffer : nullptr;
}

Source* sourceFor(uint32_t name) {
    if (audio.listener == nullptr || name == 0 || name > kMaxSources) return nullptr;
    Source& source = audio.sources[name - 1];
    return source.active ? &source : nullptr;
}

bool isSounding(const Source& source) {
    DWORD status = 0;
    return source.sound != nullptr && SUCCEEDED(source.sound->GetStatus(&status)) &&
           (status & DSBSTATUS_PLAYING) != 0;
}

// DirectSound has no listener gain, and the primary buffer's volume is the whole device's
// under the normal cooperative level, so the gain is every source buffer's own volume (the
// game never sets a source's volume otherwise). Volumes are hundredths of a decibel of
// attenuation; the lowest, -100 dB, stands for silence.
LONG volumeFor(float gain) {
    if (gain >= 1.0f) return DSBVOLUME_MAX;
    if (gain <= 0.0f) return DSBVOLUME_MIN;
    const double hundredthsOfDb = 2000.0 * std::log10(static_cast<double>(gain));
    return hundredthsOfDb < DSBVOLUME_MIN ? DSBVOLUME_MIN : static_cast<LONG>(hundredthsOfDb);
}

// DirectSound mutes the buffers while this window is in the background. Sound can start
// before the game has a window (the tests do); the desktop window stands in for it then.
HWND focusWindow() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (sdl::video.window != nullptr && SDL_GetWindowWMInfo(sdl::video.window, &info) == SDL_TRUE &&
        info.subsystem == SDL_SYSWM_WINDOWS) {
        return info.info.win.window;
    }
    return GetDesktopWindow();
}

bool setUpListener() {
    release(audio.primary);
    if (FAILED(audio.device->SetCooperativeLevel(focusWindow(), DSSCL_NORMAL))) return false;
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D;
    if (FAILED(audio.device->CreateSoundBuffer(&description, &audio.primary, nullptr))) {
        audio.primary = nullptr;
        return false;
    }
    IDirectSound3DListener* listener = nullptr;
    if (FAILED(audio.primary->QueryInterface(IID_IDirectSound3DListener,
                                             reinterpret_cast<void**>(&listener)))) {
        return false;
    }
    // Distances fade as 1 / (1 + 0.01 (d - 1)) past the buffers' minimum distance of 1.
    const bool ok =
        SUCCEEDED(listener->SetRolloffFactor(0.01f, DS3D_DEFERRED)) &&
        SUCCEEDED(listener->SetPosition(0.0f, 0.0f, 0.0f, DS3D_DEFERRED)) &&
        SUCCEEDED(listener->SetVelocity(0.0f, 0.0f, 0.0f, DS3D_DEFERRED)) &&
        SUCCEEDED(listener->SetOrientation(1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, DS3D_DEFERRED)) &&
        SUCCEEDED(listener->CommitDeferredSettings());
    if (!ok) {
        listener->Release();
        return false;
    }
    audio.listener = listener;
    return true;
}

void detach(Source& source) {
    if (source.sound != nullptr) source.sound->Stop();
    release(source.placed);
    release(source.sound);
    source.paused = false;
}

}  // namespace

AudioStart openAudio() {
    if (audio.listener != nullptr) return AudioStart::Started;
    if (audio.device == nullptr && FAILED(DirectSoundCreate(nullptr, &audio.device, nullptr))) {
        audio.device = nullptr;
        return AudioStart::NoDevice;
    }
    if (deviceUnusable) return AudioStart::Failed;
    if (!setUpListener()) return AudioStart::Failed;
    audio.gain = 1.0f;
    return AudioStart::Started;
}

void setAudioDeviceUnusable(bool unusable) {
    deviceUnusable = unusable;
}

void closeAudio() {
    for (Source& source : audio.sources) detach(source);
    for (SampleBuffer& buffer : audio.buffers) release(buffer.sound);
    release(audio.listener);
    release(audio.primary);
    release(audio.device);
    audio = AudioState{};
}

uint32_t createAudioBuffer() {
    return audio.listener == nullptr ? 0 : claimSlot(audio.buffers);
}

bool setAudioBufferData(uint32_t buffer, const void* samples, uint32_t bytes, int channels,
                        int bitsPerSample, uint32_t samplesPerSecond) {
    SampleBuffer* target = bufferFor(buffer);
    if (target == nullptr) return false;
    if ((channels != 1 && channels != 2) || (bitsPerSample != 8 && bitsPerSample != 16)) {
        return false;
    }
    const uint32_t blockAlign = static_cast<uint32_t>(channels * bitsPerSample / 8);
    if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX || bytes % blockAlign != 0) return false;

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = samplesPerSecond;
    format.wBitsPerSample = static_cast<WORD>(bitsPerSample);
    format.nBlockAlign = static_cast<WORD>(blockAlign);
    format.nAvgBytesPerSec = samplesPerSecond * format.nBlockAlign;
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    // 3-D buffers take one channel only; stereo samples play unplaced, as OpenAL plays them.
    description.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2 |
                          (channels == 1 ? DSBCAPS_CTRL3D : 0);
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = &format;
    // Plain panning and distance, the same on every machine: no head-related filtering.
    if (channels == 1) description.guid3DAlgorithm = DS3DALG_NO_VIRTUALIZATION;
    IDirectSoundBuffer* sound = nullptr;
    if (FAILED(audio.device->CreateSoundBuffer(&description, &sound, nullptr))) return false;

    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    if (FAILED(
            sound->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER))) {
        sound->Release();
        return false;
    }
    std::memcpy(first, samples, firstBytes < bytes ? firstBytes : bytes);
    const bool ok = SUCCEEDED(sound->Unlock(first, firstBytes, second, secondBytes));
    if (!ok) {
        sound->Release();
        return false;
    }
    // Sources already attached keep playing the old samples, which their duplicates hold.
    release(target->sound);
    target->sound = sound;
    return true;
}

void deleteAudioBuffer(uint32_t buffer) {
    SampleBuffer* target = bufferFor(buffer);
    if (target == nullptr) return;
    release(target->sound);
    *target = SampleBuffer{};
}

uint32_t createAudioSource() {
    return audio.listener == nullptr ? 0 : claimSlot(audio.sources);
}

bool attachAudioBuffer(uint32_t source, uint32_t buffer) {
    Source* target = sourceFor(source);
    if (target == nullptr) return false;
    if (buffer == 0) {
        detach(*target);
        return true;
    }
    const SampleBuffer* samples = bufferFor(buffer);
    if (samples == nullptr || samples->sound == nullptr) return false;

    IDirectSoundBuffer* sound = nullptr;
    if (FAILED(audio.device->DuplicateSoundBuffer(samples->sound, &sound))) return false;
    WAVEFORMATEX format{};
    IDirectSound3DBuffer* placed = nullptr;
    bool ok = SUCCEEDED(sound->GetFormat(&format, sizeof format, nullptr)) &&
              SUCCEEDED(sound->SetVolume(volumeFor(audio.gain)));
    if (ok && format.nChannels == 1) {
        ok = SUCCEEDED(sound->QueryInterface(IID_IDirectSound3DBuffer,
                                             reinterpret_cast<void**>(&placed))) &&
             SUCCEEDED(placed->SetMinDistance(1.0f, DS3D_IMMEDIATE)) &&
             SUCCEEDED(placed->SetMaxDistance(1e9f, DS3D_IMMEDIATE)) &&
             SUCCEEDED(placed->SetPosition(target->x, target->y, target->z, DS3D_IMMEDIATE));
    }
    if (!ok) {
        release(placed);
        sound->Release();
        return false;
    }
    detach(*target);
    target->sound = sound;
    target->placed = placed;
    target->blockAlign = format.nBlockAlign > 0 ? format.nBlockAlign : 1;
    return true;
}

void deleteAudioSource(uint32_t source) {
    Source* target = sourceFor(source);
    if (target == nullptr) return;
    detach(*target);
    *target = Source{};
}

bool isAudioSourcePlaying(uint32_t source) {
    const Source* target = sourceFor(source);
    return target != nullptr && isSounding(*target);
}

void playAudioSource(uint32_t source, float x, float y, float z, bool looping) {
    Source* target = sourceFor(source);
    if (target == nullptr || target->sound == nullptr) return;
    // DirectSound's frame is left-handed like the game's: positions pass unchanged.
    target->x = x;
    target->y = y;
    target->z = z;
    if (target->placed != nullptr) target->placed->SetPosition(x, y, z, DS3D_IMMEDIATE);
    // A buffer that ran to its end may keep its cursor there; only a pause is resumed.
    if (!target->paused) target->sound->SetCurrentPosition(0);
    target->paused = false;
    target->looping = looping;
    target->sound->Play(0, 0, looping ? DSBPLAY_LOOPING : 0);
}

void pauseAudioSource(uint32_t source) {
    Source* target = sourceFor(source);
    if (target == nullptr || !isSounding(*target)) return;
    // Stop keeps the play cursor where it is.
    target->sound->Stop();
    target->paused = true;
}

void setListenerGain(float gain) {
    if (audio.listener == nullptr || !(gain >= 0.0f)) return;
    audio.gain = gain;
    for (Source& source : audio.sources) {
        if (source.sound != nullptr) source.sound->SetVolume(volumeFor(gain));
    }
}

float listenerGain() {
    return audio.listener == nullptr ? 0.0f : audio.gain;
}

int audioBufferChannels(uint32_t buffer) {
    const SampleBuffer* target = bufferFor(buffer);
    WAVEFORMATEX format{};
    if (target == nullptr || target->sound == nullptr ||
        FAILED(target->sound->GetFormat(&format, sizeof format, nullptr))) {
        return 0;
    }
    return format.nChannels;
}

int audioSourceSampleOffset(uint32_t source) {
    const Source* target = sourceFor(source);
    // As in OpenAL, a source that is neither sounding nor paused is at its beginning.
    if (target == nullptr || (!target->paused && !isSounding(*target))) return 0;
    DWORD played = 0;
    if (FAILED(target->sound->GetCurrentPosition(&played, nullptr))) return 0;
    return static_cast<int>(played / target->blockAlign);
}

bool isAudioSourceLooping(uint32_t source) {
    const Source* target = sourceFor(source);
    if (target == nullptr) return false;
    DWORD status = 0;
    if (target->sound != nullptr && SUCCEEDED(target->sound->GetStatus(&status)) &&
        (status & DSBSTATUS_PLAYING) != 0) {
        return (status & DSBSTATUS_LOOPING) != 0;
    }
    return target->looping;
}

void audioSourcePosition(uint32_t source, float& x, float& y, float& z) {
    x = y = z = 0.0f;
    const Source* target = sourceFor(source);
    if (target == nullptr) return;
    D3DVECTOR position{};
    if (target->placed != nullptr && SUCCEEDED(target->placed->GetPosition(&position))) {
        x = position.x;
        y = position.y;
        z = position.z;
        return;
    }
    x = target->x;
    y = target->y;
    z = target->z;
}

}  // namespace platform
