// The window's GL state, the dither masks, the dithered fill and the dissolve between parts.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "graphics/StipplePatterns.h"
#include "graphics/Video.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {
int count(const std::vector<Rgb>& window, Rgb colour) {
    int n = 0;
    for (const Rgb& p : window)
        n += p == colour;
    return n;
}
const Rgb white{255, 255, 255};
} // namespace

TEST(StipplePatterns, FollowTheBayerRuleAndTheByteTable) {
    const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const unsigned cycles[17] = {0x00000000, 0x88000000, 0x88002200, 0xAA002200, 0xAA00AA00,
                                 0xAA44AA00, 0xAA44AA11, 0xAA55AA11, 0xAA55AA55, 0xEE55AA55,
                                 0xEE55BB55, 0xFF55BB55, 0xFF55FF55, 0xFFDDFF55, 0xFFDDFF77,
                                 0xFFFFFF77, 0xFFFFFFFF};
    for (int k = 0; k <= 16; ++k)
        for (int i = 0; i < 128; ++i) {
            int row = i / 4;
            ASSERT_EQ(stipplePatterns[k][i], (cycles[k] >> (8 * (3 - row % 4))) & 0xFF) << k;
            for (int bit = 0; bit < 8; ++bit) {
                bool set = (stipplePatterns[k][i] >> (7 - bit)) & 1;
                ASSERT_EQ(set, bayer[row % 4][bit % 4] < k) << "mask " << k << " byte " << i;
            }
        }
}

class VideoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        video = testSubsystems()->video;
        sound = testSubsystems()->sound;
        glDisable(GL_TEXTURE_2D); // as every part's drawing leaves it
    }
    void clearTo(float r, float g, float b) {
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    Video* video = nullptr;
    SoundSystem* sound = nullptr;
};

TEST_F(VideoTest, DitherFillPaintsTheMaskOfItsLevelOpaquely) {
    glColor4f(1, 1, 1, 1);
    clearTo(0, 0, 0);
    video->ditherFill(0);
    EXPECT_EQ(count(readWindow(), white), 0);
    video->ditherFill(0.5f);
    std::vector<Rgb> half = readWindow();
    EXPECT_EQ(count(half, white), 640 * 480 / 2);
    for (int y = 1; y < 480; y += 53)
        for (int x = 1; x < 640; x += 47)
            ASSERT_TRUE(!(pixelAt(half, x, y) == pixelAt(half, x + 1, y)) &&
                        !(pixelAt(half, x, y) == pixelAt(half, x, y + 1)))
                << "a checkerboard, at " << x << "," << y;

    // Blending that would leave the picture untouched must not affect the fill.
    glBlendFunc(GL_ZERO, GL_ONE);
    clearTo(0.25f, 0, 0);
    video->ditherFill(1);
    EXPECT_EQ(count(readWindow(), white), 640 * 480);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_STIPPLE));
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(VideoTest, ProjectionIsThePixelBoxForAnyViewport) {
    GLfloat texture[16], projection[16];
    glGetFloatv(GL_TEXTURE_MATRIX, texture); // texture coordinates (s, t) read as (s, -t)
    EXPECT_NEAR(texture[0] * texture[5], -1, 1e-6);
    EXPECT_TRUE(video->setProjection(640, 0));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const float pixelBox[] = {2.0f / 640, 0, 0, 0, 0, -2.0f / 480, 0, 0, 0, 0, -1, 0, -1, 1, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(projection[i], pixelBox[i], 1e-7) << i;
    video->setProjection(640, 480);
}

TEST_F(VideoTest, FadeOutDissolvesTheLastPictureIntoWhite) {
    clearTo(1, 0, 0);
    video->swapBuffers();
    sound->setBackgroundVolume(0.1f);
    EXPECT_FALSE(video->fadeOut(sound));
    // 201 steps end at level 1 and a silent channel; 200 would leave 0.0005, 202 go below 0.
    EXPECT_NEAR(sound->backgroundVolume, 0.0f, 1e-6);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 0);
    EXPECT_EQ(clear[3], 1);
    // The red picture under fifteen sixteenths of white, and no other colour.
    std::vector<Rgb> window = readWindow();
    EXPECT_EQ(count(window, white), 640 * 480 / 16 * 15);
    EXPECT_EQ(count(window, Rgb{255, 0, 0}), 640 * 480 / 16);
}

// A window close during the dissolve is reported to the engine, not lost.
TEST_F(VideoTest, FadeOutReportsAWindowCloseItDrained) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_TRUE(video->fadeOut(sound));
    EXPECT_FALSE(video->fadeOut(sound));
}
