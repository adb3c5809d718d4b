// The window and its GL state, the dissolve between parts, and text as the window shows it.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "app/GameEngine.h"
#include "graphics/FontSet.h"
#include "graphics/Screen.h"
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
    const int expected[] = {0, 64, 255, 64, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(w.at(320, 98 + i).r, expected[i], 12) << "row " << 98 + i;
}

TEST(Video, TheDissolveTakes201StepsOfOrderedDitherToFifteenSixteenthsOfWhiteAndSilence) {
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
    // Sixteenths k of white light the pixels whose entry in the ordered-dither matrix is below k,
    // its rows counted up from the bottom of the window.
    const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int k = 1; k <= 16; ++k) {
        freshVideo()->ditherFill(k / 16.0f);
        const Picture w = readWindow();
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(w.at(i % 4, screenHeight - 1 - i / 4) == white, bayer[i / 4][i % 4] < k)
                << k << " sixteenths at " << i;
    }
}

// sdl12-compat normally draws into one framebuffer of its own, where the last picture drawn and
// the picture on screen are the same. Drawing straight to the window (two real buffers, with
// Mesa's softpipe, which reads the front one back) they differ: run there, in a child process,
// which ends with 0 when the dissolve began from the picture on screen and 3 when it did not.
TEST(Video, TheDissolveStartsFromThePictureOnScreenNotFromTheBackBuffer) {
    if (!std::getenv("SDL12COMPAT_OPENGL_SCALING")) {
        char self[4096] = {};
        ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
        const std::string command =
            "SDL12COMPAT_OPENGL_SCALING=0 GALLIUM_DRIVER=softpipe '" + std::string(self) +
            "' --gtest_filter=Video.TheDissolveStartsFromThePictureOnScreenNotFromTheBackBuffer";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 3) << "began from a stale picture";
        EXPECT_EQ(status, 0) << "the check could not run in a child process (see above)";
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

TEST(FontSet, GlyphsShowUprightForEveryPrintableInEachSetAndOtherBytesTakeNoRoom) {
    FontSet* font = freshVideo()->font;
    std::string printable;
    for (char c = 32; c < 127; ++c)
        printable += c;
    for (int set : {0, 1, 2, -1})          // a set above 1 draws as set 1, one below 0 as set 0
        for (int k = 0; k < 95; k += 32) { // in rows of 512 px
            freshVideo();
            font->drawText(0, k, printable.substr(k, 32).c_str(), set);
            EXPECT_TRUE(showsText(readWindow(), 0, k, printable.substr(k, 32), set > 0)) << set;
        }
    font->drawText(0, 200,
                   "a\x01\x1f\x7f\x80\xc3\xa9\xff"
                   "b",
                   0); // no glyph: nothing, no room
    EXPECT_TRUE(showsText(readWindow(), 0, 200, "ab  "));
}
