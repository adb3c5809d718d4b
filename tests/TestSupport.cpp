// Shared helpers for tests that need the real window.
#include "tests/TestSupport.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <algorithm>
#include <cstdlib>

#include "app/Timer.h"
#include "graphics/Video.h"
#include "sound/SoundSystem.h"

namespace {
// Shuts SDL down inside main: at exit the audio thread and the GL driver's teardown could
// outlive the libraries they call into.
class SdlShutDown : public ::testing::Environment {
  public:
    void TearDown() override { SDL_Quit(); }
};
::testing::Environment* const sdlShutDown = ::testing::AddGlobalTestEnvironment(new SdlShutDown);
} // namespace

bool displayAvailable() {
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

SubengineInterface* testSubsystems() {
    static SubengineInterface* subsystems = nullptr;
    if (!subsystems) {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        subsystems = new SubengineInterface;
        subsystems->timer = new Timer;
        subsystems->sound = new SoundSystem;
        subsystems->video = new Video;
        // Mesa's software renderer ignores polygon stipple on a context's first primitive,
        // which the game's first frame cannot show; draw one point off the window first.
        glBegin(GL_POINTS);
        glVertex2f(-10, -10);
        glEnd();
    }
    return subsystems;
}

// The game's window draws into an offscreen framebuffer that reads back as the back buffer.
std::vector<Rgb> readWindow() {
    std::vector<Rgb> bottomUp(640 * 480);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<Rgb> topDown(640 * 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            topDown[y * 640 + x] = bottomUp[(479 - y) * 640 + x];
    return topDown;
}

Rgb pixelAt(const std::vector<Rgb>& window, int x, int y) {
    return window[y * 640 + x];
}

int countPixels(const std::vector<Rgb>& window, Rgb colour) {
    return static_cast<int>(std::count(window.begin(), window.end(), colour));
}

std::string sourcePath(const std::string& relative) {
    return std::string(WANDERKIN_SOURCE_DIR) + "/" + relative;
}
