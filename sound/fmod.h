/* Our own small sound library, built on SDL_mixer: the calls the game's sound object makes, in
 * the style of a commercial C sound API (one system, sounds, channels, a white-noise unit). */
#ifndef WANDERKIN_FMOD_H
#define WANDERKIN_FMOD_H

#ifdef __cplusplus
extern "C" {
#endif

#define FMOD_VERSION 0x00044400 /* 4.44.00, as FMOD_System_GetVersion reports it */

/* The system, sounds and the noise unit are owned by the library. A channel handle is a ticket
 * that goes stale once its channel is handed to another play. */
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
    FMOD_ERR_INVALID_HANDLE = 36,
    FMOD_ERR_INVALID_PARAM = 37,
    FMOD_ERR_MEMORY = 43,
    FMOD_ERR_OUTPUT_INIT = 60
} FMOD_RESULT;

#define FMOD_INIT_NORMAL 0x00000000
/* Sound modes: only the loop flags change anything here. */
#define FMOD_LOOP_OFF 0x00000001
#define FMOD_LOOP_NORMAL 0x00000002
#define FMOD_2D 0x00000008
#define FMOD_HARDWARE 0x00000020
#define FMOD_SOFTWARE 0x00000040

/* A play reuses the channel *channel names, or takes the first free one when that handle is
 * null or stale, so an old handle never cuts off another play. */
typedef enum { FMOD_CHANNEL_REUSE = -2 } FMOD_CHANNELINDEX;
/* The one oscillator makes white noise whatever its parameters say. */
typedef enum { FMOD_DSP_TYPE_OSCILLATOR = 2 } FMOD_DSP_TYPE;
typedef enum { FMOD_DSP_OSCILLATOR_TYPE = 0, FMOD_DSP_OSCILLATOR_RATE = 1 } FMOD_DSP_OSCILLATOR;

/* There is one system. Init starts SDL's audio and the mixer with maxchannels channels; with no
 * usable device it falls back to SDL's silent "dummy" driver and says so in one line on
 * standard output. Close (or Release) stops everything, frees the sounds and shuts the device. */
FMOD_RESULT FMOD_System_Create(FMOD_SYSTEM** system);
FMOD_RESULT FMOD_System_GetVersion(FMOD_SYSTEM* system, unsigned int* version);
FMOD_RESULT FMOD_System_Init(FMOD_SYSTEM* system, int maxchannels, FMOD_INITFLAGS flags,
                             void* extradriverdata);
FMOD_RESULT FMOD_System_Close(FMOD_SYSTEM* system);
FMOD_RESULT FMOD_System_Release(FMOD_SYSTEM* system);

/* A sound or stream is a WAV (or anything else the mixer reads) loaded whole: a missing file
 * gives FMOD_ERR_FILE_NOTFOUND, an unreadable one FMOD_ERR_FILE_BAD, one the mixer cannot
 * decode FMOD_ERR_FORMAT. Release stops the channels that play the sound, then frees it. */
FMOD_RESULT FMOD_System_CreateSound(FMOD_SYSTEM* system, const char* name, FMOD_MODE mode,
                                    FMOD_CREATESOUNDEXINFO* exinfo, FMOD_SOUND** sound);
FMOD_RESULT FMOD_System_CreateStream(FMOD_SYSTEM* system, const char* name, FMOD_MODE mode,
                                     FMOD_CREATESOUNDEXINFO* exinfo, FMOD_SOUND** sound);
FMOD_RESULT FMOD_Sound_Release(FMOD_SOUND* sound);

/* Plays a sound or the noise unit at volume 1 and writes the channel's handle to *channel. */
FMOD_RESULT FMOD_System_PlaySound(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid,
                                  FMOD_SOUND* sound, FMOD_BOOL paused, FMOD_CHANNEL** channel);
FMOD_RESULT FMOD_System_PlayDSP(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelid, FMOD_DSP* dsp,
                                FMOD_BOOL paused, FMOD_CHANNEL** channel);
FMOD_RESULT FMOD_System_CreateDSPByType(FMOD_SYSTEM* system, FMOD_DSP_TYPE type, FMOD_DSP** dsp);
FMOD_RESULT FMOD_DSP_SetParameter(FMOD_DSP* dsp, int index, float value);

/* The volume is a linear gain, kept within 0 to 1: applied in float to every sample of the
 * noise, and in the mixer's 129 steps to a sound. */
FMOD_RESULT FMOD_Channel_SetVolume(FMOD_CHANNEL* channel, float volume);
FMOD_RESULT FMOD_Channel_SetPaused(FMOD_CHANNEL* channel, FMOD_BOOL paused);
FMOD_RESULT FMOD_Channel_Stop(FMOD_CHANNEL* channel);

/* The text for a result: known codes end in a space, anything else is "Unknown error.". */
const char* FMOD_ErrorString(FMOD_RESULT result);

#ifdef __cplusplus
}
#endif

#endif
