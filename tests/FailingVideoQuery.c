/* Preloaded into the game by a test: SDL's video query fails, as no driver here makes it. */
#include <stddef.h>

const void* SDL_GetVideoInfo(void) {
    return NULL;
}
