// Builds the game's sound effects from their recipes: each assets/sounds/NAME.txt (a list of
// notes) becomes OUT/audio/NAME.wav, a 16-bit mono 44.1 kHz WAV, byte for byte the same for
// the same recipe.
#pragma once
#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <vector>

class SoundBuilder {
  public:
    SoundBuilder(const std::string& assetsDir, const std::string& outDir)
        : assetsDir(assetsDir), outDir(outDir) {}
    // Writes one WAV for every recipe, in name order. Returns false, after one line naming the
    // file (and line) at fault, when a recipe is malformed, one of its numbers is out of range,
    // or a file cannot be read or written.
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
        int line = 0;      // where the recipe gives the note, for diagnostics
    };
    struct Recipe {
        double length = 0;
        double gain = 1;
        std::vector<Note> notes;
    };
    // The running state of one note's waveform, sample after sample.
    struct Oscillator {
        double phase = 0; // 0 to 1 through the current cycle
        double filtered = 0;
        double smoothed = 0;
        uint32_t noiseState = 0x2545f491u; // fixed, so the hiss is the same on every build

        // The next sample, from -1 to 1, at frequency (or noise cut-off) hz.
        double next(Wave wave, double hz);
    };

    bool findRecipes(std::vector<std::filesystem::path>& paths);
    bool readRecipe(const std::string& path, Recipe& recipe);
    // The keyword lines of a recipe; each returns what is wrong with its line, or "".
    std::string readLine(const std::string& keyword, std::istream& words, int line, Recipe& recipe);
    std::string readLength(std::istream& words, Recipe& recipe);
    std::string readGain(std::istream& words, Recipe& recipe);
    std::string readNote(std::istream& words, int line, Recipe& recipe);
    // The range checks that need the whole recipe; says which note is at fault.
    bool checkNotes(const std::string& path, const Recipe& recipe);
    std::string checkNote(const Note& note, double length);

    std::vector<int16_t> render(const Recipe& recipe);
    void addNote(const Note& note, std::vector<double>& mix);
    static double envelope(const Note& note, double t);
    bool writeWav(const std::vector<int16_t>& samples, const std::string& path);
};
