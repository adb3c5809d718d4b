// The game's sound: numbered effects and a background noise channel whose volume the parts
// shape, over the sound library in sound/fmod.h. A failed call ends the program, except the
// noise channel's play, volume and pause and the stop of an old stream, which are deliberately
// unchecked: without the noise the game is only quieter, and a stream slot that never played
// has no channel to stop.
#pragma once
#include <string>
#include <vector>

#include "sound/fmod.h"

class SoundSystem {
  public:
    // The background noise's volume while no stroke is drawn: it starts there, the fades lead
    // from and to it, and it settles back there after a stroke.
    static constexpr double normalVolume = 0.1;
    // While a stroke is drawn the noise climbs by volumeStep a frame up to strokeVolume.
    static constexpr float strokeVolume = 0.3f;
    static constexpr double volumeStep = 0.008;

    // Starts the sound library with 25 channels (called by the engine before the video comes
    // up) and leaves the stream slot as the only slot.
    SoundSystem();
    // Releases the loaded sounds and closes the library; the empty stream slot is skipped.
    ~SoundSystem();

    // Loads an effect; effects are numbered 0, 1, ... in load order. Ends the program if the
    // file is missing or unreadable.
    void loadSound(const std::string& path);
    // Plays effect n on its own channel, cutting off its previous play if still sounding.
    void playSound(int n);
    // Starts the white-noise oscillator on the background channel at normalVolume.
    void startBackground();
    // Sets the background channel's volume (0 to 1) and remembers it in backgroundVolume.
    void setBackgroundVolume(float volume);
    // One volumeStep towards strokeVolume (called each frame while a stroke is drawn)...
    void raiseBackgroundVolume();
    // ...and one step back towards normalVolume (each frame otherwise).
    void lowerBackgroundVolume();
    // Plays a file looping in the stream slot, replacing any stream already playing.
    void playStream(const std::string& path);

    // Writes "FMOD error! (r) text" and ends the process with status -1 unless r is FMOD_OK.
    static void checkResult(FMOD_RESULT result);

    FMOD_DSP* backgroundDsp = nullptr;
    FMOD_CHANNEL* backgroundChannel = nullptr;
    FMOD_SYSTEM* system = nullptr;
    // Slot 0 is the stream slot; slot n + 1 holds effect n.
    std::vector<FMOD_SOUND*> sounds;
    // The channel each slot last played on, same numbering, one longer than sounds.
    std::vector<FMOD_CHANNEL*> channels;
    float backgroundVolume = static_cast<float>(normalVolume);
};
