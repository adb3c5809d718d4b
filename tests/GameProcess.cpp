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
#include <sstream>
#include <thread>

GameProcess::GameProcess(const std::map<std::string, std::string>& environment) {
    char pathTemplate[] = "/tmp/wanderkin-e2e-XXXXXX";
    int fd = mkstemp(pathTemplate);
    outputPath = pathTemplate;
    pid = fork();
    if (pid == 0) {
        dup2(fd, STDOUT_FILENO);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        if (chdir(WANDERKIN_SOURCE_DIR) != 0)
            _exit(120);
        for (const auto& [name, value] : environment) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        execl(WANDERKIN_BINARY, WANDERKIN_BINARY, static_cast<char*>(nullptr));
        _exit(121);
    }
    close(fd);
}

GameProcess::~GameProcess() {
    if (running()) {
        kill(pid, SIGKILL);
        waitForExit(5000);
    }
    std::remove(outputPath.c_str());
}

bool GameProcess::running() {
    if (exitCode != -1000)
        return false;
    int status = 0;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return true;
}

bool GameProcess::waitForExit(int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        if (!running())
            return true;
        sleepMs(20);
    }
    return !running();
}

bool GameProcess::waitForOutput(const std::string& text, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        if (output().find(text) != std::string::npos)
            return true;
        sleepMs(20);
    }
    return false;
}

void GameProcess::sendSignal(int signal) { kill(pid, signal); }

std::string GameProcess::output() const {
    std::ifstream file(outputPath);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> GameProcess::outputLines() const {
    std::vector<std::string> lines;
    std::stringstream text(output());
    std::string line;
    while (std::getline(text, line))
        lines.push_back(line);
    return lines;
}

bool xdotool(const std::string& arguments) {
    std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool Screenshot::take(const std::string& savePngTo) {
    std::string ppm = "/tmp/wanderkin-shot-" + std::to_string(getpid()) + ".ppm";
    std::string command = "import -window root -depth 8 ppm:" + ppm + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return false;
    if (!savePngTo.empty())
        std::system(("convert " + ppm + " " + savePngTo + " >/dev/null 2>&1").c_str());
    std::ifstream file(ppm, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    file >> magic >> width >> height >> maxValue;
    file.get();
    if (magic != "P6" || maxValue != 255)
        return false;
    rgb.resize(static_cast<size_t>(width) * height * 3);
    file.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    std::remove(ppm.c_str());
    return static_cast<bool>(file);
}

unsigned Screenshot::pixel(int x, int y) const {
    size_t at = (static_cast<size_t>(y) * width + x) * 3;
    return rgb[at] << 16 | rgb[at + 1] << 8 | rgb[at + 2];
}
