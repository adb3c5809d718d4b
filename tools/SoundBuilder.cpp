// Synthesises the sound effects from their recipes and writes them as WAV files.
#include "tools/SoundBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <sstream>

#include "sound/WhiteNoise.h"
#include "tools/ToolSupport.h"

namespace fs = std::filesystem;
using ToolSupport::fail;
using ToolSupport::putLe;

namespace {
const int sampleRate = 44100;
// Every note fades out over its last 5 ms so that no note ends in a click.
const double tailFade = 0.005;
const double maxLength = 5; // seconds; also the longest a note's duration or attack may be
const int64_t maxSamples = static_cast<int64_t>(maxLength * sampleRate);
// Past this a gain or an amplitude only clips every sample: it is a typo.
const double maxLevel = 100;
// Slower than this the fall is flat over the longest sound we make.
const double maxDecay = 60;

// The numbers a recipe may give for one quantity; a nan lies in no range.
struct Range {
    double low;
    double high;
    bool lowIncluded;
    bool highIncluded;
    const char* unit;
};
const Range lengthRange{0, maxLength, false, true, "s"};
const Range gainRange{0, maxLevel, false, true, ""};
const Range durationRange{0, maxLength, false, true, "s"};
const Range frequencyRange{0, sampleRate / 2.0, false, true, "Hz"}; // up to half the rate
const Range amplitudeRange{0, maxLevel, true, true, ""};
const Range attackRange{0, maxLength, true, true, "s"};
const Range decayRange{0, maxDecay, false, true, "s"};

// "" when value lies in range, else what is wrong ("start must be in [0, 1) s, found 2").
std::string outsideRange(const std::string& name, double value, const Range& range) {
    const bool aboveLow = range.lowIncluded ? value >= range.low : value > range.low;
    const bool belowHigh = range.highIncluded ? value <= range.high : value < range.high;
    if (aboveLow && belowHigh)
        return "";
    std::ostringstream what;
    what << name << " must be in " << (range.lowIncluded ? "[" : "(") << range.low << ", "
         << range.high << (range.highIncluded ? "]" : ")") << (*range.unit ? " " : "") << range.unit
         << ", found " << value;
    return what.str();
}

// The whole word as a number; nan and inf read too, for the range checks to name them.
bool parseNumber(const std::string& word, double& value) {
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return !word.empty() && *end == '\0';
}

// Whole samples in `seconds`, held to [0, limit] whatever the number, so that no sample
// position can leave its buffer.
int64_t samplesIn(double seconds, int64_t limit) {
    const double samples = seconds * sampleRate;
    if (!(samples > 0))
        return 0;
    if (samples >= static_cast<double>(limit))
        return limit;
    return std::llround(samples);
}
} // namespace

bool SoundBuilder::buildAll() {
    std::vector<fs::path> paths;
    if (!findRecipes(paths))
        return false;
    std::error_code error;
    fs::create_directories(fs::path(outDir) / "audio", error); // shows when a file is written
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

// Every NAME.txt in ASSETS/sounds, in name order.
bool SoundBuilder::findRecipes(std::vector<fs::path>& paths) {
    const fs::path dir = fs::path(assetsDir) / "sounds";
    std::error_code error;
    for (fs::directory_iterator entry(dir, error), end; !error && entry != end;
         entry.increment(error))
        if (entry->path().extension() == ".txt")
            paths.push_back(entry->path());
    if (error)
        return fail(dir.string(), error.message());
    if (paths.empty())
        return fail(dir.string(), "no sound recipes found");
    std::sort(paths.begin(), paths.end());
    return true;
}

// Lines: "length SECONDS", "gain FACTOR", and "note START DURATION WAVE FROM_HZ TO_HZ AMPLITUDE
// ATTACK DECAY"; "#" starts a comment.
bool SoundBuilder::readRecipe(const std::string& path, Recipe& recipe) {
    std::string bytes;
    if (!ToolSupport::readFile(path, bytes))
        return false;
    std::istringstream in(bytes);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        std::istringstream words(text.substr(0, text.find('#')));
        std::string keyword;
        if (!(words >> keyword))
            continue;
        std::string problem = readLine(keyword, words, line, recipe);
        std::string rest;
        if (problem.empty() && words >> rest)
            problem = "unexpected '" + rest + "'";
        if (!problem.empty())
            return fail(path + ":" + std::to_string(line), problem);
    }
    if (recipe.length <= 0 || recipe.notes.empty())
        return fail(path, "a recipe needs a length and at least one note");
    return checkNotes(path, recipe);
}

std::string SoundBuilder::readLine(const std::string& keyword, std::istream& words, int line,
                                   Recipe& recipe) {
    if (keyword == "length")
        return readLength(words, recipe);
    if (keyword == "gain")
        return readGain(words, recipe);
    if (keyword == "note")
        return readNote(words, line, recipe);
    return "unknown keyword '" + keyword + "'";
}

std::string SoundBuilder::readLength(std::istream& words, Recipe& recipe) {
    std::string word;
    if (!(words >> word) || !parseNumber(word, recipe.length))
        return "length needs a number of seconds";
    return outsideRange("length", recipe.length, lengthRange);
}

std::string SoundBuilder::readGain(std::istream& words, Recipe& recipe) {
    std::string word;
    if (!(words >> word) || !parseNumber(word, recipe.gain))
        return "gain needs a number";
    return outsideRange("gain", recipe.gain, gainRange);
}

std::string SoundBuilder::readNote(std::istream& words, int line, Recipe& recipe) {
    std::string word[8];
    for (std::string& w : word)
        if (!(words >> w))
            return "a note needs start, duration, wave, two frequencies, amplitude, attack and "
                   "decay";
    Note note;
    note.line = line;
    const std::pair<const char*, Wave> waves[] = {{"sine", Wave::sine},
                                                  {"triangle", Wave::triangle},
                                                  {"square", Wave::square},
                                                  {"noise", Wave::noise}};
    auto wave = std::find_if(std::begin(waves), std::end(waves),
                             [&](const auto& named) { return word[2] == named.first; });
    if (wave == std::end(waves))
        return "unknown wave '" + word[2] + "'";
    note.wave = wave->second;
    const std::pair<int, double*> numbers[] = {
        {0, &note.start},     {1, &note.duration}, {3, &note.fromHz}, {4, &note.toHz},
        {5, &note.amplitude}, {6, &note.attack},   {7, &note.decay}};
    for (auto [index, field] : numbers)
        if (!parseNumber(word[index], *field))
            return "'" + word[index] + "' is not a number";
    recipe.notes.push_back(note);
    return "";
}

// Run once the whole recipe is read: a note's start is checked against the length, which
// may come after it.
bool SoundBuilder::checkNotes(const std::string& path, const Recipe& recipe) {
    for (const Note& note : recipe.notes) {
        const std::string problem = checkNote(note, recipe.length);
        if (!problem.empty())
            return fail(path + ":" + std::to_string(note.line), problem);
    }
    return true;
}

std::string SoundBuilder::checkNote(const Note& note, double length) {
    const struct {
        const char* name;
        double value;
        Range range;
    } checks[] = {{"start", note.start, {0, length, true, false, "s"}},
                  {"duration", note.duration, durationRange},
                  {"from frequency", note.fromHz, frequencyRange},
                  {"to frequency", note.toHz, frequencyRange},
                  {"amplitude", note.amplitude, amplitudeRange},
                  {"attack", note.attack, attackRange},
                  {"decay", note.decay, decayRange}};
    for (const auto& check : checks) {
        const std::string problem = outsideRange(check.name, check.value, check.range);
        if (!problem.empty())
            return problem;
    }
    return "";
}

std::vector<int16_t> SoundBuilder::render(const Recipe& recipe) {
    std::vector<double> mix(samplesIn(recipe.length, maxSamples), 0.0);
    for (const Note& note : recipe.notes)
        addNote(note, mix);
    std::vector<int16_t> samples(mix.size());
    for (size_t i = 0; i < mix.size(); ++i) {
        const double v = std::clamp(mix[i] * recipe.gain, -1.0, 1.0);
        samples[i] = static_cast<int16_t>(std::lround(v * 32767));
    }
    return samples;
}

// Adds the note into the mix; what would fall past the mix's end is cut off.
void SoundBuilder::addNote(const Note& note, std::vector<double>& mix) {
    const int64_t total = static_cast<int64_t>(mix.size());
    const int64_t first = samplesIn(note.start, total);
    const int64_t count = samplesIn(note.duration, total - first);
    Oscillator oscillator;
    for (int64_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double hz = note.fromHz * std::pow(note.toHz / note.fromHz, t / note.duration);
        const double value = oscillator.next(note.wave, hz);
        mix[first + i] += value * envelope(note, t) * note.amplitude;
    }
}

double SoundBuilder::Oscillator::next(Wave wave, double hz) {
    double value = 0;
    switch (wave) {
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
        const double white = whiteNoise(&noiseState);
        // Two one-pole stages: a 12 dB per octave slope makes the sweep audible.
        const double k = 1 - std::exp(-2 * M_PI * hz / sampleRate);
        filtered += k * (white - filtered);
        smoothed += k * (filtered - smoothed);
        value = smoothed;
        break;
    }
    }
    phase = std::fmod(phase + hz / sampleRate, 1.0);
    return value;
}

// The note's level t seconds after its start, from 0 to 1.
double SoundBuilder::envelope(const Note& note, double t) {
    double level = note.attack > 0 && t < note.attack ? t / note.attack
                                                      : std::exp(-(t - note.attack) / note.decay);
    const double left = note.duration - t;
    if (left < tailFade)
        level *= left / tailFade;
    return level;
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
    return ToolSupport::writeFile(path, out);
}
