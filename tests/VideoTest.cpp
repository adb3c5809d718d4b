// The window's GL state, the dither masks, the dithered fill and the dissolve between parts.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "graphics/StipplePatterns.h"
#include "graphics/Video.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

TEST(StipplePatterns, FollowTheBayerRuleAndTheByteTable) {
    const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const unsigned cycles[17] = {0x00000000, 0x88000000, 0x88002200, 0xAA002200, 0xAA00AA00,
                                 0xAA44AA00, 0xAA44AA11, 0xAA55AA11, 0xAA55AA55, 0xEE55AA55,
                                 0xEE55BB55, 0xFF55BB55, 0xFF55FF55, 0xFFDDFF55, 0xFFDDFF77,
                                 0xFFFFFF77, 0xFFFFFFFF};
    for (int k = 0; k <= 16; ++k)
        for (int i = 0; i < 128 * 8; ++i) {
            const int row = i / 32, byte = stipplePatterns[k][i / 8];
            ASSERT_EQ(byte, (cycles[k] >> (8 * (3 - row % 4))) & 0xFF) << k;
            ASSERT_EQ((byte >> (7 - i % 8)) & 1, bayer[row % 4][i % 4] < k) << k << " bit " << i;
        }
}

TEST(Video, ProjectionFillAndDissolve) {
    REQUIRE_DISPLAY();
    Video* video = testSubsystems()->video;
    SoundSystem* sound = testSubsystems()->sound;
    const Rgb white{255, 255, 255};
    GLfloat matrix[16];
    glGetFloatv(GL_TEXTURE_MATRIX, matrix); // texture coordinates (s, t) read as (s, -t)
    EXPECT_NEAR(matrix[0] * matrix[5], -1, 1e-6);
    EXPECT_TRUE(video->setProjection(640, 0));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);
    glGetFloatv(GL_PROJECTION_MATRIX, matrix);
    const float pixelBox[] = {2.0f / 640, 0, 0, 0, 0, -2.0f / 480, 0, 0, 0, 0, -1, 0, -1, 1, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(matrix[i], pixelBox[i], 1e-7) << i;
    video->setProjection(640, 480);

    // Level 0 paints nothing, 0.5 a checkerboard, 1 everything, even where blending would not.
    glDisable(GL_TEXTURE_2D); // as every part's drawing leaves it
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    video->ditherFill(0);
    EXPECT_EQ(countPixels(readWindow(), white), 0);
    video->ditherFill(0.5f);
    std::vector<Rgb> half = readWindow();
    EXPECT_EQ(countPixels(half, white), 640 * 480 / 2);
    EXPECT_FALSE(pixelAt(half, 100, 100) == pixelAt(half, 101, 100));
    EXPECT_FALSE(pixelAt(half, 100, 100) == pixelAt(half, 100, 101));
    glBlendFunc(GL_ZERO, GL_ONE);
    video->ditherFill(1);
    EXPECT_EQ(countPixels(readWindow(), white), 640 * 480);
    EXPECT_TRUE(glIsEnabled(GL_BLEND) && !glIsEnabled(GL_POLYGON_STIPPLE));

    // The dissolve: 201 steps end at level 1 with a silent channel (200 would leave 0.0005,
    // 202 go below 0), the last red picture under fifteen sixteenths of white.
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    video->swapBuffers();
    EXPECT_FALSE(video->fadeOut(sound));
    EXPECT_NEAR(sound->backgroundVolume, 0.0f, 1e-6);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, matrix);
    EXPECT_EQ(std::vector<float>(matrix, matrix + 4), (std::vector<float>{0, 0, 0, 1}));
    std::vector<Rgb> window = readWindow();
    EXPECT_EQ(countPixels(window, white), 640 * 480 / 16 * 15);
    EXPECT_EQ(countPixels(window, Rgb{255, 0, 0}), 640 * 480 / 16);
}
