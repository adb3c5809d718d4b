// The title screen with the game's own sounds: the menu keys and what they play, and the
// trembling word and the highlight as the window shows them.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/GameEngine.h"
#include "app/PartResult.h"
#include "parts/TitlePart.h"
#include "tests/TestSupport.h"

namespace {
SDL_Event* event(SDLKey key, Uint8 type = SDL_KEYDOWN) {
    static SDL_Event e;
    return e.key = {type, 0, 0, {0, key, KMOD_NONE, 0}}, &e;
}

// The title part, pressing Space as soon as it is updated, that is once its fade-in is over.
struct SpaceOnUpdate : TitlePart {
    using TitlePart::TitlePart;
    int update() override { return SDL_PushEvent(event(SDLK_SPACE)); } // 0 once queued
};
} // namespace

TEST(TitlePart, BeginStartsTheFirstSceneWithABigBlipAndEitherArrowLeadsToQuit) {
    int& scene = *testEngine()->sceneIndex;
    SpaceOnUpdate menu(testEngine(), &scene);
    for (int left : {6, 3}) { // after a finished game, or Escape from a scene
        scene = left;
        menu.setUp();
        SDL_PushEvent(event(SDLK_DOWN)); // unheard in the fade-in, as is Escape
        SDL_PushEvent(event(SDLK_ESCAPE));
        int result = PartResult::goOn;
        EXPECT_EQ(heard([&] { result = menu.loop(); }), "bigblip");
        EXPECT_TRUE(result == PartResult::next && scene == 0);
    }
    for (SDLKey toggle : {SDLK_UP, SDLK_DOWN}) {
        menu.setUp(); // back on "begin" though the last visit ended on "quit"
        EXPECT_EQ(heard([&] { menu.handleEvent(event(toggle)); }), "blipn");
        EXPECT_EQ(heard([&] { menu.handleEvent(event(SDLK_RETURN)); }), "") << "Return: nothing";
        EXPECT_EQ(menu.handleEvent(event(SDLK_SPACE)), PartResult::quit);
    }
    EXPECT_EQ(menu.handleEvent(event(SDLK_ESCAPE)), PartResult::quit);
    EXPECT_EQ(menu.handleEvent(event(SDLK_UNKNOWN, SDL_QUIT)), PartResult::quit);
}

TEST(TitlePart, TheWordTremblesFromItsFrontAndTheChosenItemShowsWhite) {
    TitlePart* menu = static_cast<TitlePart*>(testEngine()->parts[1]);
    glBlendFunc(GL_ONE, GL_ONE); // as the intro leaves it
    const Rgb grey{128, 128, 128};
    std::set<int> fronts, shifts;
    for (int frame = 0; frame < 60; ++frame) {
        menu->selection = frame % 2;
        menu->draw();
        const Picture w = readWindow();
        EXPECT_TRUE(showsText(w, 253, 258, "begin", 0, frame % 2 ? grey : white) &&
                    showsText(w, 253, 299, "quit", 0, frame % 2 ? white : grey));
        // Each letter stands at rest or a pixel left, up, or both: a front piece of the word
        // moves together, the rest stays.
        std::vector<int> moved;
        for (int k = 0; k < 9; ++k)
            for (int shift = 0; shift < 4; ++shift)
                if (showsText(w, 253 + 16 * k - shift % 2, 176 - shift / 2,
                              std::string(1, "wanderkin"[k])))
                    moved.push_back(shift);
        ASSERT_EQ(moved.size(), 9u) << "frame " << frame;
        const int front = std::find(moved.begin(), moved.end(), 0) - moved.begin();
        EXPECT_EQ(std::count(moved.begin(), moved.begin() + front, moved[0]), front);
        EXPECT_EQ(std::count(moved.begin(), moved.end(), 0), 9 - front);
        fronts.insert(front), shifts.insert(moved[0]);
        int lit = 0; // and nothing else
        for (int i = 0; i < 640 * 480; ++i)
            lit += w.pixels[i] != black && (i / 640 < 175 || (i / 640 >= 192 && i / 640 < 258) ||
                                            (i / 640 >= 274 && i / 640 < 299) || i / 640 >= 315);
        EXPECT_EQ(lit, 0);
    }
    EXPECT_GE(fronts.size(), 5u) << "the front piece is one to nine letters long";
    EXPECT_EQ(shifts.size(), 4u) << "at rest, left, up, or both";
}
