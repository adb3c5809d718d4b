/* The hiss of the game's background noise and of the sound recipes' noisy notes, in one place:
 * xorshift32, one step, the next number of a fixed sequence spread evenly over -1 to 1. Plain C,
 * so that the sound layer and the asset tool can both include it without linking each other. */
#ifndef WANDERKIN_WHITE_NOISE_H
#define WANDERKIN_WHITE_NOISE_H
#include <stdint.h>

static inline double whiteNoise(uint32_t* state) {
    uint32_t x = *state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    *state = x;
    return (double)x / 2147483648.0 - 1.0;
}

#endif
