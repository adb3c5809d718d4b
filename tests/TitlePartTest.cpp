// The title screen with the game's own sounds: the menu keys and what they play, and the
// highlight as the window shows it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/GameEngine.h"
#include "app/PartResult.h"
#include "parts/TitlePart.h"
#include "tests/TestSupport.h"

namespace {
// The title part, pressing Space as soon as it is updated, that is once its fade-in is over.
struct SpaceOnUpdate : TitlePart {
    using TitlePart::TitlePart;
    int update() override { return SDL_PushEvent(keyEvent(SDLK_SPACE)); } // 0 once queued
};
} // namespace

TEST(TitlePart, BeginStartsTheFirstSceneWithABigBlipAndEitherArrowLeadsToQuit) {
    int& scene = *testEngine()->sceneIndex;
    SpaceOnUpdate menu(testEngine(), &scene);
    for (int left : {6, 3}) { // after a finished game, or Escape from a scene
        scene = left;
        menu.setUp();
        SDL_PushEvent(keyEvent(SDLK_DOWN)); // unheard in the fade-in, as is Escape
        SDL_PushEvent(keyEvent(SDLK_ESCAPE));
        int result = PartResult::goOn;
        EXPECT_EQ(heard([&] { result = menu.loop(); }), "bigblip");
        EXPECT_TRUE(result == PartResult::next && scene == 0);
    }
    for (SDLKey toggle : {SDLK_UP, SDLK_DOWN}) {
        menu.setUp(); // back on "begin" though the last visit ended on "quit"
        EXPECT_EQ(heard([&] { menu.handleEvent(keyEvent(toggle)); }), "blipn");
        EXPECT_EQ(heard([&] { menu.handleEvent(keyEvent(SDLK_RETURN)); }), "") << "Return: nothing";
        EXPECT_EQ(menu.handleEvent(keyEvent(SDLK_SPACE)), PartResult::quit);
    }
    EXPECT_EQ(menu.handleEvent(keyEvent(SDLK_ESCAPE)), PartResult::quit);
    EXPECT_EQ(menu.handleEvent(keyEvent(SDLK_UNKNOWN, SDL_QUIT)), PartResult::quit);
}

TEST(TitlePart, TheChosenItemShowsWhiteAndTheOtherGrey) {
    TitlePart* menu = static_cast<TitlePart*>(testEngine()->parts[1]);
    const Rgb grey{128, 128, 128};
    for (int selection : {TitlePart::beginItem, TitlePart::quitItem}) {
        menu->selection = selection;
        menu->draw();
        const Picture w = readWindow();
        EXPECT_TRUE(showsText(w, 253, 258, "begin", 0, selection ? grey : white) &&
                    showsText(w, 253, 299, "quit", 0, selection ? white : grey));
    }
}
