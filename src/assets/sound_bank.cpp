#include "assets/sound_bank.h"

#include <cstdint>
#include <cstdlib>

#include "assets/asset_files.h"
#include "assets/wav_header.h"
#include "platform/audio.h"
#include "platform/events.h"

SoundBank soundBank;

const char* soundFile(SoundId slot) {
    // Before the power-up every file fills five slots in a row.
    return kSoundFiles[slot < SoundPowerUp ? slot / 5 : SoundFilePowerUp + (slot - SoundPowerUp)];
}

namespace {

// The game in the background is silent; the mixer keeps running so nothing loses its place.
void onFocusChange(bool focused) {
    platform::setListenerGain(focused ? 1.0f : 0.0f);
}

bool startSlot(SoundId id, float x, float y, float z, uint32_t flags) {
    // The id is checked first, so a bad id is refused whether or not sound is on.
    if (id >= soundCount) return false;
    if (!soundBank.soundEnabled) return true;
    const uint32_t source = soundBank.sources[id];
    if (source == 0) return true;
    if (platform::isAudioSourcePlaying(source)) return true;
    platform::playAudioSource(source, x, y, z, (flags & SoundPlayLooping) != 0);
    return true;
}

bool playFirstIdleCopy(SoundId firstId, float x, float y, float z) {
    if (soundBank.requestWatcher) soundBank.requestWatcher(firstId, true);
    if (!soundBank.soundEnabled) return false;
    for (SoundId id = firstId; id < firstId + 5 && id < soundCount; ++id) {
        if (!platform::isAudioSourcePlaying(soundBank.sources[id])) {
            startSlot(id, x, y, z, SoundPlayOnce);
            return true;
        }
    }
    return false;
}

}  // namespace

bool initSound() {
    for (SoundId id = 0; id < soundCount; ++id) {
        soundBank.buffers[id] = 0;
        soundBank.sources[id] = 0;
        soundBank.formats[id] = SoundFormat{};
    }
    switch (platform::openAudio()) {
        case platform::AudioStart::NoDevice:
            soundBank.soundEnabled = false;
            return true;
        case platform::AudioStart::Failed:
            soundBank.soundEnabled = true;  // releaseSound closes the half-opened device
            return false;
        case platform::AudioStart::Started:
            break;
    }
    soundBank.soundEnabled = true;
    platform::setFocusHandler(onFocusChange);
    return true;
}

bool loadSounds() {
    if (!soundBank.soundEnabled) return true;
    for (SoundId id = 0; id < SoundPowerUp; ++id) {
        if (!loadWave(soundFile(id), id)) return false;
    }
    // The spread cannon's slot has always been loaded before the power-up's.
    const SoundId rest[] = {SoundSpreadCannon, SoundPowerUp, SoundLoop0, SoundLoop1};
    for (SoundId id : rest) {
        if (!loadWave(soundFile(id), id)) return false;
    }
    return true;
}

bool loadWave(const char* path, SoundId slot) {
    if (slot >= soundCount) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    WavHeader header;
    bool ok = readWavHeader(file, header) && isPlayableWav(header) &&
              createSoundBuffer(slot, header.dataLength, header.samplesPerSecond,
                                header.bitsPerSample, header.blockAlign, header.channels > 1) &&
              fillSoundBuffer(slot, file, header.dataLength, static_cast<long>(wavHeaderSize));
    std::fclose(file);
    return ok;
}

bool createSoundBuffer(SoundId slot, uint32_t dataLength, uint32_t samplesPerSecond,
                       uint16_t bitsPerSample, uint16_t blockAlign, bool stereo) {
    if (slot >= soundCount) return false;
    const int channels = stereo ? 2 : 1;
    if (!isPlayableFormat(channels, samplesPerSecond, bitsPerSample, blockAlign, dataLength)) {
        return false;
    }
    // A slot loaded twice gives its old buffer and source back first.
    platform::deleteAudioSource(soundBank.sources[slot]);
    platform::deleteAudioBuffer(soundBank.buffers[slot]);
    soundBank.sources[slot] = 0;
    soundBank.buffers[slot] = platform::createAudioBuffer();
    if (soundBank.buffers[slot] == 0) return false;
    soundBank.formats[slot] = SoundFormat{channels, bitsPerSample, samplesPerSecond};
    return true;
}

bool fillSoundBuffer(SoundId slot, std::FILE* file, uint32_t dataLength, long fileOffset) {
    if (slot >= soundCount || soundBank.buffers[slot] == 0) return false;
    if (fileOffset != -1 && std::fseek(file, fileOffset, SEEK_SET) != 0) return false;
    // The header's length is only a claim: nothing is allocated or read unless the file
    // really holds that many bytes.
    uint8_t* samples = nullptr;
    const bool held = fileHoldsBytes(file, dataLength);
    if (held) samples = static_cast<uint8_t*>(std::malloc(dataLength));
    if (samples == nullptr || std::fread(samples, 1, dataLength, file) != dataLength) {
        std::fprintf(stderr, "Data1 : %d, dwdata: %d, pFile: %d\n",
                     static_cast<int>(reinterpret_cast<std::intptr_t>(samples)),
                     static_cast<int>(dataLength), fileno(file));
        std::free(samples);
        return false;
    }
    const SoundFormat& format = soundBank.formats[slot];
    bool ok =
        platform::setAudioBufferData(soundBank.buffers[slot], samples, dataLength, format.channels,
                                     format.bitsPerSample, format.samplesPerSecond);
    std::free(samples);
    if (!ok) return false;
    soundBank.sources[slot] = platform::createAudioSource();
    return soundBank.sources[slot] != 0 &&
           platform::attachAudioBuffer(soundBank.sources[slot], soundBank.buffers[slot]);
}

void setSoundRequestWatcher(SoundRequestWatcher watcher) {
    soundBank.requestWatcher = watcher;
}

bool playSound(SoundId id, float x, float y, float z, uint32_t flags) {
    if (soundBank.requestWatcher) soundBank.requestWatcher(id, false);
    return startSlot(id, x, y, z, flags);
}

bool playFreeCopy(SoundId firstId) {
    return playFirstIdleCopy(firstId, 0.0f, 50.0f, 0.0f);
}

bool playFreeCopyAt(SoundId firstId, float x, float y, float z) {
    return playFirstIdleCopy(firstId, x, y, z);
}

void stopSound(SoundId id) {
    if (id >= soundCount) return;
    platform::pauseAudioSource(soundBank.sources[id]);
}

bool isSoundPlaying(SoundId id) {
    return id < soundCount && platform::isAudioSourcePlaying(soundBank.sources[id]);
}

void releaseSound() {
    for (SoundId id = 0; id < soundCount; ++id) {
        platform::deleteAudioSource(soundBank.sources[id]);
        soundBank.sources[id] = 0;
    }
    for (SoundId id = 0; id < soundCount; ++id) {
        platform::deleteAudioBuffer(soundBank.buffers[id]);
        soundBank.buffers[id] = 0;
    }
    if (soundBank.soundEnabled) platform::setFocusHandler(nullptr);
    platform::closeAudio();
    soundBank.soundEnabled = false;
}
