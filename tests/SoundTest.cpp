// The game's sound on silent output, and as SDL's disk driver records it (in its own process).
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <iostream>
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

// SDL's disk driver writing this process's sound to a file, one stereo frame per 4 bytes.
struct Recording {
    Recording() { setenv("SDL_DISKAUDIOFILE", file.c_str(), 1); }
    ~Recording() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        fs::remove(file);
    }
    size_t frames() const { return fs::exists(file) ? fs::file_size(file) / 4 : 0; }
    // Waits until the file holds `more` frames more, however slowly the machine runs.
    bool waitFor(size_t more) const {
        const size_t count = frames() + more;
        for (int waited = 0; frames() < count && waited < 3000; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return frames() >= count;
    }
    static constexpr size_t settle = 8192; // frames mixed but not yet written: a change lags
    const fs::path file =
        fs::temp_directory_path() / ("wanderkin-sound-" + std::to_string(getpid()) + ".raw");
};
} // namespace

// No audio device leaves the game silent but running; its effects each keep their channel.
TEST(SoundSystem, WithoutADeviceEachEffectKeepsItsChannelAndAStreamReplacesTheLast) {
    ::testing::internal::CaptureStdout();
    auto sound = gameSound(effectCount, "no-such-audio-driver");
    const std::string said = ::testing::internal::GetCapturedStdout(); // once, with its reason
    EXPECT_TRUE(said.rfind("No sound device (") == 0 && said.find("), sound is off\n") > 18 &&
                std::count(said.begin(), said.end(), '\n') == 1)
        << said;
    // The fallback to the dummy driver must not leak into processes the game starts.
    EXPECT_STREQ(std::getenv("SDL_AUDIODRIVER"), "no-such-audio-driver");
    SDL_PauseAudio(1); // the device stands still while channels are counted
    Mix_HaltChannel(-1);
    sound->startBackground();
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

TEST(SoundRecording, TheBackgroundNoiseComesOutAtItsVolumeOnBothSides) {
    Recording recording;
    const size_t settle = Recording::settle, span = 22050; // a volume is heard for half a second
    auto sound = gameSound(0, "disk");
    ASSERT_TRUE(recording.waitFor(4096));
    sound->startBackground();
    std::vector<size_t> spans;
    for (float volume : {0.1f, 0.2f, 0.105f, 0.0f}) {
        sound->setBackgroundVolume(volume);
        spans.push_back(recording.frames() + settle);
        ASSERT_TRUE(recording.waitFor(settle + span));
    }
    sound.reset();
    const std::vector<double> left = samples(recording.file, 0, 4);
    ASSERT_GE(left.size(), spans.back() + span);
    EXPECT_TRUE(left == samples(recording.file, 2, 4)) << "the two sides differ";
    // Even white noise has an RMS of 1/sqrt(3) of its volume; 0.1 and 0.105 must differ.
    const double expected[] = {0.1, 0.2, 0.105, 0};
    for (size_t k = 0; k < spans.size(); ++k)
        EXPECT_NEAR(rootMeanSquare(&left[spans[k]], &left[spans[k] + span]),
                    expected[k] / std::sqrt(3.0), 0.0015)
            << k;
    const double* noise = &left[spans[1]]; // and no sample follows from the one before
    EXPECT_NEAR(std::inner_product(noise, noise + span - 1, noise + 1, 0.0) / span, 0, 6e-4);
}

// The A-weighting's gain at f Hz, 1 at 1 kHz: how loud the ear finds each frequency.
static double aWeighting(double f) {
    auto curve = [](double f) {
        const double f2 = f * f, high = 12194.0 * 12194.0;
        return high * f2 * f2 /
               ((f2 + 20.6 * 20.6) * std::sqrt((f2 + 107.7 * 107.7) * (f2 + 737.9 * 737.9)) *
                (f2 + high));
    };
    return curve(f) / curve(1000);
}

// An in-place radix-2 transform; sign -1 forward, +1 inverse (unscaled).
static void fourier(std::vector<std::complex<double>>& a, int sign) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        if (i < (j ^= bit))
            std::swap(a[i], a[j]);
    }
    for (size_t length = 2; length <= n; length <<= 1) {
        const std::complex<double> turn = std::polar(1.0, sign * 2 * M_PI / length);
        for (size_t i = 0; i < n; i += length) {
            std::complex<double> w = 1;
            for (size_t k = i; k < i + length / 2; ++k, w *= turn) {
                const std::complex<double> odd = a[k + length / 2] * w;
                a[k + length / 2] = a[k] - odd;
                a[k] += odd;
            }
        }
    }
}

// The A-weighted RMS of the loudest 100 ms of the samples, in dB of full scale.
static double loudestTenthInDbA(const double* from, const double* to) {
    size_t n = 1;
    while (n < 2 * static_cast<size_t>(to - from)) // room for the weighting to ring out
        n <<= 1;
    std::vector<std::complex<double>> a(from, to);
    a.resize(n);
    fourier(a, -1);
    for (size_t k = 0; k < n; ++k)
        a[k] *= aWeighting(std::min(k, n - k) * 44100.0 / n) / n;
    fourier(a, 1);
    const size_t window = 4410;
    double sum = 0, loudest = 0;
    for (size_t i = 0; i < n; ++i) {
        sum += std::norm(a[i].real()) - (i >= window ? std::norm(a[i - window].real()) : 0);
        loudest = std::max(loudest, sum);
    }
    return 10 * std::log10(loudest / window);
}

TEST(SoundRecording, RecognisedGestureChimeStandsAboveTheDrawingNoiseAndIsShort) {
    Recording recording;
    auto sound = gameSound(effectCount, "disk");
    ASSERT_TRUE(recording.waitFor(4096));
    sound->playSound(gestureEffect);
    ASSERT_TRUE(recording.waitFor(2 * Recording::settle + 22050));
    // The noise swells as long as a stroke is drawn; two seconds take it to its loudest.
    const size_t noiseFrom = recording.frames();
    sound->startBackground();
    for (int frame = 0; frame < 60; ++frame)
        sound->raiseBackgroundVolume();
    ASSERT_TRUE(recording.waitFor(2 * Recording::settle + 22050));
    sound.reset();

    const std::vector<double> left = samples(recording.file, 0, 4);
    const double chime = loudestTenthInDbA(&left[0], &left[noiseFrom]);
    const double noise =
        loudestTenthInDbA(&left[noiseFrom + 2 * Recording::settle], left.data() + left.size());
    auto heard = [](double s) { return std::abs(s) > 0.005; }; // from 46 dB below full scale
    const auto first = std::find_if(left.begin(), left.begin() + noiseFrom, heard);
    const auto last = std::find_if(left.rend() - noiseFrom, left.rend(), heard);
    const double seconds = (last.base() - first) / 44100.0;
    std::cout << "recognised-gesture chime " << chime << " dB(A), drawing noise " << noise
              << " dB(A): " << chime - noise << " dB above it, heard for " << seconds << " s"
              << std::endl;
    EXPECT_GE(chime - noise, 6.0);
    // Over before the last syllable of a line the gesture opens in the same frame.
    EXPECT_LE(seconds, 0.15);
}
