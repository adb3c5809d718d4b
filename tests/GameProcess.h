// Runs the real game binary for end-to-end tests: started from the repository root, its
// standard output kept in a file, driven with real X input through xdotool.
#pragma once
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

class GameProcess {
public:
    // Starts the game with the test's environment plus `environment` (an empty value unsets).
    explicit GameProcess(const std::map<std::string, std::string>& environment = {});
    // Ends a game still running with SIGKILL.
    ~GameProcess();

    // Waits up to timeoutMs for the game to end; true when it did, with its status in exitCode.
    bool waitForExit(int timeoutMs);
    // Waits up to timeoutMs until the standard output contains `text`.
    bool waitForOutput(const std::string& text, int timeoutMs);
    void sendSignal(int signal);
    bool running();
    std::string output() const;
    std::vector<std::string> outputLines() const;

    int exitCode = -1000;
    pid_t pid = -1;
    std::string outputPath;
};

// Runs xdotool with the given arguments on the test display; true on success.
bool xdotool(const std::string& arguments);
void sleepMs(int ms);

// A screenshot of the whole X screen as RGB triples, row 0 at the top.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    bool take(const std::string& savePngTo = "");
    // Red, green and blue of a pixel packed as 0xRRGGBB.
    unsigned pixel(int x, int y) const;
};
