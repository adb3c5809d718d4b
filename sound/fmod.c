/* The game's sound library on SDL_mixer: systems own a range of mixer channels, sounds are
 * mixer chunks, and an oscillator unit is rendered by a per-channel mixer effect. */
#include "sound/fmod.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <errno.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum {
    maxSystems = 16,
    maxChannels = 4095,
    outputRate = 44100,
    outputChannels = 2,
    mixBufferFrames = 1024,
    /* A DSP unit plays on its channel as an endless loop of this silence; the channel's effect
     * replaces the silence with the oscillator's signal. */
    silenceFrames = 2048
};

struct FMOD_SOUND {
    FMOD_SYSTEM* system;
    Mix_Chunk* chunk;
    FMOD_MODE mode;
    FMOD_SOUND* next;
};

struct FMOD_DSP {
    FMOD_SYSTEM* system;
    int waveform;
    float rate;
    double phase;  /* 0 to 1 within one period */
    uint32_t noiseState; /* the noise generator's state, never 0 */
    FMOD_DSP* next;
};

/* One mixer channel as the library sees it. The audio thread reads sound, dsp and volume
 * through the channel's effect, so they change only with the audio locked. */
typedef struct {
    uintptr_t generation; /* bumped whenever the channel is handed to a new play */
    FMOD_SOUND* sound;
    FMOD_DSP* dsp;
    float volume;
} Channel;

struct FMOD_SYSTEM {
    int slot;
    int initialised;
    int base; /* first mixer channel of this system */
    int count;
    Channel* channels;
    FMOD_SOUND* sounds;
    FMOD_DSP* dsps;
};

static FMOD_SYSTEM* systems[maxSystems];
static int openSystems = 0;
static int mixerChannelsInUse = 0;
static Mix_Chunk* silence = NULL;
static Uint8* silenceData = NULL;

/* Channel handles: generation, system slot and channel index packed into the pointer value,
 * so a handle kept past its channel's hand-over is recognised as stale. */
static FMOD_CHANNEL* encodeHandle(const FMOD_SYSTEM* system, int index) {
    uintptr_t value = (system->channels[index].generation << 16) | ((uintptr_t)system->slot << 12) |
                      (uintptr_t)(index + 1);
    return (FMOD_CHANNEL*)value;
}

static Channel* decodeHandle(FMOD_CHANNEL* handle, FMOD_SYSTEM** owner, int* index) {
    uintptr_t value = (uintptr_t)handle;
    int i = (int)(value & 0xfff) - 1;
    int slot = (int)((value >> 12) & 0xf);
    FMOD_SYSTEM* system = systems[slot];
    if (!handle || i < 0 || !system || !system->initialised || i >= system->count)
        return NULL;
    if (system->channels[i].generation != value >> 16)
        return NULL;
    if (owner)
        *owner = system;
    if (index)
        *index = i;
    return &system->channels[i];
}

/* xorshift32: cheap, and the same hiss on every run. */
static float nextNoise(uint32_t* noiseState) {
    uint32_t x = *noiseState;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    *noiseState = x;
    return (float)((double)x / 2147483648.0 - 1.0);
}

static float nextOscillatorSample(FMOD_DSP* dsp) {
    double p = dsp->phase;
    float value;
    switch (dsp->waveform) {
    case 0:
        value = (float)sin(2 * M_PI * p);
        break;
    case 1:
        value = p < 0.5 ? 1.0f : -1.0f;
        break;
    case 2:
        value = (float)(2 * p - 1);
        break;
    case 3:
        value = (float)(1 - 2 * p);
        break;
    case 4:
        value = (float)(p < 0.5 ? 4 * p - 1 : 3 - 4 * p);
        break;
    default:
        return nextNoise(&dsp->noiseState);
    }
    dsp->phase = fmod(p + dsp->rate / outputRate, 1.0);
    return value;
}

static Sint16 toSample(float value) {
    long s = lrintf(value * 32767.0f);
    return (Sint16)(s > 32767 ? 32767 : s < -32768 ? -32768 : s);
}

/* Runs in the audio thread on each buffer the channel contributes, before the mixer adds it
 * at full mixer volume: the channel's float volume is applied here, unrounded. */
static void channelEffect(int mixChannel, void* stream, int length, void* userData) {
    Channel* channel = (Channel*)userData;
    Sint16* samples = (Sint16*)stream;
    int count = length / (int)sizeof(Sint16);
    (void)mixChannel;
    if (channel->dsp) {
        for (int i = 0; i + outputChannels <= count; i += outputChannels) {
            Sint16 s = toSample(nextOscillatorSample(channel->dsp) * channel->volume);
            for (int c = 0; c < outputChannels; ++c)
                samples[i + c] = s;
        }
    } else if (channel->volume != 1.0f) {
        for (int i = 0; i < count; ++i)
            samples[i] = toSample(samples[i] / 32767.0f * channel->volume);
    }
}

/* Brings up SDL audio and the mixer for the first system. No usable device is not fatal: the
 * mixer then runs on SDL's silent dummy driver. */
static FMOD_RESULT openOutput(void) {
    char reason[256];
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        if (Mix_OpenAudio(outputRate, AUDIO_S16SYS, outputChannels, mixBufferFrames) == 0)
            return FMOD_OK;
        snprintf(reason, sizeof reason, "%s", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    } else {
        snprintf(reason, sizeof reason, "%s", SDL_GetError());
    }
    printf("No sound device (%s), sound is off\n", reason);
    fflush(stdout);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
        return FMOD_ERR_OUTPUT_INIT;
    if (Mix_OpenAudio(outputRate, AUDIO_S16SYS, outputChannels, mixBufferFrames) < 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return FMOD_ERR_OUTPUT_INIT;
    }
    return FMOD_OK;
}

static void closeOutput(void) {
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

FMOD_RESULT FMOD_System_Create(FMOD_SYSTEM** system) {
    if (!system)
        return FMOD_ERR_INVALID_PARAM;
    for (int slot = 0; slot < maxSystems; ++slot) {
        if (systems[slot])
            continue;
        FMOD_SYSTEM* created = (FMOD_SYSTEM*)calloc(1, sizeof(FMOD_SYSTEM));
        if (!created)
            return FMOD_ERR_MEMORY;
        created->slot = slot;
        systems[slot] = created;
        *system = created;
        return FMOD_OK;
    }
    return FMOD_ERR_MEMORY;
}

FMOD_RESULT FMOD_System_GetVersion(FMOD_SYSTEM* system, unsigned int* version) {
    if (!system)
        return FMOD_ERR_INVALID_HANDLE;
    if (!version)
        return FMOD_ERR_INVALID_PARAM;
    *version = FMOD_VERSION;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Init(FMOD_SYSTEM* system, int maxchannels, FMOD_INITFLAGS flags,
                             void* extradriverdata) {
    (void)flags;
    (void)extradriverdata;
    if (!system)
        return FMOD_ERR_INVALID_HANDLE;
    if (system->initialised)
        return FMOD_ERR_INITIALIZED;
    if (maxchannels < 1 || maxchannels > maxChannels)
        return FMOD_ERR_INVALID_PARAM;
    Channel* channels = (Channel*)calloc((size_t)maxchannels, sizeof(Channel));
    if (!channels)
        return FMOD_ERR_MEMORY;
    if (openSystems == 0) {
        FMOD_RESULT result = openOutput();
        if (result != FMOD_OK) {
            free(channels);
            return result;
        }
        int frequency, outChannels;
        Uint16 format;
        Mix_QuerySpec(&frequency, &format, &outChannels);
        /* The effects write 16-bit stereo; anything else would come out as garbage. */
        if (format != AUDIO_S16SYS || outChannels != outputChannels) {
            closeOutput();
            free(channels);
            return FMOD_ERR_OUTPUT_INIT;
        }
        size_t silenceBytes = silenceFrames * outputChannels * sizeof(Sint16);
        silenceData = (Uint8*)calloc(1, silenceBytes);
        silence = silenceData ? Mix_QuickLoad_RAW(silenceData, (Uint32)silenceBytes) : NULL;
        if (!silence) {
            free(silenceData);
            silenceData = NULL;
            closeOutput();
            free(channels);
            return FMOD_ERR_MEMORY;
        }
        mixerChannelsInUse = 0;
        /* The mixer marks a paused channel with the tick count of the pause, so a pause in the
         * very first millisecond would be lost. */
        while (SDL_GetTicks() == 0)
            SDL_Delay(1);
    }
    system->base = mixerChannelsInUse;
    system->count = maxchannels;
    system->channels = channels;
    mixerChannelsInUse += maxchannels;
    Mix_AllocateChannels(mixerChannelsInUse);
    system->initialised = 1;
    ++openSystems;
    return FMOD_OK;
}

static void haltChannel(FMOD_SYSTEM* system, int index) {
    Mix_HaltChannel(system->base + index);
    system->channels[index].sound = NULL;
    system->channels[index].dsp = NULL;
}

static void freeSound(FMOD_SOUND* sound) {
    FMOD_SYSTEM* system = sound->system;
    for (FMOD_SOUND** link = &system->sounds; *link; link = &(*link)->next) {
        if (*link == sound) {
            *link = sound->next;
            break;
        }
    }
    Mix_FreeChunk(sound->chunk);
    free(sound);
}

static void freeDsp(FMOD_DSP* dsp) {
    FMOD_SYSTEM* system = dsp->system;
    for (FMOD_DSP** link = &system->dsps; *link; link = &(*link)->next) {
        if (*link == dsp) {
            *link = dsp->next;
            break;
        }
    }
    free(dsp);
}

FMOD_RESULT FMOD_System_Close(FMOD_SYSTEM* system) {
    if (!system)
        return FMOD_ERR_INVALID_HANDLE;
    if (!system->initialised)
        return FMOD_ERR_UNINITIALIZED;
    for (int i = 0; i < system->count; ++i)
        haltChannel(system, i);
    while (system->sounds)
        freeSound(system->sounds);
    while (system->dsps)
        freeDsp(system->dsps);
    free(system->channels);
    system->channels = NULL;
    system->count = 0;
    system->initialised = 0;
    if (--openSystems == 0) {
        Mix_FreeChunk(silence);
        free(silenceData);
        silence = NULL;
        silenceData = NULL;
        closeOutput();
        mixerChannelsInUse = 0;
    }
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Release(FMOD_SYSTEM* system) {
    if (!system || systems[system->slot] != system)
        return FMOD_ERR_INVALID_HANDLE;
    if (system->initialised)
        FMOD_System_Close(system);
    systems[system->slot] = NULL;
    free(system);
    return FMOD_OK;
}

/* Tells a missing file from one that exists but cannot be read (a folder, no permission). */
static FMOD_RESULT checkFile(const char* name) {
    FILE* file = fopen(name, "rb");
    if (!file)
        return errno == ENOENT || errno == ENOTDIR ? FMOD_ERR_FILE_NOTFOUND : FMOD_ERR_FILE_BAD;
    char byte;
    size_t got = fread(&byte, 1, 1, file);
    int failed = ferror(file);
    fclose(file);
    (void)got;
    return failed ? FMOD_ERR_FILE_BAD : FMOD_OK;
}

static FMOD_RESULT createSound(FMOD_SYSTEM* system, const char* name, FMOD_MODE mode,
                               FMOD_CREATESOUNDEXINFO* exinfo, FMOD_SOUND** sound) {
    if (!system)
        return FMOD_ERR_INVALID_HANDLE;
    if (!name || !sound || exinfo)
        return FMOD_ERR_INVALID_PARAM;
    if (!system->initialised)
        return FMOD_ERR_UNINITIALIZED;
    FMOD_RESULT readable = checkFile(name);
    if (readable != FMOD_OK)
        return readable;
    FMOD_SOUND* created = (FMOD_SOUND*)calloc(1, sizeof(FMOD_SOUND));
    if (!created)
        return FMOD_ERR_MEMORY;
    created->chunk = Mix_LoadWAV(name);
    if (!created->chunk) {
        free(created);
        return FMOD_ERR_FORMAT;
    }
    created->system = system;
    created->mode = mode;
    created->next = system->sounds;
    system->sounds = created;
    *sound = created;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_CreateSound(FMOD_SYSTEM* system, const char* name, FMOD_MODE mode,
                                    FMOD_CREATESOUNDEXINFO* exinfo, FMOD_SOUND** sound) {
    return createSound(system, name, mode, exinfo, sound);
}

FMOD_RESULT FMOD_System_CreateStream(FMOD_SYSTEM* system, const char* name, FMOD_MODE mode,
                                     FMOD_CREATESOUNDEXINFO* exinfo, FMOD_SOUND** sound) {
    return createSound(system, name, mode, exinfo, sound);
}

static int soundIsLive(const FMOD_SOUND* sound) {
    for (int slot = 0; sound && slot < maxSystems; ++slot)
        for (FMOD_SOUND* s = systems[slot] ? systems[slot]->sounds : NULL; s; s = s->next)
            if (s == sound)
                return 1;
    return 0;
}

static int dspIsLive(const FMOD_DSP* dsp) {
    for (int slot = 0; dsp && slot < maxSystems; ++slot)
        for (FMOD_DSP* d = systems[slot] ? systems[slot]->dsps : NULL; d; d = d->next)
            if (d == dsp)
                return 1;
    return 0;
}

FMOD_RESULT FMOD_Sound_Release(FMOD_SOUND* sound) {
    if (!soundIsLive(sound))
        return FMOD_ERR_INVALID_HANDLE;
    FMOD_SYSTEM* system = sound->system;
    SDL_LockAudio();
    for (int i = 0; i < system->count; ++i)
        if (system->channels[i].sound == sound)
            haltChannel(system, i);
    SDL_UnlockAudio();
    freeSound(sound);
    return FMOD_OK;
}

/* Chooses the channel for a play: the one *handle names when reusing and the handle is still
 * good, else the first idle one (which then starts a new generation). */
static FMOD_RESULT pickChannel(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid,
                               FMOD_CHANNEL* const* handle, int* index) {
    if (channelid == FMOD_CHANNEL_REUSE) {
        FMOD_SYSTEM* owner = NULL;
        if (decodeHandle(*handle, &owner, index) && owner == system)
            return FMOD_OK;
    } else if (channelid != FMOD_CHANNEL_FREE) {
        return FMOD_ERR_INVALID_PARAM;
    }
    for (int i = 0; i < system->count; ++i) {
        if (!Mix_Playing(system->base + i)) {
            system->channels[i].generation += 1;
            *index = i;
            return FMOD_OK;
        }
    }
    return FMOD_ERR_CHANNEL_ALLOC;
}

static FMOD_RESULT play(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid, FMOD_SOUND* sound,
                        FMOD_DSP* dsp, FMOD_BOOL paused, FMOD_CHANNEL** handle) {
    if (!handle)
        return FMOD_ERR_INVALID_PARAM;
    int index;
    FMOD_RESULT result = pickChannel(system, channelid, handle, &index);
    if (result != FMOD_OK)
        return result;
    Channel* channel = &system->channels[index];
    int mixChannel = system->base + index;
    Mix_Chunk* chunk = sound ? sound->chunk : silence;
    int loops = (sound && !(sound->mode & FMOD_LOOP_NORMAL)) ? 0 : -1;
    /* Locked throughout, so the mixer never plays the new chunk without its effect, nor a
     * paused start unpaused. */
    SDL_LockAudio();
    haltChannel(system, index);
    channel->sound = sound;
    channel->dsp = dsp;
    channel->volume = 1.0f;
    int started = Mix_PlayChannel(mixChannel, chunk, loops) >= 0 &&
                  Mix_RegisterEffect(mixChannel, channelEffect, NULL, channel) != 0;
    if (started && paused)
        Mix_Pause(mixChannel);
    if (!started)
        haltChannel(system, index);
    SDL_UnlockAudio();
    if (!started)
        return FMOD_ERR_CHANNEL_ALLOC;
    *handle = encodeHandle(system, index);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_PlaySound(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid,
                                  FMOD_SOUND* sound, FMOD_BOOL paused, FMOD_CHANNEL** channel) {
    if (!system)
        return FMOD_ERR_INVALID_HANDLE;
    if (!system->initialised)
        return FMOD_ERR_UNINITIALIZED;
    if (!soundIsLive(sound) || sound->system != system)
        return FMOD_ERR_INVALID_HANDLE;
    return play(system, channelid, sound, NULL, paused, channel);
}

FMOD_RESULT FMOD_System_PlayDSP(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid, FMOD_DSP* dsp,
                                FMOD_BOOL paused, FMOD_CHANNEL** channel) {
    if (!system)
        return FMOD_ERR_INVALID_HANDLE;
    if (!system->initialised)
        return FMOD_ERR_UNINITIALIZED;
    if (!dspIsLive(dsp) || dsp->system != system)
        return FMOD_ERR_INVALID_HANDLE;
    return play(system, channelid, NULL, dsp, paused, channel);
}

FMOD_RESULT FMOD_System_CreateDSPByType(FMOD_SYSTEM* system, FMOD_DSP_TYPE type, FMOD_DSP** dsp) {
    if (!system)
        return FMOD_ERR_INVALID_HANDLE;
    if (!dsp)
        return FMOD_ERR_INVALID_PARAM;
    if (!system->initialised)
        return FMOD_ERR_UNINITIALIZED;
    if (type != FMOD_DSP_TYPE_OSCILLATOR)
        return FMOD_ERR_UNSUPPORTED;
    FMOD_DSP* created = (FMOD_DSP*)calloc(1, sizeof(FMOD_DSP));
    if (!created)
        return FMOD_ERR_MEMORY;
    created->system = system;
    created->waveform = 0;
    created->rate = 220.0f;
    created->noiseState = 0x9e3779b9u;
    created->next = system->dsps;
    system->dsps = created;
    *dsp = created;
    return FMOD_OK;
}

FMOD_RESULT FMOD_DSP_SetParameter(FMOD_DSP* dsp, int index, float value) {
    if (!dspIsLive(dsp))
        return FMOD_ERR_INVALID_HANDLE;
    if (index == FMOD_DSP_OSCILLATOR_TYPE) {
        if (!(value >= 0.0f && value <= 5.0f) || value != floorf(value))
            return FMOD_ERR_INVALID_PARAM;
        SDL_LockAudio();
        dsp->waveform = (int)value;
        SDL_UnlockAudio();
        return FMOD_OK;
    }
    if (index == FMOD_DSP_OSCILLATOR_RATE) {
        if (!(value >= 1.0f && value <= 22000.0f))
            return FMOD_ERR_INVALID_PARAM;
        SDL_LockAudio();
        dsp->rate = value;
        SDL_UnlockAudio();
        return FMOD_OK;
    }
    return FMOD_ERR_INVALID_PARAM;
}

FMOD_RESULT FMOD_DSP_GetParameter(FMOD_DSP* dsp, int index, float* value) {
    if (!dspIsLive(dsp))
        return FMOD_ERR_INVALID_HANDLE;
    if (!value)
        return FMOD_ERR_INVALID_PARAM;
    if (index == FMOD_DSP_OSCILLATOR_TYPE)
        *value = (float)dsp->waveform;
    else if (index == FMOD_DSP_OSCILLATOR_RATE)
        *value = dsp->rate;
    else
        return FMOD_ERR_INVALID_PARAM;
    return FMOD_OK;
}

FMOD_RESULT FMOD_DSP_Release(FMOD_DSP* dsp) {
    if (!dspIsLive(dsp))
        return FMOD_ERR_INVALID_HANDLE;
    FMOD_SYSTEM* system = dsp->system;
    SDL_LockAudio();
    for (int i = 0; i < system->count; ++i)
        if (system->channels[i].dsp == dsp)
            haltChannel(system, i);
    SDL_UnlockAudio();
    freeDsp(dsp);
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_SetVolume(FMOD_CHANNEL* handle, float volume) {
    Channel* channel = decodeHandle(handle, NULL, NULL);
    if (!channel)
        return FMOD_ERR_INVALID_HANDLE;
    if (volume != volume)
        return FMOD_ERR_INVALID_PARAM;
    SDL_LockAudio();
    channel->volume = volume < 0.0f ? 0.0f : volume > 1.0f ? 1.0f : volume;
    SDL_UnlockAudio();
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_GetVolume(FMOD_CHANNEL* handle, float* volume) {
    Channel* channel = decodeHandle(handle, NULL, NULL);
    if (!channel)
        return FMOD_ERR_INVALID_HANDLE;
    if (!volume)
        return FMOD_ERR_INVALID_PARAM;
    *volume = channel->volume;
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_SetPaused(FMOD_CHANNEL* handle, FMOD_BOOL paused) {
    FMOD_SYSTEM* system;
    int index;
    if (!decodeHandle(handle, &system, &index))
        return FMOD_ERR_INVALID_HANDLE;
    if (paused)
        Mix_Pause(system->base + index);
    else
        Mix_Resume(system->base + index);
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_GetPaused(FMOD_CHANNEL* handle, FMOD_BOOL* paused) {
    FMOD_SYSTEM* system;
    int index;
    if (!decodeHandle(handle, &system, &index))
        return FMOD_ERR_INVALID_HANDLE;
    if (!paused)
        return FMOD_ERR_INVALID_PARAM;
    *paused = Mix_Paused(system->base + index) != 0;
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_IsPlaying(FMOD_CHANNEL* handle, FMOD_BOOL* isplaying) {
    FMOD_SYSTEM* system;
    int index;
    if (!decodeHandle(handle, &system, &index))
        return FMOD_ERR_INVALID_HANDLE;
    if (!isplaying)
        return FMOD_ERR_INVALID_PARAM;
    *isplaying = Mix_Playing(system->base + index) != 0;
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_Stop(FMOD_CHANNEL* handle) {
    FMOD_SYSTEM* system;
    int index;
    if (!decodeHandle(handle, &system, &index))
        return FMOD_ERR_INVALID_HANDLE;
    SDL_LockAudio();
    haltChannel(system, index);
    SDL_UnlockAudio();
    return FMOD_OK;
}

const char* FMOD_ErrorString(FMOD_RESULT result) {
    switch (result) {
    case FMOD_OK:
        return "No errors. ";
    case FMOD_ERR_CHANNEL_ALLOC:
        return "Error trying to allocate a channel. ";
    case FMOD_ERR_FILE_BAD:
        return "Error loading file. ";
    case FMOD_ERR_FILE_NOTFOUND:
        return "File not found. ";
    case FMOD_ERR_FORMAT:
        return "Unsupported file or audio format. ";
    case FMOD_ERR_INITIALIZED:
        return "Cannot call this command after the system is initialised. ";
    case FMOD_ERR_INVALID_HANDLE:
        return "An invalid object handle was used. ";
    case FMOD_ERR_INVALID_PARAM:
        return "An invalid parameter was passed to this function. ";
    case FMOD_ERR_MEMORY:
        return "Not enough memory or resources. ";
    case FMOD_ERR_OUTPUT_INIT:
        return "Error initializing output device. ";
    case FMOD_ERR_UNINITIALIZED:
        return "This command failed because the system was not initialised. ";
    case FMOD_ERR_UNSUPPORTED:
        return "A command issued was not supported by this object. ";
    }
    return "Unknown error.";
}
