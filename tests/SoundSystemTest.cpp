// The game's sound on silent output, and as SDL's disk driver records it (in its own process).
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <numeric>
#include <thread>

#include "sound/Effects.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace fs = std::filesystem;

static SoundSystem* gameSound(int loads = effectCount, const char* driver = "dummy") {
    setenv("SDL_AUDIODRIVER", driver, 1);
    SoundSystem* sound = new SoundSystem;
    for (int i = 0; i < loads; ++i)
        sound->loadSound(effectFiles[i]);
    return sound;
}

static std::vector<char> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

static std::vector<double> samples(const std::vector<char>& bytes, size_t from, size_t stride) {
    std::vector<double> out;
    for (; from + 2 <= bytes.size(); from += stride)
        out.push_back(int16_t(uint8_t(bytes[from]) | bytes[from + 1] << 8) / 32768.0);
    return out;
}

static long heapInUse() {
    struct mallinfo2 heap = mallinfo2();
    return static_cast<long>(heap.uordblks + heap.hblkhd);
}

// A WAV in the mixer's own format (44.1 kHz, 16-bit stereo) holding one sample value throughout,
// so each sound is told apart in a recording by its level alone.
static void writeLevelWav(const fs::path& path, int16_t level, uint32_t frames) {
    auto bytes = [](uint32_t value, int count) {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += static_cast<char>(value >> 8 * i);
        return out;
    };
    std::string wav = "RIFF" + bytes(36 + 4 * frames, 4) + "WAVEfmt " + bytes(16, 4) + bytes(1, 2) +
                      bytes(2, 2) + bytes(44100, 4) + bytes(4 * 44100, 4) + bytes(4, 2) +
                      bytes(16, 2) + "data" + bytes(4 * frames, 4);
    for (uint32_t i = 0; i < 2 * frames; ++i)
        wav += bytes(static_cast<uint16_t>(level), 2);
    std::ofstream(path, std::ios::binary) << wav;
}

// SDL's disk driver writing this process's sound to a file, one stereo frame per 4 bytes.
class Recording {
  public:
    explicit Recording(const std::string& name)
        : file(fs::temp_directory_path() /
               ("wanderkin-" + name + "-" + std::to_string(getpid()) + ".raw")) {
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    }
    ~Recording() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        fs::remove(file);
    }
    // Frames in the file so far. Some already mixed may still be on their way to it, so a
    // change of sound shows only after `settle` frames more.
    size_t frames() const { return fs::exists(file) ? fs::file_size(file) / 4 : 0; }
    static constexpr size_t settle = 8192;
    // Waits until the file holds `count` frames, however slowly the machine runs.
    bool waitFor(size_t count) const {
        auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (frames() < count && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return frames() >= count;
    }
    std::vector<double> side(int which) const { return samples(readBytes(file), 2 * which, 4); }
    const fs::path file;
};

static double rootMeanSquare(const double* from, const double* to) {
    return std::sqrt(std::inner_product(from, to, from, 0.0) / (to - from));
}

TEST(SoundSystem, ChannelsPerEffectAndStreams) {
    SoundSystem* sound = gameSound();
    // (The recording test below hears the background's volume steps on the channel.)
    // The device stands still while channels are counted, so no effect ends meanwhile.
    SDL_PauseAudio(1);
    // Replaying an effect that still sounds keeps its channel; each effect has its own.
    sound->playSound(beginEffect);
    FMOD_CHANNEL* const bigBlip = sound->channels[beginEffect + 1];
    for (int n : {beginEffect, selectionEffect, messageEffect, gestureEffect})
        sound->playSound(n);
    EXPECT_EQ(sound->channels[beginEffect + 1], bigBlip);
    EXPECT_EQ(Mix_Playing(-1), 4) << "four effects (the background is mixed in after them)";
    // The selection blip's channel falls free and the stream takes it: the blip's old handle is
    // stale now, and its next play takes another channel rather than cut the stream off.
    FMOD_Channel_Stop(sound->channels[selectionEffect + 1]);
    sound->playStream(effectFiles[messageEffect]);
    sound->playSound(selectionEffect);
    EXPECT_EQ(Mix_Playing(-1), 5) << "four effects and the stream";
    SDL_PauseAudio(0);

    // Each stream holds its whole file; replacing one must free the one before.
    sound->playStream(effectFiles[beginEffect]);
    const long before = heapInUse();
    for (int i = 0; i < 8; ++i)
        sound->playStream(effectFiles[beginEffect]);
    EXPECT_LT(heapInUse() - before, static_cast<long>(fs::file_size(effectFiles[beginEffect])));
    delete sound; // passes over the empty stream slot
}

TEST(SoundSystemDeathTest, FailedResultsEndTheProgramWithTheirMessage) {
    // Death tests only see standard error; the sound system's last words go to standard output.
    auto onStderr = [] { std::fflush(stdout), dup2(STDERR_FILENO, STDOUT_FILENO); };
    EXPECT_EXIT((onStderr(), SoundSystem::checkResult(FMOD_ERR_FILE_NOTFOUND)),
                ::testing::ExitedWithCode(255), "^FMOD error! \\(23\\) File not found. \n$");
    EXPECT_EXIT((onStderr(), gameSound()->loadSound("audio/no-such-effect.wav")),
                ::testing::ExitedWithCode(255), "^FMOD error! \\(23\\) File not found. \n$");
}

TEST(SoundSystem, NoAudioDeviceLeavesTheGameSilentButRunning) {
    ::testing::internal::CaptureStdout();
    SoundSystem* sound = gameSound(1, "no-such-audio-driver");
    // The fallback to the dummy driver must not leak into processes the game starts.
    EXPECT_STREQ(std::getenv("SDL_AUDIODRIVER"), "no-such-audio-driver");
    SDL_PauseAudio(1);
    sound->startBackground();
    sound->playSound(selectionEffect);
    EXPECT_EQ(Mix_Playing(-1), 1) << "the effect";
    SDL_PauseAudio(0);
    // One line only: this also shows the version check passed.
    const std::string said = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("sound is off"), std::string::npos) << said;
    EXPECT_EQ(said.find("()"), std::string::npos) << "the line gives no reason: " << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    delete sound;
}

TEST(SoundRecording, EffectAndBackgroundNoiseComeOutAsPlayed) {
    Recording recording("noise");
    SoundSystem* sound = gameSound(beginEffect + 1, "disk");
    const std::vector<double> effect = samples(readBytes(effectFiles[beginEffect]), 44, 2);
    ASSERT_TRUE(recording.waitFor(4096));
    const size_t played = recording.frames();
    sound->playSound(beginEffect);
    ASSERT_TRUE(recording.waitFor(played + effect.size() + 2 * Recording::settle));
    sound->startBackground();
    // Each change of volume is heard over half a second once it has settled.
    const size_t span = 22050;
    std::vector<size_t> spans;
    // Each change sets a volume (unless negative), then raises (+) or lowers (-) it in steps.
    const std::pair<float, int> changes[] = {{0.1f, 0},  {0.2f, 0},   {0.105f, 0},
                                             {0.1f, 27}, {-1.f, -27}, {0.0f, 0}};
    for (auto [volume, steps] : changes) {
        if (volume >= 0)
            sound->setBackgroundVolume(volume);
        for (int i = 0; i < std::abs(steps); ++i)
            steps > 0 ? sound->raiseBackgroundVolume() : sound->lowerBackgroundVolume();
        spans.push_back(recording.frames() + Recording::settle);
        ASSERT_TRUE(recording.waitFor(spans.back() + span));
    }
    delete sound;
    const std::vector<double> left = recording.side(0);
    ASSERT_GE(left.size(), spans.back() + span);
    EXPECT_TRUE(left == recording.side(1)) << "the two sides differ";

    auto sounding = [](double s) { return s != 0; };
    size_t start = std::find_if(left.begin(), left.end(), sounding) - left.begin();
    ASSERT_LT(start - played, 44100u / 5) << "the effect started early, late or not at all";
    start -= std::find_if(effect.begin(), effect.end(), sounding) - effect.begin();
    for (size_t i = 0; i < effect.size(); ++i)
        ASSERT_NEAR(left[start + i], effect[i], 0.005) << i;

    std::vector<double> level;
    for (size_t from : spans)
        level.push_back(rootMeanSquare(&left[from], &left[from + span]));
    // White noise spread evenly over full scale has an RMS of 1/sqrt(3) of its volume.
    EXPECT_NEAR(level[0], 0.1 / std::sqrt(3.0), 0.003);
    EXPECT_NEAR(level[1] / level[0], 2.0, 0.05);
    // 0.1 and 0.105 fall on the same step of a 0-128 volume scale; here they must differ.
    EXPECT_NEAR(level[2] / level[0], 1.05, 0.02);
    EXPECT_NEAR(level[3] / level[0], 3.08, 0.06) << "26 raises from 0.1 end at 0.308";
    EXPECT_NEAR(level[4] / level[0], 1.0, 0.02) << "and 26 lowers come back to 0.1";
    EXPECT_EQ(level[5], 0.0);

    // The noise is white and centred on zero: no offset, both signs, a flat spectrum.
    const double *noise = &left[spans[1]], *end = noise + span;
    const double mean = std::accumulate(noise, end, 0.0) / span;
    EXPECT_LT(std::abs(mean), 0.05 * level[1]) << "the noise is off centre";
    const double negative = std::count_if(noise, end, [](double s) { return s < 0; });
    EXPECT_NEAR(negative / span, 0.5, 0.05) << "the noise keeps to one side of zero";
    const double lagOne = std::inner_product(noise, end - 1, noise + 1, 0.0) /
                          std::inner_product(noise, end, noise, 0.0);
    EXPECT_NEAR(lagOne, 0.0, 0.05) << "each noise sample follows from the one before";
    // Four-sample sums pass the low band, alternating ones the high band: equal for white noise.
    double low = 0, high = 0;
    for (const double* s = noise; s + 4 <= end; ++s) {
        low += std::pow(s[0] + s[1] + s[2] + s[3], 2);
        high += std::pow(s[0] - s[1] + s[2] - s[3], 2);
    }
    EXPECT_NEAR(high / low, 1.0, 0.15) << "the noise's spectrum is not flat";
}

TEST(SoundRecording, StreamLoopsUntilTheNextStreamReplacesIt) {
    Recording recording("stream");
    const fs::path first = recording.file.string() + ".first.wav";
    const fs::path second = recording.file.string() + ".second.wav";
    const uint32_t length = 4410;
    writeLevelWav(first, 1000, length);
    writeLevelWav(second, 3000, length);
    SoundSystem* sound = gameSound(0, "disk");
    ASSERT_TRUE(recording.waitFor(4096));
    sound->playStream(first);
    ASSERT_TRUE(recording.waitFor(recording.frames() + Recording::settle + 4 * length));
    sound->playStream(second);
    ASSERT_TRUE(recording.waitFor(recording.frames() + Recording::settle + 2 * length));
    delete sound;
    fs::remove(first);
    fs::remove(second);

    std::vector<int> left;
    for (double s : recording.side(0))
        left.push_back(static_cast<int>(std::lround(s * 32768)));
    auto runOf = [&](auto from, int value) {
        return std::find_if(from, left.end(), [&](int s) { return s != value; }) - from;
    };
    auto firstPlayed = std::find(left.begin(), left.end(), 1000);
    auto secondPlayed = std::find(firstPlayed, left.end(), 3000);
    ASSERT_NE(secondPlayed, left.end());
    EXPECT_GT(runOf(firstPlayed, 1000), 3 * length) << "the first stream does not loop";
    EXPECT_GT(runOf(secondPlayed, 3000), length) << "the second stream does not loop";
    // Once the second sounds the first is silent: never alone, never mixed in.
    EXPECT_TRUE(
        std::none_of(secondPlayed, left.end(), [](int s) { return s == 1000 || s == 4000; }));
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
    Recording recording("chime");
    SoundSystem* sound = gameSound(effectCount, "disk");
    ASSERT_TRUE(recording.waitFor(4096));
    const size_t chimeFrom = recording.frames();
    sound->playSound(gestureEffect);
    ASSERT_TRUE(recording.waitFor(chimeFrom + 2 * Recording::settle + 22050));
    // The noise swells as long as a stroke is drawn; two seconds take it to its loudest.
    const size_t noiseFrom = recording.frames();
    sound->startBackground();
    for (int frame = 0; frame < 60; ++frame)
        sound->raiseBackgroundVolume();
    ASSERT_TRUE(recording.waitFor(noiseFrom + 2 * Recording::settle + 22050));
    delete sound;

    const std::vector<double> left = recording.side(0);
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
    // A line the gesture opens speaks in the same frame: the chime is done by the time the
    // line's last, longest syllable begins, 0.14 s in (the old thump lasted 0.24 s).
    EXPECT_LE(seconds, 0.15);
}
