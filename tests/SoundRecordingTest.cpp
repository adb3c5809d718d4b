// What actually comes out: SDL's disk audio driver records the mixed output to a file, and the
// recording is checked for the effect and for the background noise at its volumes. Each test
// needs its own process (the driver is chosen when audio starts), which the test command gives.
#include <gtest/gtest.h>
#include <unistd.h>

#include <SDL/SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "sound/SoundSystem.h"

namespace {

namespace fs = std::filesystem;

// Output is 16-bit stereo: four bytes a frame.
const int frameBytes = 4;

class SoundRecording : public ::testing::Test {
  protected:
    void SetUp() override {
        recording = fs::temp_directory_path() /
                    ("wanderkin-recording-" + std::to_string(getpid()) + ".raw");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
    }
    void TearDown() override {
        fs::remove(recording);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    // Where the recording has got to, in whole frames.
    size_t framesSoFar() {
        return fs::exists(recording) ? fs::file_size(recording) / frameBytes : 0;
    }
    // Left and right samples of every recorded frame, as fractions of full scale.
    void load() {
        std::ifstream in(recording, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        for (size_t i = 0; i + frameBytes <= bytes.size(); i += frameBytes) {
            int16_t l, r;
            std::memcpy(&l, &bytes[i], 2);
            std::memcpy(&r, &bytes[i + 2], 2);
            left.push_back(l / 32768.0);
            right.push_back(r / 32768.0);
        }
    }
    double rms(size_t from, size_t to) const {
        double sum = 0;
        for (size_t i = from; i < to; ++i)
            sum += left[i] * left[i];
        return std::sqrt(sum / (to - from));
    }

    fs::path recording;
    std::vector<double> left, right;
};

// The samples of a 16-bit mono WAV as the game's tool writes it (44-byte header).
std::vector<double> wavSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<double> samples;
    for (size_t i = 44; i + 2 <= bytes.size(); i += 2) {
        int16_t s;
        std::memcpy(&s, &bytes[i], 2);
        samples.push_back(s / 32768.0);
    }
    return samples;
}

} // namespace

TEST_F(SoundRecording, PlayedEffectComesOutWholeAndOnTime) {
    SoundSystem* sound = new SoundSystem;
    sound->loadSound("audio/blipn.wav");
    sound->loadSound("audio/bigblip.wav");
    SDL_Delay(300);
    const size_t before = framesSoFar();
    sound->playSound(1);
    SDL_Delay(800);
    delete sound;
    load();
    const std::vector<double> effect = wavSamples("audio/bigblip.wav");
    ASSERT_GT(effect.size(), 1000u);
    ASSERT_GT(left.size(), before + effect.size());

    size_t start = 0;
    while (start < left.size() && left[start] == 0)
        ++start;
    EXPECT_GE(start, before) << "sound before the effect was played";
    ASSERT_LT(start, before + 44100 / 5) << "the effect started late or not at all";
    // The effect's first sample may be zero, so line up on its first non-zero one.
    size_t offset = 0;
    while (effect[offset] == 0)
        ++offset;
    start -= offset;
    double worst = 0, peak = 0;
    for (size_t i = 0; i < effect.size(); ++i) {
        worst = std::max({worst, std::fabs(left[start + i] - effect[i]),
                          std::fabs(right[start + i] - effect[i])});
        peak = std::max(peak, std::fabs(left[start + i]));
    }
    EXPECT_LT(worst, 0.005);
    EXPECT_GT(peak, 0.3);
    for (size_t i = start + effect.size(); i < left.size(); ++i)
        ASSERT_EQ(left[i], 0) << "sound after the effect ended, frame " << i;
}

TEST_F(SoundRecording, BackgroundNoiseFollowsEveryVolumeChange) {
    SoundSystem* sound = new SoundSystem;
    sound->startBackground();
    const float volumes[] = {0.1f, 0.2f, 0.105f, 0.0f, 0.3f};
    std::vector<std::pair<size_t, size_t>> spans;
    for (float volume : volumes) {
        sound->setBackgroundVolume(volume);
        // Skip what was mixed before the change reached the file, then take a stretch.
        SDL_Delay(150);
        size_t from = framesSoFar();
        SDL_Delay(300);
        spans.push_back({from, framesSoFar()});
    }
    delete sound;
    load();
    std::vector<double> level;
    for (auto [from, to] : spans) {
        ASSERT_GT(to, from + 4410) << "too little was recorded";
        ASSERT_LE(to, left.size());
        level.push_back(rms(from, to));
    }
    // White noise spread evenly over full scale has an RMS of 1/sqrt(3) of its volume.
    EXPECT_NEAR(level[0], 0.1 / std::sqrt(3.0), 0.003);
    EXPECT_NEAR(level[1] / level[0], 2.0, 0.05);
    EXPECT_NEAR(level[4] / level[0], 3.0, 0.08);
    EXPECT_EQ(level[3], 0.0);
    // 0.1 and 0.105 fall on the same step of a 0-128 volume scale; here they must differ.
    EXPECT_NEAR(level[2] / level[0], 1.05, 0.02);

    // Noise, not a tone: successive samples are unrelated, and both sides carry the same signal.
    auto [from, to] = spans[1];
    double product = 0, square = 0;
    for (size_t i = from + 1; i < to; ++i) {
        product += left[i] * left[i - 1];
        square += left[i] * left[i];
        ASSERT_EQ(left[i], right[i]);
    }
    EXPECT_LT(std::fabs(product / square), 0.05);
}
