// The intro and the title screen, each run through the real frame loop and read back.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "parts/IntroPart.h"
#include "parts/TitlePart.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

static SDL_Event* event(SDLKey key, Uint8 type = SDL_KEYDOWN) {
    static SDL_Event e;
    e.key = {type, 0, 0, {0, key, KMOD_NONE, 0}};
    return &e;
}
// Whether dither mask k lets pixel (x, y) through; y from the top, masks anchored bottom-left.
static bool covers(int k, int x, int y) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return bayer[(479 - y) % 4][x % 4] < k;
}
struct RecordedIntro : IntroPart {
    using IntroPart::IntroPart;
    void draw() override {
        IntroPart::draw();
        rising += introHold == 0;  // frames (each drawn after an update) of the first phase
        holding += introFade == 1; // and of the first two
        volumes.push_back(sound->backgroundVolume);
        if (volumes.size() == 25 || volumes.size() == 101 || volumes.size() == 139)
            frames.push_back(readWindow()); // rise 0.5; hold 1; fade 0.52
    }
    int rising = 0, holding = 0;
    std::vector<float> volumes;
    std::vector<std::vector<Rgb>> frames;
};

TEST(IntroPart, PhasesNoisePicturesAndSkipping) {
    REQUIRE_DISPLAY();
    int scene = 0;
    RecordedIntro intro(testSubsystems(), &scene);
    intro.setUp();
    EXPECT_TRUE(intro.loop() == 1 && intro.rising == 51 && intro.holding == 51 + 76 &&
                intro.volumes.size() == 152u)
        << "51, 76 and 25 updates; the 153rd ends the intro with 1";
    EXPECT_LT(std::abs(intro.introRise - 1.02f) + std::abs(intro.introHold - 1.52f), 1e-5f);
    EXPECT_TRUE(intro.introFade < 0 && intro.introFade > -1e-5f);
    EXPECT_FLOAT_EQ(intro.volumes[0], 0.001f);
    EXPECT_LE(*std::max_element(intro.volumes.begin(), intro.volumes.end()), 0.1f);
    // Square mask and grey, caption mask and grey over the top-left quarter (no triangle there).
    const int m[3][4] = {{2, 42, 0, 0}, {5, 85, 16, 255}, {2, 44, 8, 133}};
    int added = 0;
    for (int i = 0; i < 3; ++i)
        for (int y = 0; y < 246; ++y)
            for (int x = 0; x < 246; ++x) {
                const int square = x >= 160 && y >= 120 && covers(m[i][0], x, y) ? m[i][1] : 0;
                const Rgb c = pixelAt(intro.frames[i], x, y);
                added += i == 2 && square && c.r >= square + m[i][3] - 2; // fading: 44 + 133
                ASSERT_TRUE(c.r == c.g && c.g == c.b && c.r >= square - 2 &&
                            (c.r <= square + 2 || covers(m[i][2], x, y)))
                    << "frame " << i << " at " << x << "," << y;
            }
    EXPECT_GT(added, 0) << "the caption added onto the square";
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0.5f, 0.5f, 0.5f);
    glRecti(600, 20, 601, 21);
    glRecti(600, 20, 601, 21);
    EXPECT_GE(pixelAt(readWindow(), 600, 20).r, 254) << "left: pixel units, no stipple, adding";
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (SDLKey key : {SDLK_SPACE, SDLK_ESCAPE, SDLK_UNKNOWN}) {
        RecordedIntro skipped(testSubsystems(), &scene);
        skipped.setUp();
        SDL_PushEvent(event(key, key ? SDL_KEYDOWN : SDL_QUIT));
        EXPECT_EQ(skipped.loop(), key ? 1 : -1);
        EXPECT_TRUE(skipped.volumes.empty()) << "no fade-in: it ends before the first frame";
    }
}

TEST(TitlePart, KeysFadeInWordAndMenu) {
    REQUIRE_DISPLAY();
    struct SpaceOnUpdate : TitlePart {
        using TitlePart::TitlePart;
        int update() override { return SDL_PushEvent(event(SDLK_SPACE)); } // 0 once queued
    };
    int scene = 0;
    SpaceOnUpdate title(testSubsystems(), &scene);
    for (const char* effect : {"audio/blipn.wav", "audio/bigblip.wav"}) // as the engine loads
        title.sound->loadSound(effect);
    auto& played = title.sound->channels; // effect n on channel n + 1
    std::fill(played.begin(), played.end(), nullptr);
    // Down and Escape queued before the loop go with the fade-in, unheard; Space still begins.
    for (int left : {6, 3}) { // after a finished game, or a scene left with Escape
        scene = left;
        title.setUp();
        SDL_PushEvent(event(SDLK_DOWN));
        SDL_PushEvent(event(SDLK_ESCAPE));
        EXPECT_TRUE(title.loop() == 1 && scene == 0 && !played[1] && played[2]) << "big blip only";
    }
    for (SDLKey toggle : {SDLK_UP, SDLK_DOWN}) { // either arrow leads to quit; Return does nothing
        title.setUp(); // back on "begin" though the last visit ended on "quit"
        EXPECT_EQ(title.handleEvent(event(toggle)) + title.handleEvent(event(SDLK_RETURN)), 0);
        EXPECT_TRUE(title.handleEvent(event(SDLK_SPACE)) == -1 && played[1]) << "with a blip";
    }
    EXPECT_EQ(title.handleEvent(event(SDLK_ESCAPE)), -1);
    EXPECT_EQ(title.handleEvent(event(SDLK_UNKNOWN, SDL_QUIT)), -1) << "a window close ends it";
    for (int seed = 0, k = 0, dy = 0, dx = 0; k != 8; ++seed) { // until the whole word moves
        std::srand(seed);
        const TitlePart::WordPieces p = TitlePart::wordPieces(TitlePart::nextTremble());
        std::srand(seed); // rand is called for k, dy, dx in that order
        k = std::rand() % 9, dy = std::rand() % 2, dx = std::rand() % 2;
        EXPECT_EQ(p.front + "|" + p.rest, std::string("wanderkin").insert(k + 1, "|"));
        EXPECT_TRUE(p.frontX == 252 + dx && p.frontY == 175 + dy && p.restX == 269 + 16 * k &&
                    p.restY == 176);
    }
    auto peak = [](const std::vector<Rgb>& w, int y0, int y1) { // over rows y0 to y1 - 1
        auto dimmer = [](Rgb a, Rgb b) { return a.g < b.g; };
        return int(std::max_element(w.begin() + 640 * y0, w.begin() + 640 * y1, dimmer)->g);
    };
    glBlendFunc(GL_ONE, GL_ONE); // as the intro leaves it
    for (int selection : {0, 1}) {
        title.selection = selection;
        title.draw();
        const std::vector<Rgb> w = readWindow();
        EXPECT_EQ(peak(w, 175, 192), 255) << "the word";
        EXPECT_NEAR(peak(w, 258, 274), selection == 0 ? 255 : 128, 1) << "begin";
        EXPECT_NEAR(peak(w, 299, 315), selection == 1 ? 255 : 128, 1) << "quit";
        EXPECT_EQ(peak(w, 0, 175) + peak(w, 192, 258) + peak(w, 274, 299) + peak(w, 315, 480), 0);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
