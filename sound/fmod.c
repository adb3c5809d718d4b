/* Our own small sound library on SDL_mixer, offering the calls the game's sound object makes:
 * the one system's channels are mixer channels and sounds are mixer chunks; the noise unit has a
 * channel of its own past the mixer's, which the mixer's post-mix hook adds to every block. */
#include "sound/fmod.h"

#include "sound/WhiteNoise.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum {
    indexBits = 12, /* a channel handle: generation above, index + 1 in these bits */
    maxChannels = (1 << indexBits) - 1,
    outputRate = 44100,
    outputChannels = 2,
    mixBufferFrames = 1024
};

struct FMOD_SOUND {
    Mix_Chunk* chunk;
    int loops; /* -1: for ever */
    FMOD_SOUND* next;
};

struct FMOD_DSP {
    int unused;
};

struct FMOD_SYSTEM {
    int count; /* mixer channels, 0 until Init; the noise channel is the one after them */
    FMOD_SOUND* sounds;
};

/* The noise channel as the audio thread reads it, so it changes only with the audio locked. */
typedef struct {
    int playing;
    int paused;
    uint32_t state; /* the noise generator's state, never 0 */
    float volume;
} Noise;

static FMOD_SYSTEM theSystem;
/* Each channel's generation, bumped whenever the channel is handed to a new play. */
static uintptr_t generations[maxChannels + 1];
static FMOD_DSP noiseUnit;
static Noise noise;

/* Returns the channel's index, or -1 for a null handle or one whose channel has since been
 * handed to another play. */
static int findChannel(FMOD_CHANNEL* handle) {
    uintptr_t value = (uintptr_t)handle;
    int i = (int)(value & maxChannels) - 1;
    return i >= 0 && i <= theSystem.count && generations[i] == value >> indexBits ? i : -1;
}

static int isNoiseChannel(int index) {
    return index == theSystem.count;
}

/* xorshift32: cheap, and the same hiss on every run, spread evenly over -1 to 1. */
static Sint16 clampSample(long s) {
    return (Sint16)(s > 32767 ? 32767 : s < -32768 ? -32768 : s);
}

/* Runs in the audio thread on every mixed block, in place: the noise at its channel's float
 * volume, unrounded, the same on both sides, added to what the mixer's channels made. */
static void addNoise(void* userData, Uint8* stream, int length) {
    Sint16* samples = (Sint16*)stream;
    int count = length / (int)sizeof(Sint16);
    (void)userData;
    for (int i = 0; noise.playing && !noise.paused && i + outputChannels <= count;
         i += outputChannels) {
        const long s = lrintf((float)whiteNoise(&noise.state) * noise.volume * 32767.0f);
        samples[i] = clampSample(samples[i] + s);
        samples[i + 1] = clampSample(samples[i + 1] + s);
    }
}

/* SDL 1.2 has no hints, so the dummy driver is asked for through the environment; the old value
 * goes back at once, or child processes and later code would inherit the choice. */
static int initDummyAudio(void) {
    const char* old = getenv("SDL_AUDIODRIVER");
    char* saved = old ? strdup(old) : NULL;
    if (old && !saved)
        return -1;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    int result = SDL_InitSubSystem(SDL_INIT_AUDIO);
    if (saved)
        setenv("SDL_AUDIODRIVER", saved, 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    free(saved);
    return result;
}

static void closeOutput(void) {
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

/* Opens the mixer in the 16-bit stereo the effects write; anything else would come out as
 * garbage. */
static int openMixer(void) {
    int frequency, channelCount;
    Uint16 format;
    if (Mix_OpenAudio(outputRate, AUDIO_S16SYS, outputChannels, mixBufferFrames) < 0)
        return 0;
    if (Mix_QuerySpec(&frequency, &format, &channelCount) && format == AUDIO_S16SYS &&
        channelCount == outputChannels)
        return 1;
    SDL_SetError("the mixer gave no 16-bit stereo");
    return 0;
}

/* No usable device is not fatal: the mixer then runs on SDL's silent dummy driver. */
static FMOD_RESULT openOutput(void) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && openMixer())
        return FMOD_OK;
    printf("No sound device (%s), sound is off\n", SDL_GetError());
    fflush(stdout);
    /* Even a failed start leaves SDL's audio marked as started; unless it is shut first, the
     * retry would start nothing and the mixer would pick the driver later, by then restored. */
    closeOutput();
    if (initDummyAudio() == 0 && openMixer())
        return FMOD_OK;
    closeOutput();
    return FMOD_ERR_OUTPUT_INIT;
}

/* There is one system; the system arguments below always name it. */
FMOD_RESULT FMOD_System_Create(FMOD_SYSTEM** system) {
    *system = &theSystem;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_GetVersion(FMOD_SYSTEM* system, unsigned int* version) {
    (void)system;
    *version = FMOD_VERSION;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Init(FMOD_SYSTEM* system, int maxchannels, FMOD_INITFLAGS flags,
                             void* extradriverdata) {
    (void)system, (void)flags, (void)extradriverdata;
    if (maxchannels < 1 || maxchannels > maxChannels)
        return FMOD_ERR_INVALID_PARAM;
    FMOD_RESULT result = openOutput();
    if (result != FMOD_OK)
        return result;
    Mix_AllocateChannels(maxchannels);
    theSystem.count = maxchannels;
    Mix_SetPostMix(addNoise, NULL);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Close(FMOD_SYSTEM* system) {
    (void)system;
    Mix_SetPostMix(NULL, NULL);
    Mix_HaltChannel(-1);
    noise.playing = 0;
    while (theSystem.sounds)
        FMOD_Sound_Release(theSystem.sounds);
    theSystem.count = 0;
    closeOutput();
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Release(FMOD_SYSTEM* system) {
    return theSystem.count ? FMOD_System_Close(system) : FMOD_OK;
}

FMOD_RESULT FMOD_System_CreateSound(FMOD_SYSTEM* system, const char* name, FMOD_MODE mode,
                                    FMOD_CREATESOUNDEXINFO* exinfo, FMOD_SOUND** sound) {
    (void)system, (void)exinfo;
    FMOD_SOUND* created = (FMOD_SOUND*)calloc(1, sizeof(FMOD_SOUND));
    if (!created)
        return FMOD_ERR_MEMORY;
    if (!(created->chunk = Mix_LoadWAV(name))) {
        free(created);
        /* A missing file, one that cannot be read, or one the mixer cannot decode. */
        return access(name, F_OK)   ? FMOD_ERR_FILE_NOTFOUND
               : access(name, R_OK) ? FMOD_ERR_FILE_BAD
                                    : FMOD_ERR_FORMAT;
    }
    created->loops = mode & FMOD_LOOP_NORMAL ? -1 : 0;
    created->next = theSystem.sounds;
    theSystem.sounds = *sound = created;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_CreateStream(FMOD_SYSTEM* system, const char* name, FMOD_MODE mode,
                                     FMOD_CREATESOUNDEXINFO* exinfo, FMOD_SOUND** sound) {
    return FMOD_System_CreateSound(system, name, mode, exinfo, sound);
}

/* Returns the link that points at the sound, or null if it is not one of ours. */
static FMOD_SOUND** soundLink(const FMOD_SOUND* sound) {
    FMOD_SOUND** link = &theSystem.sounds;
    while (*link && *link != sound)
        link = &(*link)->next;
    return sound && *link ? link : NULL;
}

FMOD_RESULT FMOD_Sound_Release(FMOD_SOUND* sound) {
    FMOD_SOUND** link = soundLink(sound);
    if (!link)
        return FMOD_ERR_INVALID_HANDLE;
    for (int i = 0; i < theSystem.count; ++i)
        if (Mix_GetChunk(i) == sound->chunk)
            Mix_HaltChannel(i);
    *link = sound->next;
    Mix_FreeChunk(sound->chunk);
    free(sound);
    return FMOD_OK;
}

/* A handle to a channel, naming its present play. */
static FMOD_CHANNEL* handleOf(int index) {
    return (FMOD_CHANNEL*)(generations[index] << indexBits | (uintptr_t)(index + 1));
}

/* The only channel choice is FMOD_CHANNEL_REUSE: the mixer channel the handle names while that
 * handle is still good, else the first idle one, which then starts a new generation. */
FMOD_RESULT FMOD_System_PlaySound(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid,
                                  FMOD_SOUND* sound, FMOD_BOOL paused, FMOD_CHANNEL** handle) {
    (void)system, (void)channelid;
    if (!soundLink(sound))
        return FMOD_ERR_INVALID_HANDLE;
    int index = findChannel(*handle);
    if (isNoiseChannel(index))
        index = -1;
    for (int i = 0; index < 0 && i < theSystem.count; ++i)
        if (!Mix_Playing(i))
            generations[index = i] += 1;
    if (index < 0)
        return FMOD_ERR_CHANNEL_ALLOC;
    /* Locked, so the mixer never plays a paused start for a moment. */
    SDL_LockAudio();
    Mix_Volume(index, MIX_MAX_VOLUME);
    int started = Mix_PlayChannel(index, sound->chunk, sound->loops) >= 0;
    if (started && paused)
        Mix_Pause(index);
    SDL_UnlockAudio();
    if (!started)
        return FMOD_ERR_CHANNEL_ALLOC;
    *handle = handleOf(index);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_PlayDSP(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid, FMOD_DSP* dsp,
                                FMOD_BOOL paused, FMOD_CHANNEL** handle) {
    (void)system, (void)channelid;
    if (dsp != &noiseUnit)
        return FMOD_ERR_INVALID_HANDLE;
    const int index = theSystem.count;
    if (findChannel(*handle) != index)
        generations[index] += 1;
    SDL_LockAudio();
    noise = (Noise){1, paused, 0x9e3779b9u, 1.0f};
    SDL_UnlockAudio();
    *handle = handleOf(index);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_CreateDSPByType(FMOD_SYSTEM* system, FMOD_DSP_TYPE type, FMOD_DSP** dsp) {
    (void)system, (void)type;
    *dsp = &noiseUnit;
    return FMOD_OK;
}

/* The noise unit has no parameters that change it: noise is its only waveform, and noise has
 * no rate. */
FMOD_RESULT FMOD_DSP_SetParameter(FMOD_DSP* dsp, int index, float value) {
    (void)index, (void)value;
    return dsp == &noiseUnit ? FMOD_OK : FMOD_ERR_INVALID_HANDLE;
}

FMOD_RESULT FMOD_Channel_SetVolume(FMOD_CHANNEL* handle, float volume) {
    int index = findChannel(handle);
    if (index < 0)
        return FMOD_ERR_INVALID_HANDLE;
    volume = !(volume > 0.0f) ? 0.0f : volume > 1.0f ? 1.0f : volume; /* nan: 0 */
    SDL_LockAudio();
    if (isNoiseChannel(index))
        noise.volume = volume;
    else
        Mix_Volume(index, (int)lrintf(volume * MIX_MAX_VOLUME));
    SDL_UnlockAudio();
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_SetPaused(FMOD_CHANNEL* handle, FMOD_BOOL paused) {
    int index = findChannel(handle);
    if (index < 0)
        return FMOD_ERR_INVALID_HANDLE;
    SDL_LockAudio();
    if (isNoiseChannel(index))
        noise.paused = paused;
    else
        paused ? Mix_Pause(index) : Mix_Resume(index);
    SDL_UnlockAudio();
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_Stop(FMOD_CHANNEL* handle) {
    int index = findChannel(handle);
    if (index < 0)
        return FMOD_ERR_INVALID_HANDLE;
    SDL_LockAudio();
    if (isNoiseChannel(index))
        noise.playing = 0;
    else
        Mix_HaltChannel(index);
    SDL_UnlockAudio();
    return FMOD_OK;
}

static const char* const errorTexts[] = {
    [FMOD_OK] = "No errors. ",
    [FMOD_ERR_CHANNEL_ALLOC] = "Error trying to allocate a channel. ",
    [FMOD_ERR_FILE_BAD] = "Error loading file. ",
    [FMOD_ERR_FILE_NOTFOUND] = "File not found. ",
    [FMOD_ERR_FORMAT] = "Unsupported file or audio format. ",
    [FMOD_ERR_INVALID_HANDLE] = "An invalid object handle was used. ",
    [FMOD_ERR_INVALID_PARAM] = "An invalid parameter was passed to this function. ",
    [FMOD_ERR_MEMORY] = "Not enough memory or resources. ",
    [FMOD_ERR_OUTPUT_INIT] = "Error initializing output device. ",
};

const char* FMOD_ErrorString(FMOD_RESULT result) {
    int known = result >= 0 && result < (int)(sizeof errorTexts / sizeof *errorTexts);
    return known && errorTexts[result] ? errorTexts[result] : "Unknown error.";
}
