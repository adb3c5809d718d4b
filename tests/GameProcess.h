// Runs the real game binary for end-to-end tests: started from the repository root on an X
// display with its standard output kept in a file, driven with real X input through xdotool,
// and watched through grabs of the whole X screen.
#pragma once
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/TestSupport.h"

class GameProcess {
  public:
    // Starts the game with extra environment settings ("NAME=value", or "NAME" to unset) on
    // `display` (the test's own $DISPLAY when empty).
    explicit GameProcess(const std::vector<std::string>& environment = {},
                         const std::string& display = "");
    ~GameProcess(); // kills a game still running
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    bool running() const;
    bool waitForExit(); // true when it ended within a minute, with its status in exitCode
    std::vector<std::string> outputLines() const;
    // Runs xdotool with these arguments on the game's display; true on success.
    bool xdotool(const std::string& arguments) const;
    // The whole X screen as it is now.
    Picture grab() const;
    // Grabs until `seen` holds, for a minute at most; false if it never did or the game ended.
    bool waitFor(const std::function<bool(const Picture&)>& seen, int seconds = 60) const;
    // Saves the screen as $WANDERKIN_SCREENSHOTS/NAME.png when that folder is set.
    void save(const std::string& name) const;

    mutable int exitCode = -1;
    pid_t pid = -1;
    std::string display;

  private:
    std::string outputPath;
    struct _XDisplay* x = nullptr; // Xlib's Display
};
