/* The game's sound library: a small C interface in the style of FMOD Ex (systems, sounds,
 * channels, an oscillator DSP, numbered results), carried by SDL_mixer. */
#ifndef WANDERKIN_FMOD_H
#define WANDERKIN_FMOD_H

#ifdef __cplusplus
extern "C" {
#endif

/* Reported by FMOD_System_GetVersion: 4.44.00. */
#define FMOD_VERSION 0x00044400

/* Opaque handles. Systems, sounds and DSP units are objects owned by the library; channel
 * handles are tickets that go stale once their channel is handed to another sound. */
typedef struct FMOD_SYSTEM FMOD_SYSTEM;
typedef struct FMOD_SOUND FMOD_SOUND;
typedef struct FMOD_CHANNEL FMOD_CHANNEL;
typedef struct FMOD_DSP FMOD_DSP;
typedef struct FMOD_CREATESOUNDEXINFO FMOD_CREATESOUNDEXINFO;

typedef int FMOD_BOOL;
typedef unsigned int FMOD_INITFLAGS;
typedef unsigned int FMOD_MODE;

typedef enum {
    FMOD_OK = 0,
    FMOD_ERR_CHANNEL_ALLOC = 9,
    FMOD_ERR_FILE_BAD = 19,
    FMOD_ERR_FILE_NOTFOUND = 23,
    FMOD_ERR_FORMAT = 25,
    FMOD_ERR_INITIALIZED = 33,
    FMOD_ERR_INVALID_HANDLE = 36,
    FMOD_ERR_INVALID_PARAM = 37,
    FMOD_ERR_MEMORY = 43,
    FMOD_ERR_OUTPUT_INIT = 60,
    FMOD_ERR_UNINITIALIZED = 76,
    FMOD_ERR_UNSUPPORTED = 78
} FMOD_RESULT;

#define FMOD_INIT_NORMAL 0x00000000

#define FMOD_DEFAULT 0x00000000
#define FMOD_LOOP_OFF 0x00000001
#define FMOD_LOOP_NORMAL 0x00000002
#define FMOD_2D 0x00000008
#define FMOD_HARDWARE 0x00000020
#define FMOD_SOFTWARE 0x00000040

/* Channel choice for the play calls: any free channel, or the one the passed-in handle names
 * (a free one if that handle is null or stale). */
typedef enum { FMOD_CHANNEL_FREE = -1, FMOD_CHANNEL_REUSE = -2 } FMOD_CHANNELINDEX;

typedef enum {
    FMOD_DSP_TYPE_UNKNOWN = 0,
    FMOD_DSP_TYPE_MIXER = 1,
    FMOD_DSP_TYPE_OSCILLATOR = 2
} FMOD_DSP_TYPE;

/* Oscillator parameters. TYPE: 0 sine, 1 square, 2 saw up, 3 saw down, 4 triangle, 5 white
 * noise. RATE: frequency in Hz, 1 to 22000 (noise ignores it). */
typedef enum { FMOD_DSP_OSCILLATOR_TYPE = 0, FMOD_DSP_OSCILLATOR_RATE = 1 } FMOD_DSP_OSCILLATOR;

/* The system. Create, then Init once: Init starts SDL's audio subsystem and opens the mixer
 * with maxchannels channels. Without a usable audio device it falls back to SDL's silent
 * "dummy" driver and says so on standard output. Close stops everything and shuts the device;
 * Release frees the system and whatever sounds and DSP units are still alive. */
FMOD_RESULT FMOD_System_Create(FMOD_SYSTEM** system);
FMOD_RESULT FMOD_System_GetVersion(FMOD_SYSTEM* system, unsigned int* version);
FMOD_RESULT FMOD_System_Init(FMOD_SYSTEM* system, int maxchannels, FMOD_INITFLAGS flags,
                             void* extradriverdata);
FMOD_RESULT FMOD_System_Close(FMOD_SYSTEM* system);
FMOD_RESULT FMOD_System_Release(FMOD_SYSTEM* system);

/* Sounds: a WAV (or anything else the mixer reads) loaded whole and converted to the output
 * format. A stream is the same, looping when its mode says FMOD_LOOP_NORMAL. exinfo must be
 * null. A missing file gives FMOD_ERR_FILE_NOTFOUND, an unreadable one FMOD_ERR_FILE_BAD, a
 * file the mixer cannot decode FMOD_ERR_FORMAT. */
FMOD_RESULT FMOD_System_CreateSound(FMOD_SYSTEM* system, const char* name, FMOD_MODE mode,
                                    FMOD_CREATESOUNDEXINFO* exinfo, FMOD_SOUND** sound);
FMOD_RESULT FMOD_System_CreateStream(FMOD_SYSTEM* system, const char* name, FMOD_MODE mode,
                                     FMOD_CREATESOUNDEXINFO* exinfo, FMOD_SOUND** sound);
/* Stops every channel that plays the sound, then frees it. */
FMOD_RESULT FMOD_Sound_Release(FMOD_SOUND* sound);

/* Plays a sound or a DSP unit on a channel chosen by channelid and *channel (see
 * FMOD_CHANNELINDEX), at volume 1, and writes the channel's handle to *channel. */
FMOD_RESULT FMOD_System_PlaySound(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid,
                                  FMOD_SOUND* sound, FMOD_BOOL paused, FMOD_CHANNEL** channel);
FMOD_RESULT FMOD_System_PlayDSP(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid, FMOD_DSP* dsp,
                                FMOD_BOOL paused, FMOD_CHANNEL** channel);

/* DSP units: only the oscillator is made. */
FMOD_RESULT FMOD_System_CreateDSPByType(FMOD_SYSTEM* system, FMOD_DSP_TYPE type, FMOD_DSP** dsp);
FMOD_RESULT FMOD_DSP_SetParameter(FMOD_DSP* dsp, int index, float value);
FMOD_RESULT FMOD_DSP_GetParameter(FMOD_DSP* dsp, int index, float* value);
/* Stops the channels that play the unit, then frees it. */
FMOD_RESULT FMOD_DSP_Release(FMOD_DSP* dsp);

/* Channels. The volume is a linear gain from 0 to 1 applied in float to every sample. */
FMOD_RESULT FMOD_Channel_SetVolume(FMOD_CHANNEL* channel, float volume);
FMOD_RESULT FMOD_Channel_GetVolume(FMOD_CHANNEL* channel, float* volume);
FMOD_RESULT FMOD_Channel_SetPaused(FMOD_CHANNEL* channel, FMOD_BOOL paused);
FMOD_RESULT FMOD_Channel_GetPaused(FMOD_CHANNEL* channel, FMOD_BOOL* paused);
FMOD_RESULT FMOD_Channel_IsPlaying(FMOD_CHANNEL* channel, FMOD_BOOL* isplaying);
FMOD_RESULT FMOD_Channel_Stop(FMOD_CHANNEL* channel);

/* The text for a result: known codes end in a space, anything else is "Unknown error.". */
const char* FMOD_ErrorString(FMOD_RESULT result);

#ifdef __cplusplus
}
#endif

#endif
