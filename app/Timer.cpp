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
    return elapsedMs <= 32 ? 33 - elapsedMs : 0;
}
