// The sound object as the engine and parts use it: its tables, the background volume steps,
// one channel per effect, fatal results, and start-up without an audio device.
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;

float channelVolume(FMOD_CHANNEL* channel) {
    float volume = -1;
    EXPECT_EQ(FMOD_Channel_GetVolume(channel, &volume), FMOD_OK);
    return volume;
}

// Death tests only see standard error; the sound system writes its last words to standard
// output, so send those there too.
void withStdoutOnStderr() {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

SoundSystem* gameSound() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SoundSystem* sound = new SoundSystem;
    for (const char* path :
         {"audio/blipn.wav", "audio/bigblip.wav", "audio/good.wav", "audio/bad.wav"})
        sound->loadSound(path);
    return sound;
}

} // namespace

TEST(SoundSystem, TablesGrowWithEachEffectAndTheBackgroundStartsSoft) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SoundSystem* sound = new SoundSystem;
    ASSERT_NE(sound->system, nullptr);
    EXPECT_EQ(sound->sounds.size(), 1u);
    EXPECT_EQ(sound->channels.size(), 1u);
    EXPECT_EQ(sound->sounds[0], nullptr);
    EXPECT_EQ(sound->backgroundChannel, nullptr);
    EXPECT_FLOAT_EQ(sound->backgroundVolume, 0.1f);
    for (const char* path :
         {"audio/blipn.wav", "audio/bigblip.wav", "audio/good.wav", "audio/bad.wav"})
        sound->loadSound(path);
    ASSERT_EQ(sound->sounds.size(), 5u);
    EXPECT_EQ(sound->channels.size(), 6u);
    EXPECT_EQ(sound->sounds[0], nullptr);
    for (size_t i = 1; i < 5; ++i)
        EXPECT_NE(sound->sounds[i], nullptr) << i;

    sound->startBackground();
    ASSERT_NE(sound->backgroundChannel, nullptr);
    EXPECT_EQ(channelVolume(sound->backgroundChannel), 0.1f);
    float waveform = 0;
    EXPECT_EQ(FMOD_DSP_GetParameter(sound->backgroundDsp, FMOD_DSP_OSCILLATOR_TYPE, &waveform),
              FMOD_OK);
    EXPECT_EQ(waveform, 5.0f);
    // The shut-down passes over the empty stream slot and returns.
    delete sound;
}

TEST(SoundSystem, RaisesClimbToJustOverPointThreeAndLowersSinkToJustUnderPointOne) {
    SoundSystem* sound = gameSound();
    sound->startBackground();
    sound->raiseBackgroundVolume();
    EXPECT_EQ(sound->backgroundVolume, static_cast<float>(0.1f + 0.008));
    for (int i = 1; i < 26; ++i)
        sound->raiseBackgroundVolume();
    const float top = sound->backgroundVolume;
    EXPECT_NEAR(top, 0.308, 1e-5);
    EXPECT_GE(top, 0.3f);
    EXPECT_EQ(channelVolume(sound->backgroundChannel), top);
    sound->raiseBackgroundVolume();
    sound->raiseBackgroundVolume();
    EXPECT_EQ(sound->backgroundVolume, top);

    for (int i = 0; i < 25; ++i)
        sound->lowerBackgroundVolume();
    EXPECT_GT(sound->backgroundVolume, 0.1f);
    sound->lowerBackgroundVolume();
    const float bottom = sound->backgroundVolume;
    EXPECT_LT(bottom, 0.1f);
    EXPECT_NEAR(bottom, 0.09999998, 1e-6);
    EXPECT_EQ(channelVolume(sound->backgroundChannel), bottom);
    sound->lowerBackgroundVolume();
    EXPECT_EQ(sound->backgroundVolume, bottom);

    // The fades set the volume directly; the value is kept even where the channel clamps it.
    sound->setBackgroundVolume(1.5f);
    EXPECT_EQ(sound->backgroundVolume, 1.5f);
    EXPECT_EQ(channelVolume(sound->backgroundChannel), 1.0f);
    delete sound;
}

TEST(SoundSystem, EachEffectKeepsItsOwnChannel) {
    SoundSystem* sound = gameSound();
    sound->startBackground();
    sound->playSound(1);
    FMOD_CHANNEL* bigBlip = sound->channels[2];
    ASSERT_NE(bigBlip, nullptr);
    sound->playSound(1);
    EXPECT_EQ(sound->channels[2], bigBlip);
    sound->playSound(0);
    sound->playSound(2);
    sound->playSound(3);
    FMOD_CHANNEL* const used[] = {sound->backgroundChannel, sound->channels[1], sound->channels[2],
                                  sound->channels[3], sound->channels[4]};
    for (size_t i = 0; i < std::size(used); ++i)
        for (size_t j = i + 1; j < std::size(used); ++j)
            EXPECT_NE(used[i], used[j]) << i << " " << j;
    FMOD_BOOL playing = 0;
    EXPECT_EQ(FMOD_Channel_IsPlaying(sound->channels[2], &playing), FMOD_OK);
    EXPECT_TRUE(playing);

    // A second stream takes the place of the first in slot 0.
    sound->playStream("audio/good.wav");
    FMOD_SOUND* firstStream = sound->sounds[0];
    ASSERT_NE(firstStream, nullptr);
    sound->playStream("audio/bad.wav");
    EXPECT_NE(sound->sounds[0], nullptr);
    EXPECT_EQ(FMOD_Sound_Release(firstStream), FMOD_ERR_INVALID_HANDLE);
    delete sound;
}

TEST(SoundSystemDeathTest, FailedResultsEndTheProgramWithTheirMessage) {
    SoundSystem::checkResult(FMOD_OK);
    EXPECT_EXIT((withStdoutOnStderr(), SoundSystem::checkResult(FMOD_ERR_FILE_NOTFOUND)),
                ::testing::ExitedWithCode(255), "^FMOD error! \\(23\\) File not found. \n$");
    EXPECT_EXIT(
        {
            withStdoutOnStderr();
            SoundSystem* sound = gameSound();
            sound->loadSound("audio/no-such-effect.wav");
            std::printf("still running\n");
            std::exit(0);
        },
        ::testing::ExitedWithCode(255), "^FMOD error! \\(23\\) File not found. \n$");
    // An effect number that was never loaded is a bad handle, not a read past the tables.
    EXPECT_EXIT(
        {
            withStdoutOnStderr();
            gameSound()->playSound(4);
        },
        ::testing::ExitedWithCode(255), "^FMOD error! \\(36\\) ");
}

TEST(SoundSystem, NoAudioDeviceLeavesTheGameSilentButRunning) {
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    ::testing::internal::CaptureStdout();
    SoundSystem* sound = new SoundSystem;
    sound->loadSound("audio/blipn.wav");
    sound->startBackground();
    sound->playSound(0);
    std::string said = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("sound is off"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    char driver[32] = "";
    ASSERT_NE(SDL_AudioDriverName(driver, sizeof driver), nullptr);
    EXPECT_STREQ(driver, "dummy");
    FMOD_BOOL playing = 0;
    EXPECT_EQ(FMOD_Channel_IsPlaying(sound->channels[1], &playing), FMOD_OK);
    EXPECT_TRUE(playing);
    delete sound;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST(SoundSystem, OpeningTheWindowLeavesTheSoundRunning) {
    REQUIRE_DISPLAY();
    SoundSystem* sound = gameSound();
    sound->startBackground();
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    EXPECT_TRUE(SDL_WasInit(SDL_INIT_AUDIO));
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    EXPECT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    FMOD_BOOL playing = 0;
    EXPECT_EQ(FMOD_Channel_IsPlaying(sound->backgroundChannel, &playing), FMOD_OK);
    EXPECT_TRUE(playing);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    delete sound;
}

// The real game, started in a folder that has the sheets but no effects, stops at start-up.
TEST(SoundSystem, GameWithoutItsEffectFilesStopsWithTheMissingFileMessage) {
    REQUIRE_DISPLAY();
    fs::path folder = fs::temp_directory_path() / ("wanderkin-noaudio-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::create_directory_symlink(sourcePath("textures"), folder / "textures");
    std::string command = "cd '" + folder.string() + "' && SDL_AUDIODRIVER=dummy '" +
                          WANDERKIN_BINARY + "' 2>/dev/null";
    FILE* game = popen(command.c_str(), "r");
    ASSERT_NE(game, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, game))
        output += buffer;
    int status = pclose(game);
    fs::remove_all(folder);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(WEXITSTATUS(status), 255) << output;
    const std::string last = "FMOD error! (23) File not found. \n";
    ASSERT_GE(output.size(), last.size());
    EXPECT_EQ(output.substr(output.size() - last.size()), last) << output;
}
