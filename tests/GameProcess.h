// Runs the real game binary for end-to-end tests: started from the repository root on the X
// display in DISPLAY with its standard output and error kept in files, driven with real X input
// (the XTest extension, as a desktop's input arrives), and watched through grabs of the screen.
#pragma once
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/TestSupport.h"

struct _XDisplay;

class GameProcess {
  public:
    // Starts the game with extra environment settings ("NAME=value", or "NAME" to unset) on a
    // black screen; a failure to reach the display fails the test and starts nothing.
    explicit GameProcess(const std::vector<std::string>& environment = {});
    ~GameProcess(); // kills a game still running

    bool running() const;
    bool waitForExit(int seconds = 60); // true when it ended in time, its status in exitCode
    std::string output(bool errors = false) const; // its standard output, or error

    // A key pressed and released by its X name ("space", "Up"), the left button, and the mouse
    // moved by (dx, dy) screen pixels.
    void key(const std::string& name) const;
    void button(bool down) const;
    void nudge(int dx, int dy) const;
    Picture grab() const; // the whole screen as it is now
    // Grabs, a frame apart, until `seen` holds, for `seconds` at most; false if it never did or
    // the game ended.
    bool waitFor(const std::function<bool(const Picture&)>& seen, int seconds = 60) const;

    mutable int exitCode = -1;
    pid_t pid = -1;

  private:
    std::string files; // the output files' common path
    _XDisplay* x = nullptr;
};
