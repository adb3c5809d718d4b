// Synthesises the sound effects from their recipes and writes them as WAV files.
#include "tools/SoundBuilder.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {
const int sampleRate = 44100;
// Every note fades out over its last 5 ms so that no note ends in a click.
const double tailFade = 0.005;

void putLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}
} // namespace

bool SoundBuilder::buildAll() {
    namespace fs = std::filesystem;
    fs::path recipes = fs::path(assetsDir) / "sounds";
    std::vector<fs::path> paths;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(recipes, error))
        if (entry.path().extension() == ".txt")
            paths.push_back(entry.path());
    if (error || paths.empty()) {
        std::cout << recipes.string() << ": no sound recipes found" << std::endl;
        return false;
    }
    std::sort(paths.begin(), paths.end());
    fs::create_directories(fs::path(outDir) / "audio", error);
    for (const fs::path& path : paths) {
        Recipe recipe;
        if (!readRecipe(path.string(), recipe))
            return false;
        fs::path wav = fs::path(outDir) / "audio" / (path.stem().string() + ".wav");
        if (!writeWav(render(recipe), wav.string()))
            return false;
    }
    return true;
}

// Lines: "length SECONDS", "gain FACTOR", and "note START DURATION WAVE FROM_HZ TO_HZ AMPLITUDE
// ATTACK DECAY"; "#" starts a comment.
bool SoundBuilder::readRecipe(const std::string& path, Recipe& recipe) {
    std::ifstream in(path);
    if (!in) {
        std::cout << path << ": cannot read" << std::endl;
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string key;
        if (!(words >> key))
            continue;
        std::string problem;
        if (key == "length") {
            if (!(words >> recipe.length) || recipe.length <= 0 || recipe.length > 5)
                problem = "length must be between 0 and 5 seconds";
        } else if (key == "gain") {
            if (!(words >> recipe.gain) || recipe.gain <= 0)
                problem = "gain must be positive";
        } else if (key == "note") {
            Note note;
            std::string wave;
            if (!(words >> note.start >> note.duration >> wave >> note.fromHz >> note.toHz >>
                  note.amplitude >> note.attack >> note.decay))
                problem = "a note needs start, duration, wave, two frequencies, amplitude, "
                          "attack and decay";
            else if (wave == "sine")
                note.wave = Wave::sine;
            else if (wave == "triangle")
                note.wave = Wave::triangle;
            else if (wave == "square")
                note.wave = Wave::square;
            else if (wave == "noise")
                note.wave = Wave::noise;
            else
                problem = "unknown wave '" + wave + "'";
            if (problem.empty() && (note.start < 0 || note.duration <= 0 || note.fromHz <= 0 ||
                                    note.toHz <= 0 || note.attack < 0 || note.decay <= 0))
                problem = "times and frequencies must be positive";
            recipe.notes.push_back(note);
        } else {
            problem = "unknown keyword '" + key + "'";
        }
        std::string rest;
        if (problem.empty() && words >> rest)
            problem = "unexpected '" + rest + "'";
        if (!problem.empty()) {
            std::cout << path << ":" << lineNumber << ": " << problem << std::endl;
            return false;
        }
    }
    if (recipe.length <= 0 || recipe.notes.empty()) {
        std::cout << path << ": a recipe needs a length and at least one note" << std::endl;
        return false;
    }
    return true;
}

std::vector<int16_t> SoundBuilder::render(const Recipe& recipe) {
    const int total = static_cast<int>(std::lround(recipe.length * sampleRate));
    std::vector<double> mix(total, 0.0);
    for (const Note& note : recipe.notes) {
        const int first = static_cast<int>(std::lround(note.start * sampleRate));
        const int count = static_cast<int>(std::lround(note.duration * sampleRate));
        double phase = 0;
        double filtered = 0;
        double smoothed = 0;
        uint32_t noiseState = 0x2545f491u; // fixed, so the hiss is the same on every build
        for (int i = 0; i < count && first + i < total; ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const double hz = note.fromHz * std::pow(note.toHz / note.fromHz, t / note.duration);
            double value = 0;
            switch (note.wave) {
            case Wave::sine:
                value = std::sin(2 * M_PI * phase);
                break;
            case Wave::triangle:
                value = phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
                break;
            case Wave::square:
                value = phase < 0.5 ? 1 : -1;
                break;
            case Wave::noise: {
                noiseState ^= noiseState << 13;
                noiseState ^= noiseState >> 17;
                noiseState ^= noiseState << 5;
                const double white = noiseState / 2147483648.0 - 1.0;
                // Two one-pole stages: a 12 dB per octave slope makes the sweep audible.
                const double k = 1 - std::exp(-2 * M_PI * hz / sampleRate);
                filtered += k * (white - filtered);
                smoothed += k * (filtered - smoothed);
                value = smoothed;
                break;
            }
            }
            phase = std::fmod(phase + hz / sampleRate, 1.0);
            double envelope = note.attack > 0 && t < note.attack
                                  ? t / note.attack
                                  : std::exp(-(t - note.attack) / note.decay);
            const double left = note.duration - t;
            if (left < tailFade)
                envelope *= left / tailFade;
            mix[first + i] += value * envelope * note.amplitude;
        }
    }
    std::vector<int16_t> samples(total);
    for (int i = 0; i < total; ++i) {
        const double v = std::clamp(mix[i] * recipe.gain, -1.0, 1.0);
        samples[i] = static_cast<int16_t>(std::lround(v * 32767));
    }
    return samples;
}

bool SoundBuilder::writeWav(const std::vector<int16_t>& samples, const std::string& path) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    putLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    putLe(out, 16, 4);
    putLe(out, 1, 2); // PCM
    putLe(out, 1, 2); // mono
    putLe(out, sampleRate, 4);
    putLe(out, sampleRate * 2, 4);
    putLe(out, 2, 2);
    putLe(out, 16, 2);
    out += "data";
    putLe(out, dataBytes, 4);
    for (int16_t s : samples)
        putLe(out, static_cast<uint16_t>(s), 2);
    std::ofstream file(path, std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::cout << path << ": cannot write" << std::endl;
        return false;
    }
    return true;
}
