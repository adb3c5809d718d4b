// Runs the real game binary for end-to-end tests: started from the repository root with its
// standard output kept in a file, driven with real X input through xdotool.
#pragma once
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

class GameProcess {
  public:
    // Starts the game with the test's environment changed by `environment` (empty unsets).
    explicit GameProcess(const std::map<std::string, std::string>& environment = {});
    ~GameProcess(); // kills a game still running
    bool running();
    // True when the game ended within timeoutMs; its status is then in exitCode.
    bool waitForExit(int timeoutMs);
    std::vector<std::string> outputLines() const;

    int exitCode = -1;
    pid_t pid = -1;
    std::string outputPath;
};

// Runs xdotool with these arguments on the test display; true on success.
bool xdotool(const std::string& arguments);
void sleepMs(int ms);

// The whole X screen, optionally also saved as a PNG.
struct Screenshot {
    int width = 0;
    std::vector<unsigned char> rgb;
    bool take(const std::string& savePngTo = "");
    bool anyLit(int x0, int y0, int x1, int y1) const;
};
