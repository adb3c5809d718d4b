// The title screen: key table, scene reset, keys lost in the fade-in, the trembling word, and
// the menu's colours read back from the window.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "graphics/FontSet.h"
#include "graphics/Video.h"
#include "parts/TitlePart.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {
SDL_Event event(Uint8 type, SDLKey key = SDLK_UNKNOWN) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = key;
    return e;
}
int press(TitlePart& title, SDLKey key) {
    SDL_Event e = event(SDL_KEYDOWN, key);
    return title.handleEvent(&e);
}
// Loads the effects the engine loads at start, once per test process; then forgets past plays
// so played() sees only what follows.
void readyEffects() {
    SoundSystem* sound = testSubsystems()->sound;
    if (sound->sounds.size() < 5)
        for (const char* name : {"blipn", "bigblip", "good", "bad"})
            sound->loadSound(std::string("audio/") + name + ".wav");
    std::fill(sound->channels.begin(), sound->channels.end(), nullptr);
}
bool played(int effect) {
    return testSubsystems()->sound->channels[effect + 1] != nullptr;
}
int brightest(const std::vector<Rgb>& w, int x0, int y0, int x1, int y1) {
    int best = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            best = std::max<int>(best, pixelAt(w, x, y).g);
    return best;
}
} // namespace

TEST(TitlePart, KeyTableAndSceneReset) {
    REQUIRE_DISPLAY();
    int scene = 6; // a finished game
    TitlePart title(testSubsystems(), &scene);
    for (SDLKey toggle : {SDLK_UP, SDLK_DOWN}) {
        title.setUp();
        readyEffects();
        EXPECT_EQ(press(title, toggle), 0);
        EXPECT_TRUE(played(0) && !played(1));
        readyEffects();
        EXPECT_EQ(press(title, SDLK_SPACE), -1) << "either arrow leads to quit";
        EXPECT_FALSE(played(0) || played(1));
        EXPECT_EQ(scene, 6);
    }
    title.setUp(); // reopens on "begin" though the last visit ended on "quit"
    for (SDLKey idle : {SDLK_RETURN, SDLK_KP_ENTER, SDLK_a, SDLK_LEFT, SDLK_RIGHT})
        EXPECT_EQ(press(title, idle), 0);
    SDL_Event click = event(SDL_MOUSEBUTTONDOWN), close = event(SDL_QUIT);
    EXPECT_EQ(title.handleEvent(&click), 0);
    EXPECT_EQ(title.handleEvent(&close), -1) << "a window close always ends the game";
    EXPECT_EQ(press(title, SDLK_ESCAPE), -1);
    readyEffects();
    EXPECT_EQ(press(title, SDLK_SPACE), 1);
    EXPECT_EQ(scene, 0);
    EXPECT_TRUE(played(1) && !played(0));
    scene = 3; // left a scene with Escape
    title.setUp();
    EXPECT_EQ(press(title, SDLK_SPACE), 1);
    EXPECT_EQ(scene, 0);
}

// Through the real frame loop: Down and Escape pushed during the fade-in are dropped, so the
// Space pushed once it is over still begins the game.
TEST(TitlePart, KeysDuringTheFadeInAreDropped) {
    REQUIRE_DISPLAY();
    struct WatchedTitle : TitlePart {
        using TitlePart::TitlePart;
        int handleEvent(SDL_Event* e) override { return ++handled, TitlePart::handleEvent(e); }
        // Down at frames 10 and 20, Escape at 30, Space once the fade-in is over.
        void draw() override {
            TitlePart::draw();
            SDL_Event e = event(SDL_KEYDOWN, ++frames == 30 ? SDLK_ESCAPE : SDLK_DOWN);
            if (fadeFrames == 0) {
                quietFade = quietFade && !played(0) && !played(1);
                e.key.keysym.sym = SDLK_SPACE;
            }
            if ((frames % 10 == 0 && frames < 40) || fadeFrames == 0)
                SDL_PushEvent(&e);
        }
        int handled = 0, frames = 0;
        bool quietFade = true;
    };
    int scene = 6;
    WatchedTitle title(testSubsystems(), &scene);
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
    title.setUp();
    readyEffects();
    EXPECT_EQ(title.loop(), 1);
    EXPECT_EQ(title.frames, 41);
    EXPECT_EQ(title.handled, 1);
    EXPECT_TRUE(title.quietFade) << "no blip during the fade-in";
    EXPECT_EQ(scene, 0);
}

TEST(TitlePart, WordTremblesWithRandCalledInOrder) {
    const std::string word = "wanderkin";
    std::srand(2024);
    std::vector<TitlePart::Tremble> trembles(300);
    for (TitlePart::Tremble& t : trembles)
        t = TitlePart::nextTremble();
    std::srand(2024);
    bool sawWhole = false;
    for (const TitlePart::Tremble& t : trembles) {
        int k = std::rand() % 9, dy = std::rand() % 2, dx = std::rand() % 2;
        ASSERT_TRUE(t.k == k && t.dy == dy && t.dx == dx);
        TitlePart::WordPieces p = TitlePart::wordPieces(t);
        EXPECT_EQ(p.front + "|" + p.rest, word.substr(0, k + 1) + "|" + word.substr(k + 1));
        EXPECT_TRUE(p.frontX == 252 + dx && p.frontY == 175 + dy);
        EXPECT_TRUE(p.restX == 253 + 16 * (k + 1) && p.restY == 176) << "the word's rest place";
        sawWhole = sawWhole || (k == 8 && p.front == word && p.rest.empty());
    }
    EXPECT_TRUE(sawWhole) << "k = 8 shifts the whole word and leaves the second text empty";
}

TEST(TitlePart, MenuColoursAndWordReadBack) {
    REQUIRE_DISPLAY();
    FontSet* font = testSubsystems()->video->font;
    ASSERT_NE(font->bigTexture, 0u) << "textures/font.bmp did not load";
    int scene = 0;
    TitlePart title(testSubsystems(), &scene);
    glBlendFunc(GL_ONE, GL_ONE); // as the intro leaves it in a run
    title.setUp();
    for (int selection : {0, 1}) {
        title.selection = selection;
        title.draw();
        std::vector<Rgb> w = readWindow();
        EXPECT_NEAR(brightest(w, 253, 258, 333, 274), selection == 0 ? 255 : 128, 1) << "begin";
        EXPECT_NEAR(brightest(w, 253, 299, 317, 315), selection == 1 ? 255 : 128, 1) << "quit";
        EXPECT_EQ(brightest(w, 0, 193, 640, 258) + brightest(w, 0, 315, 640, 480), 0);
    }
    // The word for a fixed seed equals its two pieces drawn by hand from the same seed.
    std::srand(5);
    title.draw();
    std::vector<Rgb> drawn = readWindow();
    std::srand(5);
    int k = std::rand() % 9, dy = std::rand() % 2, dx = std::rand() % 2;
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    font->drawText(252 + dx, 175 + dy, std::string("wanderkin").substr(0, k + 1).c_str(), 0);
    font->drawText(269 + 16 * k, 176, std::string("wanderkin").substr(k + 1).c_str(), 0);
    std::vector<Rgb> expected = readWindow();
    EXPECT_GT(brightest(drawn, 252, 175, 397, 192), 0);
    for (int y = 160; y < 200; ++y)
        for (int x = 230; x < 420; ++x)
            ASSERT_EQ(pixelAt(drawn, x, y), pixelAt(expected, x, y)) << x << "," << y;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
