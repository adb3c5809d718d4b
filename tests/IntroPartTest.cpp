// The intro: phase lengths, skipping and closing through the frame loop, the noise volume over
// a run, each phase's picture read back, and the GL state it leaves to the later parts.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "graphics/FontSet.h"
#include "graphics/Video.h"
#include "parts/IntroPart.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {
// Whether dither mask k lets pixel (x, y) through; y from the top, masks anchored bottom-left.
bool maskCovers(int k, int x, int y) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return bayer[(479 - y) % 4][x % 4] < k;
}
bool inSquare(int x, int y) {
    return x >= 160 && x < 480 && y >= 120 && y < 360;
}

std::vector<Rgb> introFrame(float rise, float hold, float fade) {
    int scene = 0;
    IntroPart intro(testSubsystems(), &scene);
    intro.introRise = rise;
    intro.introHold = hold;
    intro.introFade = fade;
    intro.draw();
    return readWindow();
}

// Every pixel of the rectangle is grey `want(x, y)`.
template <class Want>
void expectGreys(const std::vector<Rgb>& w, int x0, int y0, int x1, int y1, Want want) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            Rgb p = pixelAt(w, x, y);
            ASSERT_TRUE(p.r == p.g && p.g == p.b) << x << "," << y;
            ASSERT_NEAR(p.r, want(x, y), 2) << x << "," << y;
        }
}
} // namespace

TEST(IntroPart, PhasesTake51And76And25Updates) {
    SubengineInterface none;
    int scene = 0, updates[3] = {0, 0, 0}, total = 0;
    IntroPart intro(&none, &scene);
    for (;;) {
        float before[3] = {intro.introRise, intro.introHold, intro.introFade};
        ++total;
        if (intro.update() != 0)
            break;
        updates[0] += intro.introRise != before[0];
        updates[1] += intro.introHold != before[1];
        updates[2] += intro.introFade != before[2];
        if (total == 50) {
            EXPECT_LT(intro.introRise, 1.0f) << "the fiftieth step stops just short of 1";
        }
    }
    EXPECT_EQ(updates[0], 51);
    EXPECT_EQ(updates[1], 76);
    EXPECT_EQ(updates[2], 25);
    EXPECT_EQ(total, 153) << "152 frames drawn; the 153rd update ends the intro";
    EXPECT_NEAR(intro.introRise, 1.02, 1e-5);
    EXPECT_NEAR(intro.introHold, 1.52, 1e-5);
    EXPECT_TRUE(intro.introFade < 0 && intro.introFade > -1e-5f);
    EXPECT_EQ(intro.update(), 1);
}

// The real frame loop: no fade-in, so keys and updates are live from the first frame.
TEST(IntroPart, SkipOrCloseFromTheFirstFrame) {
    REQUIRE_DISPLAY();
    struct CountedIntro : IntroPart {
        using IntroPart::IntroPart;
        void draw() override {
            IntroPart::draw();
            rises.push_back(introRise);
            volumes.push_back(sound->backgroundVolume);
            SDL_Event e{};
            e.type = rises.size() < 3 ? SDL_MOUSEBUTTONDOWN : SDL_QUIT; // clicks are ignored
            SDL_PushEvent(&e);
        }
        std::vector<float> rises, volumes;
    };
    int scene = 0;
    for (SDLKey skip : {SDLK_SPACE, SDLK_ESCAPE}) {
        CountedIntro intro(testSubsystems(), &scene);
        intro.setUp();
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = skip;
        SDL_PushEvent(&e);
        EXPECT_EQ(intro.loop(), 1);
        EXPECT_TRUE(intro.rises.empty()) << "ended before the first frame was drawn";
    }
    CountedIntro intro(testSubsystems(), &scene);
    intro.setUp();
    EXPECT_EQ(intro.loop(), -1) << "closing the window ends the program";
    ASSERT_EQ(intro.rises.size(), 3u);
    EXPECT_FLOAT_EQ(intro.rises[0], 0.02f) << "the first frame is already updated";
    EXPECT_FLOAT_EQ(intro.volumes[0], 0.001f);
}

TEST(IntroPart, NoiseSwellsToItsNormalLevelAndNoFurther) {
    REQUIRE_DISPLAY();
    int scene = 0;
    IntroPart intro(testSubsystems(), &scene);
    std::vector<float> volumes;
    while (intro.update() == 0) {
        intro.draw();
        volumes.push_back(testSubsystems()->sound->backgroundVolume);
    }
    ASSERT_EQ(volumes.size(), 152u);
    EXPECT_FLOAT_EQ(volumes[0], 0.001f);
    EXPECT_NEAR(volumes[50], 0.051, 1e-6);
    for (size_t i = 1; i < volumes.size(); ++i)
        ASSERT_TRUE(volumes[i] >= volumes[i - 1] && volumes[i] <= 0.1f) << "frame " << i;
    EXPECT_FLOAT_EQ(volumes.back(), 0.1f);
}

TEST(IntroPart, EachPhaseReadBack) {
    REQUIRE_DISPLAY();
    FontSet* font = testSubsystems()->video->font;
    ASSERT_NE(font->bigTexture, 0u) << "textures/font.bmp did not load";
    auto grey = [](int k, int level) {
        return [=](int x, int y) { return maskCovers(k, x, y) ? level : 0; };
    };
    // Rise at 0.5: the square alone, mask 16 * 0.5 / 3 -> 2, grey 0.5 / 3.
    std::vector<Rgb> rise = introFrame(0.5f, 0, 1);
    expectGreys(rise, 0, 0, 640, 480,
                [&](int x, int y) { return inSquare(x, y) ? grey(2, 42)(x, y) : 0; });
    // Hold: the square at mask 5 in grey 1/3 (the fade level caps it); the falling triangle, out
    // right of the square, and the rising one over its middle, at mask 8 in grey 1/2.
    std::vector<Rgb> hold = introFrame(1.02f, 1.0f, 1);
    expectGreys(hold, 160, 120, 190, 360, grey(5, 85));
    expectGreys(hold, 500, 160, 520, 170, grey(8, 128));
    expectGreys(hold, 310, 150, 330, 152, grey(8, 128));
    // Fade at 0.5: square mask 2, triangles mask 4 in grey 64, and the caption at mask 8 in grey
    // 128 added onto the square's dither (left of the rising triangle).
    std::vector<Rgb> fade = introFrame(1.02f, 1.52f, 0.5f);
    expectGreys(fade, 500, 160, 520, 170, grey(4, 64));
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    font->drawText(200, 230, "quorlaven presents", 0); // still additive: marks the glyphs
    std::vector<Rgb> glyphs = readWindow();
    expectGreys(fade, 160, 230, 245, 246, [&](int x, int y) {
        int caption = maskCovers(8, x, y) ? (pixelAt(glyphs, x, y).r + 1) / 2 : 0;
        return grey(2, 42)(x, y) + caption;
    });
    int added = 0; // glyph pixels on the square's dither: 42 + 128
    for (int y = 230; y < 246; ++y)
        for (int x = 200; x < 245; ++x)
            added += pixelAt(fade, x, y).r == 170;
    EXPECT_GT(added, 0);
}

TEST(IntroPart, LeavesAdditiveBlendingAndThePixelProjection) {
    REQUIRE_DISPLAY();
    testSubsystems();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTranslatef(5, 5, 0);
    introFrame(0.3f, 0, 1);
    GLint src = 0, dst = 0, viewport[4] = {};
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_TRUE(src == GL_ONE && dst == GL_ONE);
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_STIPPLE));
    EXPECT_EQ(viewport[2] * 1000 + viewport[3], 640480);
    GLfloat projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    // glOrtho(0, 640, 480, 0, -1, 1): one unit a pixel, y down from the top-left corner.
    const GLfloat ortho[16] = {2.0f / 640, 0, 0, 0, 0, -2.0f / 480, 0, 0, 0, 0, -1, 0, -1, 1, 0, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(projection[i], ortho[i]) << "projection element " << i;
        EXPECT_FLOAT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << "model-view element " << i;
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
