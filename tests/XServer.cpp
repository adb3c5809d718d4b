// An X server of a test's own, with a window manager.
#include "tests/XServer.h"

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {
// Whether a window manager has announced itself on the display's root window.
bool managed(const std::string& display) {
    Display* x = XOpenDisplay(display.c_str());
    if (!x)
        return false;
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(x, DefaultRootWindow(x), XInternAtom(x, "_NET_SUPPORTING_WM_CHECK", False),
                       0, 1, False, AnyPropertyType, &type, &format, &count, &after, &data);
    XFree(data);
    XCloseDisplay(x);
    return count == 1;
}
} // namespace

XServer::XServer(int width, int height) {
    prctl(PR_SET_CHILD_SUBREAPER, 1); // Xvfb and openbox come back to this process to be reaped
    // Xvfb picks a free display itself and names it in a file once it takes connections.
    pids = std::filesystem::temp_directory_path() / ("wanderkin-x-" + std::to_string(getpid()));
    const std::string named = pids + ".display";
    std::system(("(Xvfb -displayfd 3 -screen 0 " + std::to_string(width) + "x" +
                 std::to_string(height) + "x24 -nolisten tcp 3>" + named + " & echo $! > " + pids +
                 "; for i in $(seq 300); do sleep 0.1; [ -s " + named + " ] && break; done; " +
                 "DISPLAY=:$(cat " + named + ") openbox & echo $! >> " + pids + ") >/dev/null 2>&1")
                    .c_str());
    std::ifstream in(named);
    std::string name;
    for (int i = 0; std::getline(in, name) && i < 300 && !managed(":" + name); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100)), in.seekg(0);
    if (managed(":" + name))
        display = ":" + name;
    std::filesystem::remove(named);
}

XServer::~XServer() {
    std::ifstream in(pids);
    for (int pid; in >> pid;)
        kill(pid, SIGTERM), waitpid(pid, nullptr, 0);
    std::filesystem::remove(pids);
}
