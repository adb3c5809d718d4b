// Millisecond stopwatch over SDL's tick counter.
#include "app/Timer.h"

#include <SDL/SDL.h>

void Timer::start() {
    started = true;
    startTicks = SDL_GetTicks();
}

int Timer::ticks() const {
    if (!started)
        return 0;
    return static_cast<int>(SDL_GetTicks() - startTicks);
}

int Timer::frameSleep(int elapsedMs) {
    // A frame that took the whole frame time or more starts the next one at once.
    return elapsedMs < frameMs ? frameMs - elapsedMs : 0;
}
