// The sound library on its own (silent dummy output): result texts, loading failures, channel
// handles and their reuse, channel limits, volumes and the oscillator's parameters.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "sound/fmod.h"

namespace {

class SoundLayer : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
        ASSERT_EQ(FMOD_System_Init(system, 25, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    }
    void TearDown() override {
        EXPECT_EQ(FMOD_System_Close(system), FMOD_OK);
        EXPECT_EQ(FMOD_System_Release(system), FMOD_OK);
    }
    // Looping, so it is still playing whenever a test looks.
    FMOD_SOUND* loadLooping(FMOD_SYSTEM* owner) {
        FMOD_SOUND* sound = nullptr;
        EXPECT_EQ(
            FMOD_System_CreateSound(owner, "audio/bigblip.wav", FMOD_LOOP_NORMAL, nullptr, &sound),
            FMOD_OK);
        return sound;
    }
    bool playing(FMOD_CHANNEL* channel) {
        FMOD_BOOL isPlaying = 0;
        return FMOD_Channel_IsPlaying(channel, &isPlaying) == FMOD_OK && isPlaying;
    }
    FMOD_RESULT loadStatus(const std::string& path) {
        FMOD_SOUND* sound = nullptr;
        return FMOD_System_CreateSound(system, path.c_str(), FMOD_DEFAULT, nullptr, &sound);
    }

    FMOD_SYSTEM* system = nullptr;
};

} // namespace

TEST(SoundLayerResults, EveryFailureHasItsOwnTextAndTheVersionIsNewEnough) {
    EXPECT_EQ(FMOD_ERR_FILE_NOTFOUND, 23);
    EXPECT_STREQ(FMOD_ErrorString(FMOD_ERR_FILE_NOTFOUND), "File not found. ");
    const FMOD_RESULT failures[] = {
        FMOD_ERR_CHANNEL_ALLOC, FMOD_ERR_FILE_BAD,       FMOD_ERR_FILE_NOTFOUND, FMOD_ERR_FORMAT,
        FMOD_ERR_INITIALIZED,   FMOD_ERR_INVALID_HANDLE, FMOD_ERR_INVALID_PARAM, FMOD_ERR_MEMORY,
        FMOD_ERR_OUTPUT_INIT,   FMOD_ERR_UNINITIALIZED,  FMOD_ERR_UNSUPPORTED};
    std::set<std::string> texts;
    for (FMOD_RESULT failure : failures) {
        std::string text = FMOD_ErrorString(failure);
        EXPECT_EQ(text.back(), ' ') << failure;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), std::size(failures));
    for (int other : {1, -7, 12345})
        EXPECT_STREQ(FMOD_ErrorString(static_cast<FMOD_RESULT>(other)), "Unknown error.");

    FMOD_SYSTEM* system = nullptr;
    ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
    unsigned int version = 0;
    EXPECT_EQ(FMOD_System_GetVersion(system, &version), FMOD_OK);
    EXPECT_GT(version, 0x41806u);
    FMOD_SOUND* sound = nullptr;
    EXPECT_EQ(FMOD_System_CreateSound(system, "audio/blipn.wav", FMOD_DEFAULT, nullptr, &sound),
              FMOD_ERR_UNINITIALIZED);
    EXPECT_EQ(FMOD_System_Release(system), FMOD_OK);
}

TEST_F(SoundLayer, LoadingTellsMissingUnreadableAndUndecodableFilesApart) {
    EXPECT_EQ(loadStatus("audio/no-such-effect.wav"), FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(loadStatus("audio/blipn.wav/inside"), FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(loadStatus("audio"), FMOD_ERR_FILE_BAD);
    std::string garbage = std::filesystem::temp_directory_path() /
                          ("wanderkin-garbage-" + std::to_string(getpid()) + ".wav");
    std::ofstream(garbage) << "only words pretending to be a sound";
    EXPECT_EQ(loadStatus(garbage), FMOD_ERR_FORMAT);
    std::filesystem::remove(garbage);

    FMOD_SOUND* sound = loadLooping(system);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(FMOD_Sound_Release(sound), FMOD_OK);
    EXPECT_EQ(FMOD_Sound_Release(sound), FMOD_ERR_INVALID_HANDLE);
    FMOD_CHANNEL* channel = nullptr;
    EXPECT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, sound, false, &channel),
              FMOD_ERR_INVALID_HANDLE);
}

TEST_F(SoundLayer, ReusedHandleKeepsItsChannelAndAStaleOneNeverCutsAnotherSoundOff) {
    FMOD_SOUND* first = loadLooping(system);
    FMOD_SOUND* second = loadLooping(system);
    FMOD_CHANNEL* firstChannel = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, first, false, &firstChannel),
              FMOD_OK);
    FMOD_CHANNEL* const firstHandle = firstChannel;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, first, false, &firstChannel),
              FMOD_OK);
    EXPECT_EQ(firstChannel, firstHandle);
    FMOD_CHANNEL* secondChannel = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, second, false, &secondChannel),
              FMOD_OK);
    EXPECT_NE(secondChannel, firstChannel);
    EXPECT_TRUE(playing(firstChannel));
    EXPECT_TRUE(playing(secondChannel));

    // Once its channel is idle and handed to another sound, the first handle is stale: using it
    // again must take a fresh channel, not the one now playing the other sound.
    ASSERT_EQ(FMOD_Channel_Stop(firstChannel), FMOD_OK);
    EXPECT_FALSE(playing(firstChannel));
    FMOD_CHANNEL* thief = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, second, false, &thief), FMOD_OK);
    EXPECT_EQ(FMOD_Channel_SetVolume(firstHandle, 0.5f), FMOD_ERR_INVALID_HANDLE);
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, first, false, &firstChannel),
              FMOD_OK);
    EXPECT_NE(firstChannel, thief);
    EXPECT_TRUE(playing(thief));

    // Releasing a sound silences its own channels only.
    EXPECT_EQ(FMOD_Sound_Release(first), FMOD_OK);
    EXPECT_FALSE(playing(firstChannel));
    EXPECT_TRUE(playing(secondChannel));
}

TEST_F(SoundLayer, OscillatorParametersVolumesAndPausing) {
    FMOD_DSP* dsp = nullptr;
    ASSERT_EQ(FMOD_System_CreateDSPByType(system, FMOD_DSP_TYPE_OSCILLATOR, &dsp), FMOD_OK);
    EXPECT_EQ(FMOD_DSP_SetParameter(dsp, FMOD_DSP_OSCILLATOR_RATE, 440.0f), FMOD_OK);
    EXPECT_EQ(FMOD_DSP_SetParameter(dsp, FMOD_DSP_OSCILLATOR_TYPE, 5.0f), FMOD_OK);
    EXPECT_EQ(FMOD_DSP_SetParameter(dsp, FMOD_DSP_OSCILLATOR_TYPE, 6.0f), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(FMOD_DSP_SetParameter(dsp, FMOD_DSP_OSCILLATOR_TYPE, 2.5f), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(FMOD_DSP_SetParameter(dsp, FMOD_DSP_OSCILLATOR_RATE, 0.0f), FMOD_ERR_INVALID_PARAM);
    float waveform = 0;
    EXPECT_EQ(FMOD_DSP_GetParameter(dsp, FMOD_DSP_OSCILLATOR_TYPE, &waveform), FMOD_OK);
    EXPECT_EQ(waveform, 5.0f);

    FMOD_CHANNEL* channel = nullptr;
    ASSERT_EQ(FMOD_System_PlayDSP(system, FMOD_CHANNEL_REUSE, dsp, true, &channel), FMOD_OK);
    FMOD_BOOL paused = 0;
    EXPECT_EQ(FMOD_Channel_GetPaused(channel, &paused), FMOD_OK);
    EXPECT_TRUE(paused);
    EXPECT_EQ(FMOD_Channel_SetPaused(channel, false), FMOD_OK);
    EXPECT_EQ(FMOD_Channel_GetPaused(channel, &paused), FMOD_OK);
    EXPECT_FALSE(paused);

    // Volumes are kept as given, not rounded to a coarse scale; out of range is clamped.
    float volume = 0;
    EXPECT_EQ(FMOD_Channel_SetVolume(channel, 0.1234567f), FMOD_OK);
    EXPECT_EQ(FMOD_Channel_GetVolume(channel, &volume), FMOD_OK);
    EXPECT_EQ(volume, 0.1234567f);
    EXPECT_EQ(FMOD_Channel_SetVolume(channel, 3.0f), FMOD_OK);
    EXPECT_EQ(FMOD_Channel_GetVolume(channel, &volume), FMOD_OK);
    EXPECT_EQ(volume, 1.0f);
    EXPECT_EQ(FMOD_Channel_SetVolume(channel, std::nanf("")), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(FMOD_Channel_SetVolume(nullptr, 0.5f), FMOD_ERR_INVALID_HANDLE);

    EXPECT_EQ(FMOD_DSP_Release(dsp), FMOD_OK);
    EXPECT_FALSE(playing(channel));
}
