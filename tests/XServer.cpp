// An X server of a test's own, with a window manager.
#include "tests/XServer.h"

#include <X11/Xlib.h>

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
    int n = 150;
    while (std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock"))
        ++n;
    const std::string name = ":" + std::to_string(n),
                      size = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pids = std::filesystem::temp_directory_path() / ("wanderkin-x" + std::to_string(n));
    std::system(("(Xvfb " + name + " -screen 0 " + size + " -nolisten tcp & echo $! > " + pids +
                 "; for i in $(seq 300); do sleep 0.1; [ -e /tmp/.X11-unix/X" + name.substr(1) +
                 " ] && break; done; DISPLAY=" + name + " openbox & echo $! >> " + pids +
                 ") >/dev/null 2>&1")
                    .c_str());
    for (int i = 0; i < 300 && display.empty(); ++i)
        if (managed(name))
            display = name;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

XServer::~XServer() {
    std::ifstream in(pids);
    for (int pid; in >> pid;)
        std::system(("kill " + std::to_string(pid)).c_str());
    std::filesystem::remove(pids);
}
