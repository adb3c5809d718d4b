// The message box: a black fill that hides what is under it and a white outline.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "graphics/Video.h"
#include "tests/TestSupport.h"

namespace {
const Rgb black{0, 0, 0};

// Paints the window a mid grey and draws the box under the intro's additive blending.
std::vector<Rgb> boxOverGrey(int x0, int y0, int x1, int y1) {
    Video* video = testSubsystems()->video;
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    video->drawBox(x0, y0, x1, y1);
    std::vector<Rgb> window = readWindow();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    return window;
}
} // namespace

TEST(Box, HidesWhatIsUnderItEvenWithAdditiveBlending) {
    REQUIRE_DISPLAY();
    std::vector<Rgb> window = boxOverGrey(179, 4, 525, 100);
    EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "blending is back on afterwards";
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f) << "the colour is left white";
    int hidden = 0;
    for (int y = 8; y < 97; ++y)
        for (int x = 183; x < 522; ++x)
            hidden += pixelAt(window, x, y) == black;
    EXPECT_EQ(hidden, (97 - 8) * (522 - 183)) << "the inside is black";
    // The outline adds light to the grey under it; outside the box the grey is untouched.
    EXPECT_GT(pixelAt(window, 179, 50).r, 140);
    EXPECT_GT(pixelAt(window, 350, 100).r, 140);
    EXPECT_EQ(pixelAt(window, 170, 50).r, pixelAt(window, 600, 300).r);
    EXPECT_NEAR(pixelAt(window, 600, 300).r, 128, 1);
    EXPECT_NEAR(pixelAt(window, 350, 110).r, 128, 1);
}

TEST(Box, CornersInEitherOrderDrawTheSameRectangle) {
    REQUIRE_DISPLAY();
    std::vector<Rgb> expected = boxOverGrey(179, 4, 525, 100);
    EXPECT_TRUE(boxOverGrey(525, 100, 179, 4) == expected);
    EXPECT_TRUE(boxOverGrey(179, 100, 525, 4) == expected);
    EXPECT_TRUE(boxOverGrey(525, 4, 179, 100) == expected);
}
