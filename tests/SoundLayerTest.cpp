// The sound library on its own (silent dummy output): result texts, loading failures, channel
// handles and their reuse, volumes, the oscillator's parameters, two systems side by side.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "sound/fmod.h"

namespace {

namespace fs = std::filesystem;

// A quiet mono tone long enough to be still playing whenever a test looks.
std::string writeLongWav() {
    fs::path path =
        fs::temp_directory_path() / ("wanderkin-long-" + std::to_string(getpid()) + ".wav");
    const uint32_t frames = 44100 * 4;
    std::ofstream out(path, std::ios::binary);
    auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.put(static_cast<char>((value >> (8 * i)) & 0xff));
    };
    out << "RIFF";
    put(36 + frames * 2, 4);
    out << "WAVEfmt ";
    put(16, 4), put(1, 2), put(1, 2), put(44100, 4), put(88200, 4), put(2, 2), put(16, 2);
    out << "data";
    put(frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i)
        put(static_cast<uint16_t>((i / 50) % 2 ? 1000 : -1000), 2);
    return path.string();
}

class SoundLayer : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
        ASSERT_EQ(FMOD_System_Init(system, 25, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
        longWav = writeLongWav();
    }
    void TearDown() override {
        EXPECT_EQ(FMOD_System_Close(system), FMOD_OK);
        EXPECT_EQ(FMOD_System_Release(system), FMOD_OK);
        fs::remove(longWav);
    }
    FMOD_SOUND* load(const std::string& path) {
        FMOD_SOUND* sound = nullptr;
        EXPECT_EQ(
            FMOD_System_CreateSound(system, path.c_str(), FMOD_LOOP_OFF | FMOD_2D, nullptr, &sound),
            FMOD_OK);
        return sound;
    }
    bool playing(FMOD_CHANNEL* channel) {
        FMOD_BOOL isPlaying = 0;
        return FMOD_Channel_IsPlaying(channel, &isPlaying) == FMOD_OK && isPlaying;
    }

    FMOD_SYSTEM* system = nullptr;
    std::string longWav;
};

} // namespace

TEST(SoundLayerResults, EveryFailureHasItsOwnTextAndTheVersionIsNewEnough) {
    EXPECT_STREQ(FMOD_ErrorString(FMOD_ERR_FILE_NOTFOUND), "File not found. ");
    EXPECT_EQ(FMOD_ERR_FILE_NOTFOUND, 23);
    const FMOD_RESULT failures[] = {
        FMOD_ERR_CHANNEL_ALLOC, FMOD_ERR_FILE_BAD,       FMOD_ERR_FILE_NOTFOUND, FMOD_ERR_FORMAT,
        FMOD_ERR_INITIALIZED,   FMOD_ERR_INVALID_HANDLE, FMOD_ERR_INVALID_PARAM, FMOD_ERR_MEMORY,
        FMOD_ERR_OUTPUT_INIT,   FMOD_ERR_UNINITIALIZED,  FMOD_ERR_UNSUPPORTED};
    std::set<std::string> texts;
    for (FMOD_RESULT failure : failures) {
        std::string text = FMOD_ErrorString(failure);
        EXPECT_NE(failure, FMOD_OK);
        EXPECT_EQ(text.back(), ' ') << failure;
        EXPECT_NE(text, "Unknown error.") << failure;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), std::size(failures));
    EXPECT_STREQ(FMOD_ErrorString(static_cast<FMOD_RESULT>(1)), "Unknown error.");
    EXPECT_STREQ(FMOD_ErrorString(static_cast<FMOD_RESULT>(-7)), "Unknown error.");
    EXPECT_STREQ(FMOD_ErrorString(static_cast<FMOD_RESULT>(12345)), "Unknown error.");

    FMOD_SYSTEM* system = nullptr;
    ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
    unsigned int version = 0;
    EXPECT_EQ(FMOD_System_GetVersion(system, &version), FMOD_OK);
    EXPECT_GT(version, 0x41806u);
    // Nothing can be loaded before the output is up, and the system cannot start twice.
    FMOD_SOUND* sound = nullptr;
    EXPECT_EQ(FMOD_System_CreateSound(system, "audio/blipn.wav", FMOD_DEFAULT, nullptr, &sound),
              FMOD_ERR_UNINITIALIZED);
    EXPECT_EQ(FMOD_System_Init(system, 0, FMOD_INIT_NORMAL, nullptr), FMOD_ERR_INVALID_PARAM);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(FMOD_System_Init(system, 4, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    EXPECT_EQ(FMOD_System_Init(system, 4, FMOD_INIT_NORMAL, nullptr), FMOD_ERR_INITIALIZED);
    EXPECT_EQ(FMOD_System_Release(system), FMOD_OK);
}

TEST_F(SoundLayer, LoadingTellsMissingUnreadableAndUndecodableFilesApart) {
    FMOD_SOUND* sound = nullptr;
    EXPECT_EQ(
        FMOD_System_CreateSound(system, "audio/no-such-effect.wav", FMOD_DEFAULT, nullptr, &sound),
        FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(
        FMOD_System_CreateSound(system, "audio/blipn.wav/inside", FMOD_DEFAULT, nullptr, &sound),
        FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(FMOD_System_CreateSound(system, "audio", FMOD_DEFAULT, nullptr, &sound),
              FMOD_ERR_FILE_BAD);
    fs::path garbage =
        fs::temp_directory_path() / ("wanderkin-garbage-" + std::to_string(getpid()) + ".wav");
    std::ofstream(garbage) << "this is not a sound file, only words pretending to be one";
    EXPECT_EQ(FMOD_System_CreateStream(system, garbage.c_str(), FMOD_DEFAULT, nullptr, &sound),
              FMOD_ERR_FORMAT);
    fs::remove(garbage);
    EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(FMOD_System_CreateSound(system, nullptr, FMOD_DEFAULT, nullptr, &sound),
              FMOD_ERR_INVALID_PARAM);

    sound = load("audio/blipn.wav");
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(FMOD_Sound_Release(sound), FMOD_OK);
    EXPECT_EQ(FMOD_Sound_Release(sound), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(FMOD_Sound_Release(nullptr), FMOD_ERR_INVALID_HANDLE);
    FMOD_CHANNEL* channel = nullptr;
    EXPECT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, sound, false, &channel),
              FMOD_ERR_INVALID_HANDLE);
}

TEST_F(SoundLayer, ReusedHandleKeepsItsChannelAndAStaleOneNeverCutsAnotherSoundOff) {
    FMOD_SOUND* first = load(longWav);
    FMOD_SOUND* second = load(longWav);
    FMOD_CHANNEL* firstChannel = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, first, false, &firstChannel),
              FMOD_OK);
    FMOD_CHANNEL* const firstHandle = firstChannel;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, first, false, &firstChannel),
              FMOD_OK);
    EXPECT_EQ(firstChannel, firstHandle);
    EXPECT_TRUE(playing(firstChannel));

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
    EXPECT_NE(thief, firstHandle);
    EXPECT_EQ(FMOD_Channel_SetVolume(firstHandle, 0.5f), FMOD_ERR_INVALID_HANDLE);
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, first, false, &firstChannel),
              FMOD_OK);
    EXPECT_NE(firstChannel, thief);
    EXPECT_NE(firstChannel, secondChannel);
    EXPECT_TRUE(playing(thief));
    EXPECT_TRUE(playing(secondChannel));

    // Releasing a sound silences its channels only.
    EXPECT_EQ(FMOD_Sound_Release(first), FMOD_OK);
    EXPECT_FALSE(playing(firstChannel));
    EXPECT_TRUE(playing(secondChannel));
    EXPECT_EQ(FMOD_Channel_Stop(nullptr), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(
        FMOD_System_PlaySound(system, static_cast<FMOD_CHANNELINDEX>(-9), second, false, &thief),
        FMOD_ERR_INVALID_PARAM);
}

TEST_F(SoundLayer, ChannelsRunOutAtTheSystemsLimit) {
    FMOD_SYSTEM* small = nullptr;
    ASSERT_EQ(FMOD_System_Create(&small), FMOD_OK);
    ASSERT_EQ(FMOD_System_Init(small, 2, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    FMOD_SOUND* sound = nullptr;
    ASSERT_EQ(FMOD_System_CreateSound(small, longWav.c_str(), FMOD_DEFAULT, nullptr, &sound),
              FMOD_OK);
    FMOD_CHANNEL* a = nullptr;
    FMOD_CHANNEL* b = nullptr;
    FMOD_CHANNEL* c = nullptr;
    EXPECT_EQ(FMOD_System_PlaySound(small, FMOD_CHANNEL_FREE, sound, false, &a), FMOD_OK);
    EXPECT_EQ(FMOD_System_PlaySound(small, FMOD_CHANNEL_FREE, sound, false, &b), FMOD_OK);
    EXPECT_EQ(FMOD_System_PlaySound(small, FMOD_CHANNEL_FREE, sound, false, &c),
              FMOD_ERR_CHANNEL_ALLOC);
    EXPECT_EQ(c, nullptr);

    // The two systems share the device but not their channels, and closing one leaves the
    // other playing.
    FMOD_SOUND* mine = load(longWav);
    FMOD_CHANNEL* other = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, mine, false, &other), FMOD_OK);
    EXPECT_NE(other, a);
    EXPECT_NE(other, b);
    EXPECT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, sound, false, &c),
              FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(FMOD_System_Close(small), FMOD_OK);
    EXPECT_EQ(FMOD_Channel_Stop(a), FMOD_ERR_INVALID_HANDLE);
    EXPECT_TRUE(playing(other));
    EXPECT_EQ(FMOD_System_Release(small), FMOD_OK);
    EXPECT_TRUE(playing(other));
}

TEST_F(SoundLayer, OscillatorParametersVolumesAndPausing) {
    FMOD_DSP* dsp = nullptr;
    EXPECT_EQ(FMOD_System_CreateDSPByType(system, FMOD_DSP_TYPE_MIXER, &dsp), FMOD_ERR_UNSUPPORTED);
    ASSERT_EQ(FMOD_System_CreateDSPByType(system, FMOD_DSP_TYPE_OSCILLATOR, &dsp), FMOD_OK);
    EXPECT_EQ(FMOD_DSP_SetParameter(dsp, FMOD_DSP_OSCILLATOR_RATE, 440.0f), FMOD_OK);
    EXPECT_EQ(FMOD_DSP_SetParameter(dsp, FMOD_DSP_OSCILLATOR_TYPE, 5.0f), FMOD_OK);
    for (float bad : {6.0f, -1.0f, 2.5f})
        EXPECT_EQ(FMOD_DSP_SetParameter(dsp, FMOD_DSP_OSCILLATOR_TYPE, bad), FMOD_ERR_INVALID_PARAM)
            << bad;
    EXPECT_EQ(FMOD_DSP_SetParameter(dsp, FMOD_DSP_OSCILLATOR_RATE, 0.0f), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(FMOD_DSP_SetParameter(dsp, 7, 1.0f), FMOD_ERR_INVALID_PARAM);
    float value = 0;
    EXPECT_EQ(FMOD_DSP_GetParameter(dsp, FMOD_DSP_OSCILLATOR_TYPE, &value), FMOD_OK);
    EXPECT_EQ(value, 5.0f);
    EXPECT_EQ(FMOD_DSP_GetParameter(dsp, FMOD_DSP_OSCILLATOR_RATE, &value), FMOD_OK);
    EXPECT_EQ(value, 440.0f);

    FMOD_CHANNEL* channel = nullptr;
    ASSERT_EQ(FMOD_System_PlayDSP(system, FMOD_CHANNEL_REUSE, dsp, true, &channel), FMOD_OK);
    FMOD_BOOL paused = 0;
    EXPECT_EQ(FMOD_Channel_GetPaused(channel, &paused), FMOD_OK);
    EXPECT_TRUE(paused);
    EXPECT_EQ(FMOD_Channel_SetPaused(channel, false), FMOD_OK);
    EXPECT_EQ(FMOD_Channel_GetPaused(channel, &paused), FMOD_OK);
    EXPECT_FALSE(paused);
    EXPECT_TRUE(playing(channel));

    // Volumes are kept as given, not rounded to a coarse scale; out of range is clamped.
    float volume = 0;
    EXPECT_EQ(FMOD_Channel_GetVolume(channel, &volume), FMOD_OK);
    EXPECT_EQ(volume, 1.0f);
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
    EXPECT_EQ(FMOD_DSP_SetParameter(dsp, FMOD_DSP_OSCILLATOR_TYPE, 5.0f), FMOD_ERR_INVALID_HANDLE);
}
