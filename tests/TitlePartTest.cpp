// The title screen: its key table, the scene reset on "begin", the fade-in that swallows keys,
// the trembling word, and the menu's colours read back from the window.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "graphics/FontSet.h"
#include "graphics/Video.h"
#include "parts/TitlePart.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {

SDL_Event keyDown(SDLKey key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    return event;
}

SDL_Event eventOfType(Uint8 type) {
    SDL_Event event{};
    event.type = type;
    return event;
}

int press(TitlePart& title, SDLKey key) {
    SDL_Event event = keyDown(key);
    return title.handleEvent(&event);
}

void drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

// The brightest grey in a rectangle of the window.
int brightest(const std::vector<Rgb>& window, int x0, int y0, int x1, int y1) {
    int best = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            best = std::max<int>(best, pixelAt(window, x, y).g);
    return best;
}

// The title plays effects 0 and 1; the engine loads them at start, so the test does too.
bool effectsLoaded() {
    SoundSystem* sound = testSubsystems()->sound;
    const char* effects[] = {"audio/blipn.wav", "audio/bigblip.wav", "audio/good.wav",
                             "audio/bad.wav"};
    if (sound->sounds.size() >= 5) // the stream slot and four effects
        return true;
    for (const char* path : effects)
        if (!std::ifstream(path))
            return false;
    for (const char* path : effects)
        sound->loadSound(path);
    return true;
}

#define REQUIRE_EFFECTS()                                                                          \
    do {                                                                                           \
        REQUIRE_DISPLAY();                                                                         \
        if (!effectsLoaded())                                                                      \
            GTEST_SKIP() << "the sound effects in audio/ are missing";                             \
    } while (0)

// Forgets which effects played, so the next checks see only new plays.
void clearPlays() {
    std::vector<FMOD_CHANNEL*>& channels = testSubsystems()->sound->channels;
    std::fill(channels.begin(), channels.end(), nullptr);
}

bool played(int effect) {
    return testSubsystems()->sound->channels[effect + 1] != nullptr;
}

bool fontLoaded() {
    return testSubsystems()->video->font->bigTexture != 0;
}

} // namespace

TEST(TitlePart, KeyTable) {
    REQUIRE_EFFECTS();
    int scene = 4;
    TitlePart title(testSubsystems(), &scene);

    // Either arrow toggles with a blip, so one press of either lands on "quit".
    title.setUp();
    clearPlays();
    EXPECT_EQ(press(title, SDLK_UP), 0);
    EXPECT_EQ(title.selection, 1);
    EXPECT_TRUE(played(0));
    EXPECT_FALSE(played(1));
    clearPlays();
    EXPECT_EQ(press(title, SDLK_SPACE), -1);
    EXPECT_FALSE(played(0) || played(1)) << "quitting is silent";
    EXPECT_EQ(scene, 4) << "quitting must not touch the scene number";

    title.setUp();
    EXPECT_EQ(title.selection, 0) << "the menu opens on \"begin\"";
    EXPECT_EQ(press(title, SDLK_DOWN), 0);
    EXPECT_EQ(press(title, SDLK_SPACE), -1);

    // Two toggles come back to "begin".
    title.setUp();
    EXPECT_EQ(press(title, SDLK_DOWN), 0);
    EXPECT_EQ(press(title, SDLK_UP), 0);
    EXPECT_EQ(title.selection, 0);

    // Return, letters, the other arrows and mouse events do nothing.
    clearPlays();
    for (SDLKey key : {SDLK_RETURN, SDLK_a, SDLK_LEFT, SDLK_RIGHT, SDLK_KP_ENTER})
        EXPECT_EQ(press(title, key), 0) << "key " << key;
    for (Uint8 type : {SDL_KEYUP, SDL_MOUSEBUTTONDOWN, SDL_MOUSEMOTION, SDL_ACTIVEEVENT}) {
        SDL_Event event = eventOfType(type);
        EXPECT_EQ(title.handleEvent(&event), 0) << "event type " << int(type);
    }
    EXPECT_EQ(title.selection, 0);
    EXPECT_FALSE(played(0) || played(1));
    EXPECT_EQ(scene, 4);

    // Escape quits from either item, and so does closing the window.
    EXPECT_EQ(press(title, SDLK_ESCAPE), -1);
    press(title, SDLK_DOWN);
    EXPECT_EQ(press(title, SDLK_ESCAPE), -1);
    SDL_Event close = eventOfType(SDL_QUIT);
    EXPECT_EQ(title.handleEvent(&close), -1);
}

TEST(TitlePart, BeginStartsAgainFromTheFirstScene) {
    REQUIRE_EFFECTS();
    int scene = 6; // a finished game
    TitlePart title(testSubsystems(), &scene);
    title.setUp();
    clearPlays();
    EXPECT_EQ(press(title, SDLK_SPACE), 1);
    EXPECT_EQ(scene, 0);
    EXPECT_TRUE(played(1));
    EXPECT_FALSE(played(0));

    // Left a scene with Escape after the last visit ended on "quit": setUp reopens on
    // "begin", and "begin" resets the number again.
    press(title, SDLK_DOWN);
    scene = 3;
    title.setUp();
    EXPECT_EQ(press(title, SDLK_SPACE), 1);
    EXPECT_EQ(scene, 0);
}

// Drives the real frame loop: keys pushed during the fade-in never reach the part.
TEST(TitlePart, KeysDuringTheFadeInAreDropped) {
    REQUIRE_EFFECTS();
    struct WatchedTitle : TitlePart {
        using TitlePart::TitlePart;
        int handleEvent(SDL_Event* event) override {
            ++handled;
            return TitlePart::handleEvent(event);
        }
        void draw() override {
            TitlePart::draw();
            ++frames;
            if (frames == 1 || frames == 20) {
                SDL_Event down = keyDown(SDLK_DOWN);
                SDL_PushEvent(&down);
            }
            if (frames == 30) {
                SDL_Event escape = keyDown(SDLK_ESCAPE);
                SDL_PushEvent(&escape);
            }
            if (fadeFrames == 0 && !spaceSent) {
                spaceSent = true;
                fadePlayedSomething = played(0) || played(1);
                framesBeforeSpace = frames;
                SDL_Event space = keyDown(SDLK_SPACE);
                SDL_PushEvent(&space);
            }
        }
        int handled = 0;
        int frames = 0;
        int framesBeforeSpace = 0;
        bool spaceSent = false;
        bool fadePlayedSomething = true;
    };

    drainEvents();
    int scene = 6;
    WatchedTitle title(testSubsystems(), &scene);
    title.fadeFrames = 0;
    title.setUp();
    clearPlays();
    // Down and Escape fell into the fade-in: Space still finds "begin" selected.
    EXPECT_EQ(title.loop(), 1);
    EXPECT_EQ(title.framesBeforeSpace, 41);
    EXPECT_EQ(title.handled, 1) << "only the Space after the fade-in reaches the part";
    EXPECT_FALSE(title.fadePlayedSomething) << "no blip during the fade-in";
    EXPECT_EQ(title.selection, 0);
    EXPECT_EQ(scene, 0);
}

TEST(TitlePart, WordTremblesWithRandCalledInOrder) {
    const std::string word = "wanderkin";
    const unsigned seed = 2024;
    std::srand(seed);
    std::vector<TitlePart::Tremble> trembles;
    for (int frame = 0; frame < 300; ++frame)
        trembles.push_back(TitlePart::nextTremble());

    std::srand(seed);
    bool sawWhole = false, sawSingle = false;
    for (const TitlePart::Tremble& t : trembles) {
        int k = std::rand() % 9;
        int dy = std::rand() % 2;
        int dx = std::rand() % 2;
        ASSERT_EQ(t.k, k);
        ASSERT_EQ(t.dy, dy);
        ASSERT_EQ(t.dx, dx);

        TitlePart::WordPieces p = TitlePart::wordPieces(t);
        EXPECT_EQ(p.front, word.substr(0, k + 1));
        EXPECT_EQ(p.rest, word.substr(k + 1));
        EXPECT_EQ(p.frontX, 252 + dx);
        EXPECT_EQ(p.frontY, 175 + dy);
        // The rest stands at the word's resting place (253, 176), one glyph per letter.
        EXPECT_EQ(p.restX, 253 + 16 * (k + 1));
        EXPECT_EQ(p.restY, 176);
        if (k == 8) {
            sawWhole = true;
            EXPECT_EQ(p.front, word);
            EXPECT_EQ(p.rest, "");
            EXPECT_EQ(p.restX, 397);
        }
        sawSingle = sawSingle || k == 0;
    }
    EXPECT_TRUE(sawWhole && sawSingle) << "pick a seed whose frames show both ends";
}

// Each frame draws one tremble: three rand calls, no more.
TEST(TitlePart, DrawTakesThreeRandomNumbersAFrame) {
    REQUIRE_DISPLAY();
    int scene = 0;
    TitlePart title(testSubsystems(), &scene);
    std::srand(99);
    for (int i = 0; i < 6; ++i)
        std::rand();
    int seventh = std::rand();
    std::srand(99);
    title.draw();
    title.draw();
    EXPECT_EQ(std::rand(), seventh);
}

TEST(TitlePart, MenuColoursAndWordReadBack) {
    REQUIRE_DISPLAY();
    testSubsystems();
    if (!fontLoaded())
        GTEST_SKIP() << "the font sheet did not load";
    int scene = 0;
    TitlePart title(testSubsystems(), &scene);
    // The intro leaves additive blending behind; the title is drawn with it in a run.
    glBlendFunc(GL_ONE, GL_ONE);

    title.setUp();
    title.draw();
    std::vector<Rgb> window = readWindow();
    EXPECT_EQ(brightest(window, 253, 258, 253 + 5 * 16, 274), 255) << "\"begin\" white";
    EXPECT_NEAR(brightest(window, 253, 299, 253 + 4 * 16, 315), 128, 1) << "\"quit\" grey";
    EXPECT_EQ(brightest(window, 0, 0, 640, 174), 0) << "nothing above the word";
    EXPECT_EQ(brightest(window, 0, 193, 640, 258), 0) << "nothing between word and menu";
    EXPECT_EQ(brightest(window, 0, 315, 640, 480), 0) << "nothing below the menu";

    press(title, SDLK_DOWN);
    title.draw();
    window = readWindow();
    EXPECT_NEAR(brightest(window, 253, 258, 253 + 5 * 16, 274), 128, 1);
    EXPECT_EQ(brightest(window, 253, 299, 253 + 4 * 16, 315), 255);

    // The word, for a fixed seed, matches the two pieces drawn by hand from the same seed.
    std::srand(5);
    title.draw();
    std::vector<Rgb> drawn = readWindow();
    std::srand(5);
    int k = std::rand() % 9, dy = std::rand() % 2, dx = std::rand() % 2;
    std::string word = "wanderkin";
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    testSubsystems()->video->font->drawText(252 + dx, 175 + dy, word.substr(0, k + 1).c_str(), 0);
    testSubsystems()->video->font->drawText(269 + 16 * k, 176, word.substr(k + 1).c_str(), 0);
    std::vector<Rgb> expected = readWindow();
    for (int y = 170; y < 196; ++y)
        for (int x = 240; x < 410; ++x)
            ASSERT_EQ(pixelAt(drawn, x, y), pixelAt(expected, x, y)) << x << "," << y;
    EXPECT_GT(brightest(drawn, 252, 175, 397, 192), 0) << "the word shows";
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
