// The intro: its phase lengths and levels, skipping and closing, the noise volume over a run,
// each phase's picture read back, and the GL state it leaves to the later parts.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/FontSet.h"
#include "graphics/Video.h"
#include "parts/IntroPart.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {

SDL_Event eventOfType(Uint8 type) {
    SDL_Event event{};
    event.type = type;
    return event;
}

SDL_Event keyDown(SDLKey key) {
    SDL_Event event = eventOfType(SDL_KEYDOWN);
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    return event;
}

void drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

// Whether ordered-dither mask k lets window pixel (x, y) through; y counts from the top, the
// masks are anchored at the window's bottom-left corner.
bool maskCovers(int k, int x, int y) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return bayer[(479 - y) % 4][x % 4] < k;
}

// The square spans the middle half of the window in both directions.
bool inSquare(int x, int y) {
    return x >= 160 && x < 480 && y >= 120 && y < 360;
}

// Draws one intro frame at the given levels and reads it back before any swap.
std::vector<Rgb> introFrame(float rise, float hold, float fade) {
    int scene = 0;
    IntroPart intro(testSubsystems(), &scene);
    intro.introRise = rise;
    intro.introHold = hold;
    intro.introFade = fade;
    glClearColor(0, 0, 0, 1);
    intro.draw();
    return readWindow();
}

// Checks a strip inside the square, left of both triangles: mask k in the grey level.
void expectSquare(const std::vector<Rgb>& window, int k, int grey) {
    for (int y = 120; y < 360; ++y)
        for (int x = 160; x < 190; ++x) {
            Rgb p = pixelAt(window, x, y);
            int want = maskCovers(k, x, y) ? grey : 0;
            ASSERT_NEAR(p.r, want, 1) << x << "," << y << " mask " << k;
            ASSERT_EQ(p.r, p.g);
            ASSERT_EQ(p.r, p.b);
        }
}

} // namespace

TEST(IntroPart, PhasesTake51And76And25Updates) {
    SubengineInterface none;
    int scene = 0;
    IntroPart intro(&none, &scene);
    int rise = 0, hold = 0, fade = 0;
    float lastRise = 0;
    int result = 0;
    int updates = 0;
    while (result == 0 && updates < 1000) {
        float r = intro.introRise, h = intro.introHold, f = intro.introFade;
        result = intro.update();
        ++updates;
        if (intro.introRise != r)
            ++rise;
        if (intro.introHold != h)
            ++hold;
        if (intro.introFade != f)
            ++fade;
        if (rise == 50 && hold == 0)
            lastRise = intro.introRise;
    }
    EXPECT_EQ(rise, 51);
    EXPECT_EQ(hold, 76);
    EXPECT_EQ(fade, 25);
    EXPECT_EQ(updates, 153) << "152 frames drawn, the 153rd update ends it";
    EXPECT_EQ(result, 1);
    EXPECT_LT(lastRise, 1.0f) << "float rounding leaves the fiftieth step just short of 1";
    EXPECT_NEAR(intro.introRise, 1.02, 1e-5);
    EXPECT_NEAR(intro.introHold, 1.52, 1e-5);
    EXPECT_LT(intro.introFade, 0.0f);
    EXPECT_GT(intro.introFade, -1e-5f);
    // Over is over: the levels stay put and every later update says so again.
    EXPECT_EQ(intro.update(), 1);
    EXPECT_NEAR(intro.introHold, 1.52, 1e-5);
}

TEST(IntroPart, SkipAndCloseResults) {
    SubengineInterface none;
    int scene = 0;
    IntroPart intro(&none, &scene);
    intro.setUp();
    EXPECT_EQ(intro.fadeFrames, -1) << "the intro has no fade-in";
    SDL_Event space = keyDown(SDLK_SPACE), escape = keyDown(SDLK_ESCAPE);
    SDL_Event ret = keyDown(SDLK_RETURN), up = keyDown(SDLK_UP);
    SDL_Event close = eventOfType(SDL_QUIT), click = eventOfType(SDL_MOUSEBUTTONDOWN);
    SDL_Event motion = eventOfType(SDL_MOUSEMOTION), release = eventOfType(SDL_KEYUP);
    release.key.keysym.sym = SDLK_SPACE;
    EXPECT_EQ(intro.handleEvent(&space), 1);
    EXPECT_EQ(intro.handleEvent(&escape), 1);
    EXPECT_EQ(intro.handleEvent(&close), -1);
    for (SDL_Event* other : {&ret, &up, &click, &motion, &release})
        EXPECT_EQ(intro.handleEvent(other), 0) << "event type " << int(other->type);
    EXPECT_EQ(scene, 0);
}

// Through the real frame loop: no fade-in, so keys and updates are live from the first frame.
TEST(IntroPart, FirstFrameIsLiveInTheFrameLoop) {
    REQUIRE_DISPLAY();
    struct CountedIntro : IntroPart {
        using IntroPart::IntroPart;
        void draw() override {
            IntroPart::draw();
            risesDrawn.push_back(introRise);
            volumes.push_back(sound->backgroundVolume);
            if (risesDrawn.size() == keyAfter) {
                SDL_Event event = key;
                SDL_PushEvent(&event);
            }
        }
        std::vector<float> risesDrawn;
        std::vector<float> volumes;
        size_t keyAfter = 0;
        SDL_Event key{};
    };
    int scene = 0;
    for (SDLKey skip : {SDLK_SPACE, SDLK_ESCAPE}) {
        drainEvents();
        CountedIntro intro(testSubsystems(), &scene);
        intro.fadeFrames = 0;
        intro.setUp();
        SDL_Event event = keyDown(skip);
        SDL_PushEvent(&event);
        EXPECT_EQ(intro.loop(), 1);
        EXPECT_TRUE(intro.risesDrawn.empty()) << "a skip on the first frame draws nothing";
    }

    drainEvents();
    CountedIntro intro(testSubsystems(), &scene);
    intro.fadeFrames = 0;
    intro.setUp();
    intro.keyAfter = 3;
    intro.key = eventOfType(SDL_QUIT);
    EXPECT_EQ(intro.loop(), -1) << "closing the window ends the program";
    ASSERT_EQ(intro.risesDrawn.size(), 3u);
    EXPECT_FLOAT_EQ(intro.risesDrawn[0], 0.02f) << "the first frame is already updated";
    EXPECT_FLOAT_EQ(intro.volumes[0], 0.001f);
    EXPECT_FLOAT_EQ(intro.volumes[2], 0.003f);
}

TEST(IntroPart, NoiseSwellsToItsNormalLevelAndNoFurther) {
    REQUIRE_DISPLAY();
    int scene = 0;
    IntroPart intro(testSubsystems(), &scene);
    SoundSystem* sound = testSubsystems()->sound;
    intro.setUp();
    std::vector<float> volumes;
    while (intro.update() == 0) {
        intro.draw();
        volumes.push_back(sound->backgroundVolume);
    }
    ASSERT_EQ(volumes.size(), 152u);
    EXPECT_FLOAT_EQ(volumes[0], 0.001f);
    EXPECT_NEAR(volumes[50], 0.051, 1e-6) << "the rise ends at 1.02 / 20";
    for (size_t i = 0; i < volumes.size(); ++i) {
        ASSERT_LE(volumes[i], 0.1f) << "frame " << i;
        if (i > 0) {
            ASSERT_GE(volumes[i], volumes[i - 1]) << "frame " << i;
        }
    }
    EXPECT_EQ(volumes[51], volumes[50]) << "the hold starts at the rise's level";
    EXPECT_FLOAT_EQ(volumes.back(), 0.1f);
    EXPECT_FLOAT_EQ(volumes[126], 0.1f) << "full by the end of the hold, through the fade";
}

TEST(IntroPart, EachPhaseReadBack) {
    REQUIRE_DISPLAY();
    testSubsystems();
    // Rise: the square alone, mask trunc(16 * 0.5 / 3) = 2 in grey 0.5 / 3.
    std::vector<Rgb> rise = introFrame(0.5f, 0, 1);
    expectSquare(rise, 2, 42);
    for (int y = 0; y < 480; y += 3)
        for (int x = 0; x < 640; x += 3)
            if (!inSquare(x, y)) {
                ASSERT_EQ(pixelAt(rise, x, y).r, 0)
                    << "triangles and caption hidden " << x << "," << y;
            }

    // Hold: square at mask 5 in grey 1 / 3 (the fade level caps it); the falling triangle, at
    // mask 8 in grey 0.5, out to the right of the square.
    std::vector<Rgb> hold = introFrame(1.02f, 1.0f, 1);
    expectSquare(hold, 5, 85);
    for (int y = 160; y < 170; ++y)
        for (int x = 500; x < 520; ++x)
            ASSERT_NEAR(pixelAt(hold, x, y).r, maskCovers(8, x, y) ? 128 : 0, 1) << x << "," << y;
    // The rising triangle stands inside the square, its apex at y ~ 0.48 (row 125), its base
    // at y ~ -0.42 (row 341); it covers the square where its own mask lets it through.
    for (int y : {118, 121, 150, 339, 343})
        for (int x = 310; x < 330; ++x) {
            int square = inSquare(x, y) && maskCovers(5, x, y) ? 85 : 0;
            int want = y > 125 && y < 341 && maskCovers(8, x, y) ? 128 : square;
            ASSERT_NEAR(pixelAt(hold, x, y).r, want, 1) << x << "," << y;
        }

    // Fade at 0.5: square mask 2 grey 42, triangles mask 4 grey 64, and the caption at mask 8
    // in grey 128 added onto the square.
    std::vector<Rgb> fade = introFrame(1.02f, 1.52f, 0.5f);
    expectSquare(fade, 2, 42);
    for (int y = 160; y < 170; ++y)
        for (int x = 500; x < 520; ++x)
            ASSERT_NEAR(pixelAt(fade, x, y).r, maskCovers(4, x, y) ? 64 : 0, 1) << x << "," << y;

    if (testSubsystems()->video->font->bigTexture == 0)
        GTEST_SKIP() << "the font sheet did not load, so no caption to check";
    // The caption alone, solid white, marks where its glyphs are.
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glBlendFunc(GL_ONE, GL_ONE);
    testSubsystems()->video->font->drawText(200, 230, "quorlaven presents", 0);
    std::vector<Rgb> glyphs = readWindow();
    int added = 0;
    // Left of the rising triangle, so only the square lies under these letters.
    for (int y = 230; y < 246; ++y)
        for (int x = 200; x < 245; ++x) {
            int under = maskCovers(2, x, y) ? 42 : 0;
            int caption = maskCovers(8, x, y) ? (pixelAt(glyphs, x, y).r + 1) / 2 : 0;
            ASSERT_NEAR(pixelAt(fade, x, y).r, std::min(255, under + caption), 2) << x << "," << y;
            added += caption > 0 && under > 0;
        }
    EXPECT_GT(added, 0) << "some caption pixels fall on the square's dither";
}

TEST(IntroPart, LeavesAdditiveBlendingAndThePixelProjection) {
    REQUIRE_DISPLAY();
    testSubsystems();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(5, 5, 0);
    introFrame(0.3f, 0, 1);

    GLint src = 0, dst = 0, mode = 0, viewport[4] = {};
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_ONE);
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_STIPPLE));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);

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
