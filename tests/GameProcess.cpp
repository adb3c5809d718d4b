// Runs the real game binary for end-to-end tests and watches its X screen.
#include "tests/GameProcess.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

GameProcess::GameProcess(const std::vector<std::string>& environment) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !(x = XOpenDisplay(display))) {
        ADD_FAILURE() << "cannot open the X display '" << (display ? display : "") << "'";
        return;
    }
    XChangePointerControl(x, True, True, 1, 1, 0); // the mouse goes as far as it is told
    // A black screen to start from: an earlier game's last picture may still be on it.
    XSetWindowBackground(x, DefaultRootWindow(x), BlackPixel(x, 0));
    XClearWindow(x, DefaultRootWindow(x));
    XSync(x, False);
    // The child's environment is made here: between fork and exec only plain system calls.
    std::vector<std::string> settings;
    for (char** e = environ; *e; ++e)
        settings.emplace_back(*e);
    for (const std::string& change : environment) {
        const std::string name = change.substr(0, change.find('=')) + "=";
        for (std::string& s : settings)
            if (s.rfind(name, 0) == 0)
                s = change.find('=') == std::string::npos ? "" : change;
        settings.push_back(change);
    }
    std::vector<char*> envp;
    for (std::string& s : settings)
        if (s.find('=') != std::string::npos)
            envp.push_back(s.data());
    envp.push_back(nullptr);
    char* const argv[] = {const_cast<char*>(WANDERKIN_BINARY), nullptr};
    char path[] = "/tmp/wanderkin-game-XXXXXX";
    close(mkstemp(path));
    files = path;
    const int out = open((files + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open((files + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if ((pid = fork()) == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL); // a test that dies takes its game with it
        dup2(out, STDOUT_FILENO), dup2(err, STDERR_FILENO);
        if (chdir(WANDERKIN_SOURCE_DIR) == 0)
            execve(WANDERKIN_BINARY, argv, envp.data());
        _exit(121);
    }
    close(out), close(err);
}

GameProcess::~GameProcess() {
    if (running())
        kill(pid, SIGKILL), waitForExit();
    for (const char* ending : {"", ".out", ".err"})
        std::remove((files + ending).c_str());
    if (x)
        XCloseDisplay(x);
}

bool GameProcess::running() const {
    int status = 0;
    if (pid > 0 && exitCode == -1 && waitpid(pid, &status, WNOHANG) == pid)
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return pid > 0 && exitCode == -1;
}

bool GameProcess::waitForExit(int seconds) {
    for (int waited = 0; running() && waited < seconds * 100; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return pid > 0 && !running();
}

std::string GameProcess::output(bool errors) const {
    std::ostringstream text;
    text << std::ifstream(files + (errors ? ".err" : ".out")).rdbuf();
    return text.str();
}

void GameProcess::key(const std::string& name) const {
    const KeyCode code = XKeysymToKeycode(x, XStringToKeysym(name.c_str()));
    XTestFakeKeyEvent(x, code, True, CurrentTime);
    XTestFakeKeyEvent(x, code, False, CurrentTime);
    XFlush(x);
}

void GameProcess::button(bool down) const {
    XTestFakeButtonEvent(x, 1, down, CurrentTime);
    XFlush(x);
}

void GameProcess::nudge(int dx, int dy) const {
    XTestFakeRelativeMotionEvent(x, dx, dy, CurrentTime);
    XFlush(x);
}

Picture GameProcess::grab() const {
    const int w = DisplayWidth(x, 0), h = DisplayHeight(x, 0);
    XImage* image = XGetImage(x, DefaultRootWindow(x), 0, 0, w, h, AllPlanes, ZPixmap);
    Picture screen{w, h, std::vector<Rgb>(w * h)};
    for (int i = 0; i < w * h; ++i) { // 32 bits a pixel, blue first
        const char* p = image->data + i / w * image->bytes_per_line + i % w * 4;
        screen.pixels[i] = {uint8_t(p[2]), uint8_t(p[1]), uint8_t(p[0])};
    }
    XDestroyImage(image);
    return screen;
}

bool GameProcess::waitFor(const std::function<bool(const Picture&)>& seen, int seconds) const {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (; std::chrono::steady_clock::now() < limit && running();
         std::this_thread::sleep_for(std::chrono::milliseconds(33))) // a frame for the game
        if (seen(grab()))
            return true;
    return false;
}
