// The game's sound on silent output, and as SDL's disk driver records it (in its own process).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <set>

#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace fs = std::filesystem;

static const char* effects[] = {"audio/blipn.wav", "audio/bigblip.wav", "audio/good.wav",
                                "audio/bad.wav"};

static SoundSystem* gameSound(int loads = 4, const char* driver = "dummy") {
    setenv("SDL_AUDIODRIVER", driver, 1);
    SoundSystem* sound = new SoundSystem;
    for (int i = 0; i < loads; ++i)
        sound->loadSound(effects[i]);
    return sound;
}

static bool playing(FMOD_CHANNEL* channel) {
    FMOD_BOOL isPlaying = 0;
    return FMOD_Channel_IsPlaying(channel, &isPlaying) == FMOD_OK && isPlaying;
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

TEST(SoundSystem, SlotsVolumeStepsAndOneChannelPerEffect) {
    SoundSystem* sound = gameSound(0);
    auto slots = [&] { return std::vector<size_t>{sound->sounds.size(), sound->channels.size()}; };
    EXPECT_EQ(slots(), (std::vector<size_t>{1, 1}));
    for (const char* path : effects)
        sound->loadSound(path);
    EXPECT_EQ(slots(), (std::vector<size_t>{5, 6}));
    sound->startBackground();
    // 26 steps of 0.008 up from 0.1, then 26 down; a 27th step either way changes nothing.
    for (bool up : {true, false}) {
        for (int i = 0; i < 27; ++i)
            up ? sound->raiseBackgroundVolume() : sound->lowerBackgroundVolume();
        float onChannel = -1;
        FMOD_Channel_GetVolume(sound->backgroundChannel, &onChannel);
        EXPECT_EQ(onChannel, sound->backgroundVolume);
        EXPECT_NEAR(onChannel, up ? 0.308 : 0.1, 1e-5);
    }
    EXPECT_LT(sound->backgroundVolume, 0.1f);
    // Replaying an effect that still sounds keeps its channel; each effect has its own.
    sound->playSound(1);
    FMOD_CHANNEL* const bigBlip = sound->channels[2];
    for (int n : {1, 0, 2, 3})
        sound->playSound(n);
    EXPECT_TRUE(sound->channels[2] == bigBlip && playing(bigBlip));
    std::set<FMOD_CHANNEL*> used(sound->channels.begin() + 1, sound->channels.end() - 1);
    used.insert(sound->backgroundChannel);
    EXPECT_EQ(used.size(), 5u);
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
    sound->startBackground();
    sound->playSound(0);
    // One line only: this also shows the version check passed.
    const std::string said = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("sound is off"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_TRUE(playing(sound->channels[1]));
    delete sound;
}

TEST(SoundAssets, ToolRebuildsTheCommittedEffectsExactly) {
    fs::path out = fs::temp_directory_path() / ("wanderkin-sounds-" + std::to_string(getpid()));
    std::string command = std::string("'") + WANDERKIN_ASSETGEN + "' '" + sourcePath("assets") +
                          "' '" + out.string() + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (std::string file : effects)
        EXPECT_TRUE(readBytes(out / file) == readBytes(sourcePath(file)))
            << file << " differs from what its recipe makes: run assetgen and commit the result";
    fs::remove_all(out);
}

TEST(SoundRecording, EffectAndBackgroundNoiseComeOutAsPlayed) {
    fs::path file = fs::temp_directory_path() / ("wanderkin-rec-" + std::to_string(getpid()));
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    auto frames = [&]() -> size_t { return fs::exists(file) ? fs::file_size(file) / 4 : 0; };
    SoundSystem* sound = gameSound(2, "disk");
    usleep(300000);
    const size_t played = frames();
    sound->playSound(1);
    usleep(800000);
    sound->startBackground();
    std::vector<std::pair<size_t, size_t>> spans;
    for (float volume : {0.1f, 0.2f, 0.105f, 0.0f}) {
        sound->setBackgroundVolume(volume);
        usleep(150000); // what was mixed before the change may still be reaching the file
        size_t from = frames();
        usleep(300000);
        spans.push_back({from, frames()});
    }
    delete sound;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::vector<char> bytes = readBytes(file);
    fs::remove(file);
    const std::vector<double> left = samples(bytes, 0, 4), right = samples(bytes, 2, 4);
    const std::vector<double> effect = samples(readBytes(effects[1]), 44, 2);
    ASSERT_GE(left.size(), spans.back().second);
    const double* l = left.data();
    EXPECT_TRUE(left == right) << "the two sides differ";
    auto sounding = [](double s) { return s != 0; };
    size_t start = std::find_if(left.begin(), left.end(), sounding) - left.begin();
    ASSERT_LT(start - played, 44100u / 5) << "the effect started early, late or not at all";
    start -= std::find_if(effect.begin(), effect.end(), sounding) - effect.begin();
    for (size_t i = 0; i < effect.size(); ++i)
        ASSERT_NEAR(left[start + i], effect[i], 0.005) << i;
    std::vector<double> level;
    for (auto [from, to] : spans)
        level.push_back(
            std::sqrt(std::inner_product(l + from, l + to, l + from, 0.0) / (to - from)));
    // White noise spread evenly over full scale has an RMS of 1/sqrt(3) of its volume.
    EXPECT_NEAR(level[0], 0.1 / std::sqrt(3.0), 0.003);
    EXPECT_NEAR(level[1] / level[0], 2.0, 0.05);
    // 0.1 and 0.105 fall on the same step of a 0-128 volume scale; here they must differ.
    EXPECT_NEAR(level[2] / level[0], 1.05, 0.02);
    EXPECT_EQ(level[3], 0.0);
}
