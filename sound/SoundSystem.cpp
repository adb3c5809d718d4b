// The game's sound object: start-up, effects by number, the background noise and its volume.
#include "sound/SoundSystem.h"

#include <cstdlib>
#include <iostream>

namespace {
const int channelCount = 25;
// Effects are short and play once; the stream loops.
const FMOD_MODE effectMode = FMOD_LOOP_OFF | FMOD_2D | FMOD_HARDWARE;
const FMOD_MODE streamMode = FMOD_LOOP_NORMAL | FMOD_2D | FMOD_SOFTWARE;
const unsigned int oldestVersion = 0x41806;
const float noiseWaveform = 5.0f;
// In single precision, as the volume is kept: against the double, the kept normal volume would
// count as above it and sink one step below it.
const float restingVolume = static_cast<float>(SoundSystem::normalVolume);
} // namespace

SoundSystem::SoundSystem() {
    checkResult(FMOD_System_Create(&system));
    unsigned int version = 0;
    checkResult(FMOD_System_GetVersion(system, &version));
    if (version <= oldestVersion)
        std::cout << "VERSION ERROR" << std::endl;
    checkResult(FMOD_System_Init(system, channelCount, FMOD_INIT_NORMAL, nullptr));
    backgroundVolume = restingVolume;
    sounds.assign(1, nullptr);
    channels.assign(1, nullptr);
}

SoundSystem::~SoundSystem() {
    // No part starts a stream, so slot 0 is normally empty; releasing nothing is not a failure.
    for (FMOD_SOUND* sound : sounds)
        if (sound)
            checkResult(FMOD_Sound_Release(sound));
    checkResult(FMOD_System_Close(system));
    checkResult(FMOD_System_Release(system));
    sounds.clear();
    channels.clear();
}

void SoundSystem::loadSound(const std::string& path) {
    sounds.push_back(nullptr);
    channels.resize(sounds.size() + 1, nullptr);
    checkResult(FMOD_System_CreateSound(system, path.c_str(), effectMode, nullptr, &sounds.back()));
}

void SoundSystem::playSound(int n) {
    // An effect that was never loaded ends the program like any other bad handle, rather than
    // reading past the tables.
    if (n < 0 || n + 1 >= static_cast<int>(sounds.size()))
        checkResult(FMOD_ERR_INVALID_HANDLE);
    // Passing back the channel of this effect's last play keeps one channel per effect.
    checkResult(
        FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, sounds[n + 1], false, &channels[n + 1]));
}

void SoundSystem::startBackground() {
    backgroundDsp = nullptr;
    checkResult(FMOD_System_CreateDSPByType(system, FMOD_DSP_TYPE_OSCILLATOR, &backgroundDsp));
    checkResult(FMOD_DSP_SetParameter(backgroundDsp, FMOD_DSP_OSCILLATOR_RATE, 440.0f));
    // Started paused so the noise never sounds before its volume is set. The noise channel's
    // calls are deliberately unchecked (see SoundSystem.h).
    FMOD_System_PlayDSP(system, FMOD_CHANNEL_REUSE, backgroundDsp, true, &backgroundChannel);
    FMOD_Channel_SetVolume(backgroundChannel, restingVolume);
    checkResult(FMOD_DSP_SetParameter(backgroundDsp, FMOD_DSP_OSCILLATOR_TYPE, noiseWaveform));
    FMOD_Channel_SetPaused(backgroundChannel, false);
}

void SoundSystem::setBackgroundVolume(float volume) {
    backgroundVolume = volume;
    // Unchecked, deliberately: the volume is remembered all the same, and the fades and strokes
    // step on from it.
    FMOD_Channel_SetVolume(backgroundChannel, volume);
}

void SoundSystem::raiseBackgroundVolume() {
    if (backgroundVolume < strokeVolume) {
        setBackgroundVolume(static_cast<float>(backgroundVolume + volumeStep));
    }
}

void SoundSystem::lowerBackgroundVolume() {
    if (backgroundVolume > restingVolume) {
        setBackgroundVolume(static_cast<float>(backgroundVolume - volumeStep));
    }
}

void SoundSystem::playStream(const std::string& path) {
    // Unchecked, deliberately: before the first stream the slot has no channel to stop.
    FMOD_Channel_Stop(channels[0]);
    // A second stream replaces the first; release the first rather than lose it.
    if (sounds[0]) {
        checkResult(FMOD_Sound_Release(sounds[0]));
        sounds[0] = nullptr;
    }
    checkResult(FMOD_System_CreateStream(system, path.c_str(), streamMode, nullptr, &sounds[0]));
    checkResult(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, sounds[0], false, &channels[0]));
}

void SoundSystem::checkResult(FMOD_RESULT result) {
    if (result == FMOD_OK)
        return;
    std::cout << "FMOD error! (" << result << ") " << FMOD_ErrorString(result) << std::endl;
    // End at once, cleaning nothing up: a normal exit would unload libraries under the
    // running audio thread.
    std::_Exit(-1);
}
