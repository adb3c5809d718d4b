// The intro, then the title screen in the state the intro leaves, run frame by frame and read back.
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
    return e.key = {type, 0, 0, {0, key, KMOD_NONE, 0}}, &e;
}

TEST(IntroAndTitle, PhasesPicturesSkippingKeysWordAndMenu) {
    REQUIRE_DISPLAY();
    int scene = 0;
    IntroPart intro(testSubsystems(), &scene);
    std::string phases;                   // a letter per frame: rise, hold, fade
    std::vector<std::vector<Rgb>> frames; // at rise 0.5, hold 1 and fade 0.52
    while (phases.size() < 200 && intro.update() == 0) {
        phases += intro.introHold == 0 ? 'r' : intro.introFade == 1 ? 'h' : 'f';
        intro.draw();
        const bool first = phases.size() == 1; // the noise at 0.001, then from 0 to 0.1
        EXPECT_NEAR(intro.sound->backgroundVolume, first ? 0.001f : 0.05f, first ? 1e-9f : 0.05f);
        if (phases.size() == 25 || phases.size() == 101 || phases.size() == 139)
            frames.push_back(readWindow());
    }
    ASSERT_EQ(phases, std::string(51, 'r') + std::string(76, 'h') + std::string(25, 'f'));
    const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    auto covers = [&](int k, int x, int y) { return bayer[(479 - y) % 4][x % 4] < k; };
    // Each frame's square mask and grey and caption mask, over the top-left quarter (no triangle).
    int m[3][3] = {{2, 42, 0}, {5, 85, 16}, {2, 44, 8}}, added = 0;
    for (int p = 0; p < 3 * 246 * 246; ++p) {
        const int i = p / 246 / 246, y = p / 246 % 246, x = p % 246;
        const int square = x >= 160 && y >= 120 && covers(m[i][0], x, y) ? m[i][1] : 0;
        const Rgb c = pixelAt(frames[i], x, y);
        added += i == 2 && square && c.r >= 175; // 44 of the square and 133 of the caption
        const bool grey = c.r == c.g && c.g == c.b && c.r + 2 >= square;
        ASSERT_TRUE(grey && (c.r <= square + 2 || covers(m[i][2], x, y))) << "at " << p;
    }
    EXPECT_GT(added, 0) << "the caption added onto the square";
    glColor3f(0.5f, 0.5f, 0.5f); // onto the black corner of the last frame
    glRecti(600, 20, 601, 21);
    glRecti(600, 20, 601, 21);
    EXPECT_GE(pixelAt(readWindow(), 600, 20).r, 254) << "left: pixel units, no stipple, adding";
    struct SpaceOnUpdate : TitlePart {
        using TitlePart::TitlePart;
        int update() override { return SDL_PushEvent(event(SDLK_SPACE)); } // 0 once queued
    };
    SpaceOnUpdate title(testSubsystems(), &scene);
    auto peak = [](const std::vector<Rgb>& w, int y0, int y1) { // over rows y0 to y1 - 1
        auto dimmer = [](Rgb a, Rgb b) { return a.g < b.g; };
        return int(std::max_element(w.begin() + 640 * y0, w.begin() + 640 * y1, dimmer)->g);
    };
    for (int selection : {0, 1}) { // in the pixel projection, unstippled, as the intro leaves them
        title.selection = selection;
        title.draw();
        const std::vector<Rgb> w = readWindow();
        EXPECT_EQ(std::vector<int>({peak(w, 175, 192), peak(w, 258, 274), peak(w, 299, 315)}),
                  std::vector<int>({255, selection ? 128 : 255, selection ? 255 : 128}));
        EXPECT_EQ(peak(w, 0, 175) + peak(w, 192, 258) + peak(w, 274, 299) + peak(w, 315, 480), 0);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (SDLKey key : {SDLK_SPACE, SDLK_ESCAPE, SDLK_UNKNOWN}) { // the intro on its first frame
        IntroPart skipped(testSubsystems(), &scene);
        skipped.setUp(); // no fade-in
        SDL_PushEvent(event(key, key ? SDL_KEYDOWN : SDL_QUIT));
        EXPECT_TRUE(skipped.loop() == (key ? 1 : -1) && skipped.introRise == 0) << key;
    }
    for (const char* effect : {"audio/blipn.wav", "audio/bigblip.wav"}) // as the engine loads
        title.sound->loadSound(effect);
    auto& played = title.sound->channels; // effect n on channel n + 1
    std::fill(played.begin(), played.end(), nullptr);
    for (int left : {6, 3}) { // after a finished game or Escape; keys in the fade-in go unheard
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
    EXPECT_EQ(title.handleEvent(event(SDLK_UNKNOWN, SDL_QUIT)), -1) << "a window close ends it";
    for (int start = 0, k = 0, dy = 0, dx = 0; k != 8; ++start) { // until the whole word moves
        std::srand(start);
        const TitlePart::WordPieces p = TitlePart::wordPieces(TitlePart::nextTremble());
        std::srand(start); // rand is called for k, dy, dx in that order
        k = std::rand() % 9, dy = std::rand() % 2, dx = std::rand() % 2;
        EXPECT_EQ(p.front + "|" + p.rest, std::string("wanderkin").insert(k + 1, "|"));
        EXPECT_TRUE(p.frontX == 252 + dx && p.frontY == 175 + dy && p.restX == 269 + 16 * k);
    }
}
