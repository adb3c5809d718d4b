// Runs the real game binary for end-to-end tests: started from the repository root with its
// standard output kept in a file, driven with real X input through xdotool.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

class GameProcess {
  public:
    // Starts the game with extra environment settings ("NAME=value", or "NAME" to unset).
    explicit GameProcess(const std::vector<std::string>& environment = {});
    ~GameProcess(); // kills a game still running
    bool running();
    bool waitForExit(int timeoutMs); // true when it ended in time, with its status in exitCode
    std::vector<std::string> outputLines() const;
    int exitCode = -1;
    pid_t pid = -1;
    std::string outputPath;
};

// Runs xdotool with these arguments on the test display; true on success.
bool xdotool(const std::string& arguments);
void sleepMs(int ms);
// Whether any pixel of the X screen in the rectangle is lit; the screen is also saved as
// $WANDERKIN_SCREENSHOTS/NAME.png when that folder is set, so a person can look at the run.
bool screenLit(int x0, int y0, int x1, int y1, const std::string& name = "");
