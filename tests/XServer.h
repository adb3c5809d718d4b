// An X server of a test's own (Xvfb) for a screen of another size, with a window manager on it:
// a large screen shows the game scaled only under one.
#pragma once
#include <string>

class XServer {
  public:
    // Starts Xvfb on a free display with a 24-bit screen, then openbox, and waits until both
    // are ready; `display` stays empty when that fails.
    XServer(int width, int height);
    ~XServer(); // ends both
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    std::string display;

  private:
    std::string pids; // a file with their process ids
};
