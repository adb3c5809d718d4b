// Runs the real game binary for end-to-end tests.
#include "tests/GameProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

GameProcess::GameProcess(const std::vector<std::string>& environment) {
    char path[] = "/tmp/wanderkin-e2e-XXXXXX";
    int fd = mkstemp(path);
    outputPath = path;
    pid = fork();
    if (pid == 0) {
        dup2(fd, STDOUT_FILENO);
        dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
        for (const std::string& setting : environment)
            setting.find('=') == std::string::npos ? unsetenv(setting.c_str())
                                                   : putenv(const_cast<char*>(setting.c_str()));
        if (chdir(WANDERKIN_SOURCE_DIR) == 0)
            execl(WANDERKIN_BINARY, WANDERKIN_BINARY, static_cast<char*>(nullptr));
        _exit(121);
    }
    close(fd);
}

GameProcess::~GameProcess() {
    if (running())
        kill(pid, SIGKILL), waitForExit(5000);
    std::remove(outputPath.c_str());
}

bool GameProcess::running() {
    int status = 0;
    if (exitCode == -1 && waitpid(pid, &status, WNOHANG) == pid)
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return exitCode == -1;
}

bool GameProcess::waitForExit(int timeoutMs) {
    for (int waited = 0; running() && waited < timeoutMs; waited += 20)
        sleepMs(20);
    return !running();
}

std::vector<std::string> GameProcess::outputLines() const {
    std::ifstream file(outputPath);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

bool xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool screenLit(int x0, int y0, int x1, int y1, const std::string& name) {
    const std::string ppm = "/tmp/wanderkin-shot-" + std::to_string(getpid()) + ".ppm";
    std::system(("import -window root -depth 8 ppm:" + ppm + " >/dev/null 2>&1").c_str());
    const char* folder = std::getenv("WANDERKIN_SCREENSHOTS");
    if (folder && !name.empty())
        std::system(("convert " + ppm + " " + folder + "/" + name + ".png").c_str());
    std::ifstream file(ppm, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    file >> magic >> width >> height >> maxValue;
    file.get();
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    file.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    std::remove(ppm.c_str());
    for (int y = y0; file && y < y1; ++y)
        for (int x = x0 * 3; x < x1 * 3; ++x)
            if (rgb[static_cast<size_t>(y) * width * 3 + x])
                return true;
    return false;
}
