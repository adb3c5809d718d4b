// Shared helpers for tests that need the real window: one engine's worth of subsystems per
// test process, and reading the picture back.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/SubengineInterface.h"

// The timer, sound system and video of this test process, created on first use. The video
// needs an X display with GLX (the test command provides one); without it the test is skipped.
SubengineInterface* testSubsystems();

#define REQUIRE_DISPLAY()                                                                          \
    do {                                                                                           \
        if (!displayAvailable())                                                                   \
            GTEST_SKIP() << "needs an X display (run the tests through the test command)";         \
    } while (0)

bool displayAvailable();

// One RGB pixel as read from the back buffer, in window coordinates (y down from the top).
struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// The whole back buffer, 640 x 480, row 0 at the top of the window.
std::vector<Rgb> readWindow();
Rgb pixelAt(const std::vector<Rgb>& window, int x, int y);
int countPixels(const std::vector<Rgb>& window, Rgb colour);

// Path of a file in the source tree.
std::string sourcePath(const std::string& relative);
