// The game's sound on silent output, and as SDL's disk driver records it (in its own process).
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <thread>

#include "sound/Effects.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace fs = std::filesystem;

namespace {
std::unique_ptr<SoundSystem> gameSound(int loads = effectCount, const char* driver = "dummy") {
    setenv("SDL_AUDIODRIVER", driver, 1);
    auto sound = std::make_unique<SoundSystem>();
    for (int i = 0; i < loads; ++i)
        sound->loadSound(effectFiles[i]);
    return sound;
}

// 16-bit samples from every `stride` bytes of `bytes`, from byte `from` on, in -1 to 1.
std::vector<double> samples(const fs::path& file, size_t from, size_t stride) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    const std::string bytes = text.str();
    std::vector<double> out;
    for (; from + 2 <= bytes.size(); from += stride)
        out.push_back(int16_t(uint8_t(bytes[from]) | uint8_t(bytes[from + 1]) << 8) / 32768.0);
    return out;
}

double rootMeanSquare(const double* from, const double* to) {
    return std::sqrt(std::inner_product(from, to, from, 0.0) / (to - from));
}
} // namespace

TEST(SoundSystem, EachEffectKeepsItsChannelAndAStreamReplacesTheLast) {
    auto sound = gameSound();
    SDL_PauseAudio(1); // the device stands still while channels are counted
    Mix_HaltChannel(-1);
    sound->playSound(beginEffect);
    FMOD_CHANNEL* const bigBlip = sound->channels[beginEffect + 1];
    for (int n : {beginEffect, selectionEffect, messageEffect, gestureEffect})
        sound->playSound(n);
    EXPECT_EQ(sound->channels[beginEffect + 1], bigBlip) << "a replay cuts off its last play";
    EXPECT_EQ(Mix_Playing(-1), 4);
    EXPECT_EQ(heard([&] {
                  sound->playStream(effectFiles[messageEffect]);
                  sound->playStream(effectFiles[messageEffect]);
              }),
              "good");
}

TEST(SoundSystemDeathTest, FailedResultsEndTheProgramWithTheirMessage) {
    // Death tests only see standard error; the sound system's last words go to standard output.
    auto onStderr = [] { std::fflush(stdout), dup2(STDERR_FILENO, STDOUT_FILENO); };
    EXPECT_EXIT((onStderr(), gameSound()->loadSound("audio/no-such-effect.wav")),
                ::testing::ExitedWithCode(255), "^FMOD error! \\(23\\) File not found. \n$");
}

TEST(SoundSystem, NoAudioDeviceLeavesTheGameSilentButRunning) {
    ::testing::internal::CaptureStdout();
    auto sound = gameSound(1, "no-such-audio-driver");
    // The fallback to the dummy driver must not leak into processes the game starts.
    EXPECT_STREQ(std::getenv("SDL_AUDIODRIVER"), "no-such-audio-driver");
    SDL_PauseAudio(1);
    sound->startBackground();
    sound->playSound(selectionEffect);
    EXPECT_EQ(Mix_Playing(-1), 1) << "the effect";
    SDL_PauseAudio(0);
    // One line, with its reason (so the version check passed too).
    const std::string said = ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(said.rfind("No sound device (") == 0 && said.find("), sound is off\n") > 18 &&
                std::count(said.begin(), said.end(), '\n') == 1)
        << said;
}

// SDL's disk driver writes this process's sound to a file, one stereo frame per 4 bytes.
TEST(SoundRecording, EffectAndBackgroundNoiseComeOutAsPlayed) {
    const fs::path file =
        fs::temp_directory_path() / ("wanderkin-sound-" + std::to_string(getpid()) + ".raw");
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    auto frames = [&] { return fs::exists(file) ? fs::file_size(file) / 4 : 0; };
    // Waits until the file holds `count` frames more, however slowly the machine runs; frames
    // mixed may still be on their way to it, so a change shows only after `settle` frames.
    const size_t settle = 8192, span = 22050; // each volume is heard over half a second
    auto waitFor = [&](size_t more) {
        const size_t count = frames() + more;
        for (int waited = 0; frames() < count && waited < 3000; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return frames() >= count;
    };
    auto sound = gameSound(beginEffect + 1, "disk");
    const std::vector<double> effect = samples(effectFiles[beginEffect], 44, 2);
    ASSERT_TRUE(waitFor(4096));
    sound->playSound(beginEffect);
    ASSERT_TRUE(waitFor(effect.size() + 2 * settle));
    sound->startBackground();
    std::vector<size_t> spans;
    for (float volume : {0.1f, 0.2f, 0.105f, 0.0f}) {
        sound->setBackgroundVolume(volume);
        spans.push_back(frames() + settle);
        ASSERT_TRUE(waitFor(settle + span));
    }
    sound.reset();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::vector<double> left = samples(file, 0, 4);
    ASSERT_GE(left.size(), spans.back() + span);
    EXPECT_TRUE(left == samples(file, 2, 4)) << "the two sides differ";
    fs::remove(file);
    // The effect sounds as its file holds it (when depends on the machine's load).
    auto sounding = [](double s) { return s != 0; };
    const size_t start = std::find_if(left.begin(), left.end(), sounding) - left.begin() -
                         (std::find_if(effect.begin(), effect.end(), sounding) - effect.begin());
    for (size_t i = 0; i < effect.size(); ++i)
        ASSERT_NEAR(left[start + i], effect[i], 0.005) << i;
    // White noise spread evenly over full scale has an RMS of 1/sqrt(3) of its volume; 0.1 and
    // 0.105 fall on the same step of a 0-128 volume scale, here they must differ.
    const double expected[] = {0.1, 0.2, 0.105, 0};
    for (size_t k = 0; k < spans.size(); ++k)
        EXPECT_NEAR(rootMeanSquare(&left[spans[k]], &left[spans[k] + span]),
                    expected[k] / std::sqrt(3.0), 0.0015)
            << k;
    const double* noise = &left[spans[1]]; // and no sample follows from the one before
    EXPECT_NEAR(std::inner_product(noise, noise + span - 1, noise + 1, 0.0) / span, 0, 6e-4);
}
