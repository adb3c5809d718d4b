// The game's sound: numbered effects and a background noise channel.
#pragma once
#include <string>

// Stand-in that stays silent until the sound layer lands.
class SoundSystem {
public:
    SoundSystem() {}
    ~SoundSystem() {}

    void loadSound(const std::string&) {}
    void playSound(int) {}
    void startBackground() {}
    void setBackgroundVolume(float volume) { backgroundVolume = volume; }
    void raiseBackgroundVolume() {}
    void lowerBackgroundVolume() {}
    void playStream(const std::string&) {}

    float backgroundVolume = 0.1f;
};
