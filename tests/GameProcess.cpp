// Runs the real game binary for end-to-end tests and watches its X screen.
#include "tests/GameProcess.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

GameProcess::GameProcess(const std::vector<std::string>& environment, const std::string& on)
    : display(on.empty() ? std::getenv("DISPLAY") : on) {
    char path[] = "/tmp/wanderkin-e2e-XXXXXX";
    const int fd = mkstemp(path);
    outputPath = path;
    // A black screen to start from: an earlier game's last picture may still be on it. A busy
    // X server may turn a connection away for a moment.
    for (int attempt = 0; !x && attempt < 100; ++attempt)
        if (!(x = XOpenDisplay(display.c_str())))
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    XSetWindowBackground(x, DefaultRootWindow(x), BlackPixel(x, 0));
    XClearWindow(x, DefaultRootWindow(x));
    XSync(x, False);
    pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL); // a test that dies takes its game with it
        dup2(fd, STDOUT_FILENO);
        dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
        setenv("DISPLAY", display.c_str(), 1);
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
        kill(pid, SIGKILL), waitForExit();
    std::remove(outputPath.c_str());
    XCloseDisplay(x);
}

bool GameProcess::running() const {
    int status = 0;
    if (exitCode == -1 && waitpid(pid, &status, WNOHANG) == pid)
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return exitCode == -1;
}

bool GameProcess::waitForExit() {
    for (int waited = 0; running() && waited < 60000; waited += 20)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return !running();
}

std::vector<std::string> GameProcess::outputLines() const {
    std::ifstream file(outputPath);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

bool GameProcess::xdotool(const std::string& arguments) const {
    // xdotool fails before it does anything when it cannot reach the server; then try again.
    const std::string command = "DISPLAY=" + display + " xdotool " + arguments + " >/dev/null 2>&1";
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (std::system(command.c_str()) == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

Picture GameProcess::grab() const {
    const int width = DisplayWidth(x, 0), height = DisplayHeight(x, 0);
    XImage* image = XGetImage(x, DefaultRootWindow(x), 0, 0, width, height, AllPlanes, ZPixmap);
    Picture screen{width, height, std::vector<Rgb>(width * height)};
    for (int i = 0; i < width * height; ++i) { // 32 bits a pixel, blue first
        const char* p = image->data + i / width * image->bytes_per_line + i % width * 4;
        screen.pixels[i] = {uint8_t(p[2]), uint8_t(p[1]), uint8_t(p[0])};
    }
    XDestroyImage(image);
    return screen;
}

bool GameProcess::waitFor(const std::function<bool(const Picture&)>& seen, int seconds) const {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < limit && running())
        if (seen(grab()))
            return true;
    return false;
}

void GameProcess::save(const std::string& name) const {
    const char* folder = std::getenv("WANDERKIN_SCREENSHOTS");
    if (!folder)
        return;
    const Picture screen = grab();
    const std::string ppm = std::string(folder) + "/" + name + ".ppm";
    std::ofstream(ppm, std::ios::binary)
        << "P6\n"
        << screen.width << " " << screen.height << "\n255\n"
        << std::string(reinterpret_cast<const char*>(screen.pixels.data()),
                       screen.pixels.size() * 3);
    const std::string png = std::string(folder) + "/" + name + ".png";
    EXPECT_EQ(
        std::system(("convert '" + ppm + "' -strip '" + png + "' && rm '" + ppm + "'").c_str()), 0);
}
