// The game's sound, mostly on silent output. The recording test has SDL's disk driver write the
// mixed output (16-bit stereo) to a file; it needs its own process, as the test command gives.
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;

const char* const effects[] = {"audio/blipn.wav", "audio/bigblip.wav", "audio/good.wav",
                               "audio/bad.wav"};

SoundSystem* gameSound(int loads = 4) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SoundSystem* sound = new SoundSystem;
    for (int i = 0; i < loads; ++i)
        sound->loadSound(effects[i]);
    return sound;
}

float channelVolume(FMOD_CHANNEL* channel) {
    float volume = -1;
    EXPECT_EQ(FMOD_Channel_GetVolume(channel, &volume), FMOD_OK);
    return volume;
}

bool playing(FMOD_CHANNEL* channel) {
    FMOD_BOOL isPlaying = 0;
    return FMOD_Channel_IsPlaying(channel, &isPlaying) == FMOD_OK && isPlaying;
}

// Death tests only see standard error; the sound system's last words go to standard output.
void withStdoutOnStderr() {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

std::vector<char> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

// Every stride-th 16-bit sample from byte `from` on, as fractions of full scale.
std::vector<double> samples(const std::vector<char>& bytes, size_t from, size_t stride) {
    std::vector<double> out;
    for (int16_t s; from + 2 <= bytes.size(); from += stride) {
        std::memcpy(&s, &bytes[from], 2);
        out.push_back(s / 32768.0);
    }
    return out;
}

} // namespace

TEST(SoundSystem, TablesAndTheBackgroundVolumeSteps) {
    SoundSystem* sound = gameSound(0);
    EXPECT_EQ(sound->sounds.size(), 1u);
    EXPECT_EQ(sound->channels.size(), 1u);
    for (const char* path : effects)
        sound->loadSound(path);
    EXPECT_EQ(sound->sounds.size(), 5u);
    EXPECT_EQ(sound->channels.size(), 6u);
    sound->startBackground();
    EXPECT_EQ(channelVolume(sound->backgroundChannel), 0.1f);
    for (int i = 0; i < 26; ++i)
        sound->raiseBackgroundVolume();
    const float top = sound->backgroundVolume;
    EXPECT_NEAR(top, 0.308, 1e-5);
    EXPECT_EQ(channelVolume(sound->backgroundChannel), top);
    sound->raiseBackgroundVolume();
    EXPECT_EQ(sound->backgroundVolume, top);
    for (int i = 0; i < 26; ++i)
        sound->lowerBackgroundVolume();
    const float bottom = sound->backgroundVolume;
    EXPECT_LT(bottom, 0.1f);
    EXPECT_NEAR(bottom, 0.1, 1e-6);
    EXPECT_EQ(channelVolume(sound->backgroundChannel), bottom);
    sound->lowerBackgroundVolume();
    EXPECT_EQ(sound->backgroundVolume, bottom);
    delete sound; // passes over the empty stream slot
}

TEST(SoundSystem, EachEffectKeepsItsOwnChannelUntilAnotherSoundTakesIt) {
    SoundSystem* sound = gameSound();
    sound->startBackground();
    sound->playSound(1);
    FMOD_CHANNEL* const bigBlip = sound->channels[2];
    sound->playSound(1);
    EXPECT_EQ(sound->channels[2], bigBlip);
    for (int n : {0, 2, 3})
        sound->playSound(n);
    std::set<FMOD_CHANNEL*> used(sound->channels.begin() + 1, sound->channels.end() - 1);
    used.insert(sound->backgroundChannel);
    EXPECT_EQ(used.size(), 5u);
    EXPECT_TRUE(playing(bigBlip));

    // Once an effect's channel is idle and handed to another sound, the effect's handle is
    // stale: its next play takes a fresh channel instead of cutting the other sound off.
    FMOD_SOUND* loop = nullptr;
    ASSERT_EQ(FMOD_System_CreateSound(sound->system, effects[0], FMOD_LOOP_NORMAL, nullptr, &loop),
              FMOD_OK);
    FMOD_CHANNEL* other = nullptr;
    ASSERT_EQ(FMOD_Channel_Stop(sound->channels[1]), FMOD_OK);
    ASSERT_EQ(FMOD_System_PlaySound(sound->system, FMOD_CHANNEL_FREE, loop, false, &other),
              FMOD_OK);
    sound->playSound(0);
    EXPECT_NE(sound->channels[1], other);
    EXPECT_TRUE(playing(other));
    delete sound;
}

TEST(SoundSystemDeathTest, FailedResultsEndTheProgramWithTheirMessage) {
    const char* const notFound = "^FMOD error! \\(23\\) File not found. \n$";
    EXPECT_EXIT((withStdoutOnStderr(), SoundSystem::checkResult(FMOD_ERR_FILE_NOTFOUND)),
                ::testing::ExitedWithCode(255), notFound);
    EXPECT_EXIT((withStdoutOnStderr(), gameSound()->loadSound("audio/no-such-effect.wav")),
                ::testing::ExitedWithCode(255), notFound);
    // An effect number that was never loaded is a bad handle, not a read past the tables.
    EXPECT_EXIT((withStdoutOnStderr(), gameSound()->playSound(4)), ::testing::ExitedWithCode(255),
                "^FMOD error! \\(36\\) ");
}

TEST(SoundSystem, NoAudioDeviceLeavesTheGameSilentButRunning) {
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    ::testing::internal::CaptureStdout();
    SoundSystem* sound = new SoundSystem;
    sound->loadSound(effects[0]);
    sound->startBackground();
    sound->playSound(0);
    // One line only: this also shows the version check passed.
    std::string said = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("sound is off"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_TRUE(playing(sound->channels[1]));
    delete sound;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST(SoundAssets, ToolRebuildsTheCommittedEffectsExactly) {
    if (std::string(WANDERKIN_ASSETGEN).empty())
        GTEST_SKIP() << "the asset tool was not built";
    fs::path out = fs::temp_directory_path() / ("wanderkin-sounds-" + std::to_string(getpid()));
    std::string command = std::string("'") + WANDERKIN_ASSETGEN + "' '" + sourcePath("assets") +
                          "' '" + out.string() + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (std::string name : {"blipn", "bigblip", "good", "bad"}) {
        std::string file = "audio/" + name + ".wav";
        std::vector<char> built = readBytes(out / file);
        EXPECT_TRUE(!built.empty() && built == readBytes(sourcePath(file)))
            << file << " differs from what its recipe makes: run assetgen and commit the result";
    }
    fs::remove_all(out);
}

TEST(SoundRecording, EffectAndBackgroundNoiseComeOutAsPlayed) {
    fs::path file = fs::temp_directory_path() / ("wanderkin-rec-" + std::to_string(getpid()));
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    auto frames = [&]() -> size_t { return fs::exists(file) ? fs::file_size(file) / 4 : 0; };
    SoundSystem* sound = new SoundSystem;
    sound->loadSound("audio/bigblip.wav");
    SDL_Delay(300);
    const size_t played = frames();
    sound->playSound(0);
    SDL_Delay(800);
    const size_t noiseStart = frames();
    sound->startBackground();
    std::vector<std::pair<size_t, size_t>> spans;
    for (float volume : {0.1f, 0.2f, 0.105f, 0.0f}) {
        sound->setBackgroundVolume(volume);
        SDL_Delay(150); // what was mixed before the change may still be reaching the file
        size_t from = frames();
        SDL_Delay(300);
        spans.push_back({from, frames()});
    }
    delete sound;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::vector<char> bytes = readBytes(file);
    fs::remove(file);
    const std::vector<double> left = samples(bytes, 0, 4), right = samples(bytes, 2, 4);
    const std::vector<double> effect = samples(readBytes("audio/bigblip.wav"), 44, 2);
    ASSERT_GT(effect.size(), 1000u);
    ASSERT_GE(left.size(), spans.back().second);
    // The effect comes out whole, on both sides, soon after it was played, and nothing else.
    size_t start = 0, offset = 0;
    while (start < left.size() && left[start] == 0)
        ++start;
    while (effect[offset] == 0)
        ++offset;
    ASSERT_GE(start, played) << "sound before the effect was played";
    ASSERT_LT(start, played + 44100 / 5) << "the effect started late or not at all";
    start -= offset;
    for (size_t i = 0; i < effect.size(); ++i) {
        ASSERT_NEAR(left[start + i], effect[i], 0.005) << i;
        ASSERT_NEAR(right[start + i], effect[i], 0.005) << i;
    }
    for (size_t i = start + effect.size(); i < noiseStart; ++i)
        ASSERT_EQ(left[i], 0) << "sound after the effect ended, frame " << i;
    std::vector<double> level;
    for (auto [from, to] : spans) {
        EXPECT_GT(to, from + 4410) << "too little was recorded";
        double sum = 0;
        for (size_t i = from; i < to; ++i)
            sum += left[i] * left[i];
        level.push_back(std::sqrt(sum / (to - from)));
    }
    // White noise spread evenly over full scale has an RMS of 1/sqrt(3) of its volume.
    EXPECT_NEAR(level[0], 0.1 / std::sqrt(3.0), 0.003);
    EXPECT_NEAR(level[1] / level[0], 2.0, 0.05);
    // 0.1 and 0.105 fall on the same step of a 0-128 volume scale; here they must differ.
    EXPECT_NEAR(level[2] / level[0], 1.05, 0.02);
    EXPECT_EQ(level[3], 0.0);
}
