// Helpers of the window tests: the game's engine in the test process, its frames and swaps.
#include "tests/TestSupport.h"

#include <GL/gl.h>
#include <X11/Xlib.h> // after GoogleTest, whose names its macros would spoil

#include <cstdlib>

#include "app/GameEngine.h"
#include "graphics/Screen.h"

namespace {
// A window test without an X display fails with a message, not a crash.
struct WindowTests : ::testing::Environment {
    void SetUp() override {
        const char* name = std::getenv("DISPLAY");
        Display* x = name && *name ? XOpenDisplay(name) : nullptr;
        ASSERT_TRUE(x) << "no X display '" << (name ? name : "") << "': run scripts/test.sh";
        XCloseDisplay(x);
    }
};
::testing::Environment* const windowTests = ::testing::AddGlobalTestEnvironment(new WindowTests);
} // namespace

GameEngine* testEngine() {
    static GameEngine* engine = nullptr;
    if (!engine) {
        engine = new GameEngine;
        // Mesa's software renderer ignores polygon stipple on a context's first primitive,
        // which the game's first frame cannot show; draw one point off the window first.
        glBegin(GL_POINTS);
        glVertex2f(-10, -10);
        glEnd();
    }
    return engine;
}

Picture readWindow() {
    Picture window{screenWidth, screenHeight, std::vector<Rgb>(screenWidth * screenHeight)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, screenWidth, screenHeight, GL_RGB, GL_UNSIGNED_BYTE, window.pixels.data());
    for (int y = 0; y < screenHeight / 2; ++y) // GL reads the bottom row first
        std::swap_ranges(&window.pixels[y * screenWidth], &window.pixels[(y + 1) * screenWidth],
                         &window.pixels[(screenHeight - 1 - y) * screenWidth]);
    return window;
}

int swapsSeen = 0;
std::function<void()> afterSwap;

// The linker sends the game's swaps here (--wrap).
extern "C" void __real_SDL_GL_SwapBuffers();
extern "C" void __wrap_SDL_GL_SwapBuffers() {
    __real_SDL_GL_SwapBuffers();
    ++swapsSeen;
    if (afterSwap)
        afterSwap();
}
