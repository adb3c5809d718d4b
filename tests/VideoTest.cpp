// The window's GL state, the dither masks, the dithered fill and the dissolve between parts.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "graphics/StipplePatterns.h"
#include "graphics/Video.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {
const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

bool maskBit(int k, int row, int column) {
    return (stipplePatterns[k][row * 4 + column / 8] >> (7 - column % 8)) & 1;
}

int countWhite(const std::vector<Rgb>& window) {
    int white = 0;
    for (const Rgb& p : window)
        white += p == Rgb{255, 255, 255};
    return white;
}

void clearTo(float r, float g, float b) {
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}
} // namespace

TEST(StipplePatterns, FollowTheBayerRuleAndNest) {
    for (int k = 0; k <= 16; ++k) {
        int set = 0;
        for (int row = 0; row < 32; ++row)
            for (int column = 0; column < 32; ++column) {
                bool bit = maskBit(k, row, column);
                ASSERT_EQ(bit, bayer[row % 4][column % 4] < k) << k << " " << row << " " << column;
                if (k > 0 && maskBit(k - 1, row, column)) {
                    ASSERT_TRUE(bit) << "mask " << k << " lost a bit of mask " << k - 1;
                }
                set += bit;
            }
        EXPECT_EQ(set, k * 64) << "mask " << k << " covers k sixteenths";
    }
}

TEST(StipplePatterns, MatchTheByteTable) {
    const unsigned char cycles[17][4] = {
        {0x00, 0x00, 0x00, 0x00}, {0x88, 0x00, 0x00, 0x00}, {0x88, 0x00, 0x22, 0x00},
        {0xAA, 0x00, 0x22, 0x00}, {0xAA, 0x00, 0xAA, 0x00}, {0xAA, 0x44, 0xAA, 0x00},
        {0xAA, 0x44, 0xAA, 0x11}, {0xAA, 0x55, 0xAA, 0x11}, {0xAA, 0x55, 0xAA, 0x55},
        {0xEE, 0x55, 0xAA, 0x55}, {0xEE, 0x55, 0xBB, 0x55}, {0xFF, 0x55, 0xBB, 0x55},
        {0xFF, 0x55, 0xFF, 0x55}, {0xFF, 0xDD, 0xFF, 0x55}, {0xFF, 0xDD, 0xFF, 0x77},
        {0xFF, 0xFF, 0xFF, 0x77}, {0xFF, 0xFF, 0xFF, 0xFF}};
    for (int k = 0; k <= 16; ++k)
        for (int i = 0; i < 128; ++i)
            ASSERT_EQ(stipplePatterns[k][i], cycles[k][(i / 4) % 4]) << "mask " << k << " byte " << i;
}

class VideoTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        video = testSubsystems()->video;
        sound = testSubsystems()->sound;
    }
    Video* video = nullptr;
    SoundSystem* sound = nullptr;
};

TEST_F(VideoTest, WindowIsA640By480DoubleBufferedGLWindow) {
    ASSERT_NE(video->screen, nullptr);
    EXPECT_EQ(video->screen->w, 640);
    EXPECT_EQ(video->screen->h, 480);
    EXPECT_TRUE(video->screen->flags & SDL_OPENGL);
    int doubleBuffered = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_EQ(doubleBuffered, 1);
    // The texture matrix maps (s, t) to (s, -t) for the whole run.
    GLfloat texture[16];
    glGetFloatv(GL_TEXTURE_MATRIX, texture);
    EXPECT_NEAR(texture[0], 1, 1e-6);
    EXPECT_NEAR(texture[5], -1, 1e-6);
    EXPECT_NEAR(texture[10], 1, 1e-6);
}

TEST_F(VideoTest, DitherFillPaintsTheMaskOfItsLevelOpaquely) {
    glDisable(GL_TEXTURE_2D); // as every part's drawing leaves it
    glColor4f(1, 1, 1, 1);
    clearTo(0, 0, 0);
    EXPECT_EQ(countWhite(readWindow()), 0);
    video->ditherFill(0);
    EXPECT_EQ(countWhite(readWindow()), 0);

    clearTo(0, 0, 0);
    video->ditherFill(0.5f);
    std::vector<Rgb> half = readWindow();
    EXPECT_EQ(countWhite(half), 640 * 480 / 2);
    for (int y = 1; y < 480; y += 53)
        for (int x = 1; x < 640; x += 47) {
            ASSERT_FALSE(pixelAt(half, x, y) == pixelAt(half, x + 1, y)) << x << "," << y;
            ASSERT_FALSE(pixelAt(half, x, y) == pixelAt(half, x, y - 1)) << x << "," << y;
        }

    // Blending that would leave the picture untouched must not affect the fill.
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_ONE);
    clearTo(0.25f, 0, 0);
    glColor4f(1, 1, 1, 1);
    video->ditherFill(1);
    EXPECT_EQ(countWhite(readWindow()), 640 * 480);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_STIPPLE));
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // Levels outside 0 to 1 are clamped to the empty and the solid mask.
    clearTo(0, 0, 0);
    video->ditherFill(-3);
    EXPECT_EQ(countWhite(readWindow()), 0);
    video->ditherFill(7);
    EXPECT_EQ(countWhite(readWindow()), 640 * 480);
}

TEST_F(VideoTest, SetProjectionKeepsThePixelBoxForAnyViewport) {
    EXPECT_TRUE(video->setProjection(640, 0));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 1);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    // glOrtho(0, 640, 480, 0, -1, 1): x scaled by 2/640, y by -2/480, origin at the top left.
    EXPECT_NEAR(projection[0], 2.0f / 640, 1e-7);
    EXPECT_NEAR(projection[5], -2.0f / 480, 1e-7);
    EXPECT_NEAR(projection[10], -1, 1e-7);
    EXPECT_NEAR(projection[12], -1, 1e-7);
    EXPECT_NEAR(projection[13], 1, 1e-7);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    video->setProjection(640, 480);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 480);
}

TEST_F(VideoTest, FadeOutDissolvesTheLastPictureIntoWhite) {
    // The last frame of a part: plain red.
    glDisable(GL_TEXTURE_2D);
    clearTo(1, 0, 0);
    video->swapBuffers();
    sound->setBackgroundVolume(0.1f);
    EXPECT_FALSE(video->fadeOut(sound));

    // 201 steps: the last one stands at level 1, so the noise ends at practically 0
    // (200 steps would leave 0.0005, 202 would go below zero).
    EXPECT_NEAR(sound->backgroundVolume, 0.0f, 1e-6);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 0);
    EXPECT_EQ(clear[3], 1);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_STIPPLE));

    // What is left is the picture under fifteen sixteenths of white: never another colour.
    std::vector<Rgb> window = readWindow();
    int white = 0, red = 0;
    for (const Rgb& p : window) {
        white += p == Rgb{255, 255, 255};
        red += p == Rgb{255, 0, 0};
    }
    EXPECT_EQ(white, 640 * 480 / 16 * 15);
    EXPECT_EQ(red, 640 * 480 / 16);
}

// Mend: a window close during the dissolve is reported to the engine, not lost.
TEST_F(VideoTest, FadeOutReportsAWindowCloseItDrained) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    ASSERT_EQ(SDL_PushEvent(&key), 0);
    EXPECT_TRUE(video->fadeOut(sound));
    SDL_Event left;
    EXPECT_EQ(SDL_PollEvent(&left), 0) << "the dissolve drains every event";
    EXPECT_FALSE(video->fadeOut(sound));
}
