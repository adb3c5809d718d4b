// Millisecond stopwatch over SDL's tick counter; paces the frame loop.
#pragma once
#include <cstdint>

class Timer {
  public:
    // Takes the current tick count as the new start.
    void start();
    // Milliseconds since the last start, or 0 if never started.
    int ticks() const;
    // How long a frame that took `elapsedMs` should sleep to last 33 ms (0 when it is late).
    static int frameSleep(int elapsedMs);

    // The length of a frame: the game runs at about 30 frames a second.
    static constexpr int frameMs = 33;

    uint32_t startTicks = 0;
    bool started = false;
};
