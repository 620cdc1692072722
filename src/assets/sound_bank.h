// Every sound the game plays: 44 slots loaded from WAV files at start, each with its own
// positioned source around a listener that never moves. Sounds that overlap (lasers,
// explosions) sit in five consecutive slots so up to five copies can sound at once; callers
// name the first copy.
#pragma once

#include <cstdint>
#include <cstdio>

using SoundId = uint32_t;

constexpr SoundId soundCount = 44;
constexpr SoundId SoundLaser1 = 0;  // the laser of weapon level n is SoundLaser1 + 5 * n
constexpr SoundId SoundLaser2 = 5;
constexpr SoundId SoundLaser3 = 10;
constexpr SoundId SoundLaser4 = 15;
constexpr SoundId SoundLaser5 = 20;
constexpr SoundId SoundLaser6 = 25;
constexpr SoundId SoundExplode1 = 30;
constexpr SoundId SoundExplode2 = 35;
constexpr SoundId SoundPowerUp = 40;
constexpr SoundId SoundSpreadCannon = 41;
constexpr SoundId SoundLoop0 = 42;
constexpr SoundId SoundLoop1 = 43;

// Play flags of playSound.
constexpr uint32_t SoundPlayOnce = 0;
constexpr uint32_t SoundPlayLooping = 1;

// The file a slot (below soundCount) is loaded from.
const char* soundFile(SoundId slot);

// The sample shape a slot's buffer was created with, kept until its samples are filled in.
struct SoundFormat {
    int channels = 0;
    uint16_t bitsPerSample = 0;
    uint32_t samplesPerSecond = 0;
};

// Sees every play request (the id as named by the caller, and whether it asks for a free copy
// of a group of five) before anything is checked or played, with or without a device. For
// diagnostics and tests; nullptr removes it.
using SoundRequestWatcher = void (*)(SoundId id, bool freeCopy);

struct SoundBank {
    bool soundEnabled = false;          // a device was found; without one every play does nothing
    uint32_t buffers[soundCount] = {};  // sample buffers, 0 until loaded
    uint32_t sources[soundCount] = {};  // one source per slot, 0 until loaded
    SoundFormat formats[soundCount] = {};
    SoundRequestWatcher requestWatcher = nullptr;  // kept by releaseSound
};

extern SoundBank soundBank;

// Opens the sound device. True also when there is none (sound stays off); false when a
// device exists but cannot be used.
bool initSound();
// Loads all 44 slots: 0..39, then 41, 40, 42, 43, stopping at the first failure. True
// without loading anything when sound is off.
bool loadSounds();
bool loadWave(const char* path, SoundId slot);
bool createSoundBuffer(SoundId slot, uint32_t dataLength, uint32_t samplesPerSecond,
                       uint16_t bitsPerSample, uint16_t blockAlign, bool stereo);
// Reads dataLength bytes of samples from the file into the slot's buffer, from fileOffset
// (-1: from the current position).
bool fillSoundBuffer(SoundId slot, std::FILE* file, uint32_t dataLength, long fileOffset);

// Starts a slot at a listener-frame position (x ahead, y up, negative z to the right). False
// only for an id of 44 or more; a slot that is already sounding is neither restarted nor
// moved, and a stopped one resumes where it stopped.
bool playSound(SoundId id, float x, float y, float z, uint32_t flags);
// Plays the first idle copy of firstId..firstId+4 once, above the listener (playFreeCopy) or
// at a position. False when all copies are sounding or sound is off.
bool playFreeCopy(SoundId firstId);
bool playFreeCopyAt(SoundId firstId, float x, float y, float z);
// Pauses a slot without rewinding it.
void stopSound(SoundId id);
bool isSoundPlaying(SoundId id);
// Installs the request watcher (see SoundRequestWatcher); nullptr removes it.
void setSoundRequestWatcher(SoundRequestWatcher watcher);
// Releases every buffer, source and the device; safe at any stage.
void releaseSound();
