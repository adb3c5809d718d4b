// Builds the game's sound effects from their recipes: each assets/sounds/NAME.txt (a list of
// notes) becomes OUT/audio/NAME.wav, a 16-bit mono 44.1 kHz WAV, byte for byte the same for
// the same recipe.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class SoundBuilder {
  public:
    SoundBuilder(const std::string& assetsDir, const std::string& outDir)
        : assetsDir(assetsDir), outDir(outDir) {}
    // Writes one WAV for every recipe, in name order. Returns false, after one line naming the
    // file (and line) at fault, when a recipe is malformed or a file cannot be written.
    bool buildAll();

    std::string assetsDir;
    std::string outDir;

  private:
    enum class Wave { sine, triangle, square, noise };
    // One voice. Tones glide exponentially from fromHz to toHz; for noise the two are the
    // cut-off of a low-pass filter, which makes the hiss darker or brighter as it goes.
    struct Note {
        double start = 0;
        double duration = 0;
        Wave wave = Wave::sine;
        double fromHz = 0;
        double toHz = 0;
        double amplitude = 0;
        double attack = 0; // linear rise, seconds
        double decay = 0;  // time constant of the exponential fall after the attack, seconds
    };
    struct Recipe {
        double length = 0;
        double gain = 1;
        std::vector<Note> notes;
    };

    bool readRecipe(const std::string& path, Recipe& recipe);
    std::vector<int16_t> render(const Recipe& recipe);
    bool writeWav(const std::vector<int16_t>& samples, const std::string& path);
};
