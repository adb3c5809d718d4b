// The window and its GL state, and the dissolve between parts.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "app/GameEngine.h"
#include "graphics/Video.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {
const Rgb red{255, 0, 0};

Video* freshVideo(float grey = 0) {
    Video* video = testEngine()->video;
    glDisable(GL_TEXTURE_2D); // as every part's drawing leaves it
    glClearColor(grey, grey, grey, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    return video;
}
} // namespace

TEST(Video, OpensAFullScreenWindowWithoutCursorAndDrawsSmoothLinesInWindowPixels) {
    Video* video = freshVideo();
    EXPECT_TRUE(video->screen && (video->screen->flags & SDL_FULLSCREEN));
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    // A point lands on its pixel, y down from the top; a line on a pixel's middle is 1.5 pixels
    // wide and smoothed: a full pixel between two quarter-lit ones.
    glBegin(GL_POINTS);
    glVertex2f(10.5f, 20.5f);
    glEnd();
    glBegin(GL_LINES);
    glVertex2f(10, 100.5f);
    glVertex2f(600, 100.5f);
    glEnd();
    const Picture w = readWindow();
    EXPECT_EQ(w.at(10, 20), white);
    EXPECT_EQ(w.count(white), 1 + 590);
    const int across[] = {w.at(320, 98).r, w.at(320, 99).r, w.at(320, 100).r, w.at(320, 101).r,
                          w.at(320, 102).r};
    const int expected[] = {0, 64, 255, 64, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(across[i], expected[i], 12) << "row " << 98 + i;
}

TEST(Video, TheDissolveTakes201StepsToFifteenSixteenthsOfWhiteAndSilence) {
    Video* video = freshVideo();
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    video->swapBuffers();
    const int before = swapsSeen;
    EXPECT_FALSE(video->fadeOut(testEngine()->sound));
    EXPECT_EQ(swapsSeen - before, 201);
    EXPECT_NEAR(testEngine()->sound->backgroundVolume, 0.0f, 1e-6);
    const Picture window = readWindow();
    EXPECT_EQ(window.count(white), screenWidth * screenHeight / 16 * 15);
    EXPECT_EQ(window.count(red), screenWidth * screenHeight / 16);
}

// sdl12-compat normally draws into one framebuffer of its own, where the last picture drawn and
// the picture on screen are the same. Drawing straight to the window (two real buffers, with
// Mesa's softpipe, which reads the front one back) they differ: run there, in a child process.
TEST(Video, TheDissolveStartsFromThePictureOnScreenNotFromTheBackBuffer) {
    if (!std::getenv("SDL12COMPAT_OPENGL_SCALING")) {
        char self[4096] = {};
        ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
        const std::string command =
            "SDL12COMPAT_OPENGL_SCALING=0 GALLIUM_DRIVER=softpipe '" + std::string(self) +
            "' --gtest_filter=Video.TheDissolveStartsFromThePictureOnScreenNotFromTheBackBuffer"
            " >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << "the dissolve began from a stale picture";
        return;
    }
    Video* video = freshVideo();
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    video->swapBuffers(); // red on screen
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT); // green drawn behind it, never shown
    afterSwap = [] { // the dissolve's first step adds no white: it shows what it starts from
        glReadBuffer(GL_FRONT);
        std::_Exit(readWindow().at(320, 240) == red ? 0 : 3);
    };
    video->fadeOut(testEngine()->sound);
    FAIL() << "the dissolve never swapped";
}
