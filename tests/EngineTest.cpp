// The part loop: hand-over between parts, the dissolve after each, the game's part table.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/Engine.h"
#include "app/EnginePart.h"
#include "app/GameEngine.h"
#include "tests/TestSupport.h"

namespace {

// A part that skips the fade-in and ends on its first update with a fixed result.
class EndingPart : public EnginePart {
public:
    EndingPart(SubengineInterface* subsystems, int result) : EnginePart(subsystems), result(result) {}
    void setUp() override {
        ++setUps;
        seenAtSetUp = {mouseX, mouseY};
        leftHeldAtSetUp = leftHeld;
        rightPressedAtSetUp = rightPressed;
        fadeFrames = -1;
    }
    int handleEvent(SDL_Event*) override { return 0; }
    int update() override {
        if (beforeEnding)
            beforeEnding(this);
        return result;
    }
    void draw() override {}

    int result;
    int setUps = 0;
    std::pair<int, int> seenAtSetUp;
    bool leftHeldAtSetUp = false;
    bool rightPressedAtSetUp = false;
    void (*beforeEnding)(EndingPart*) = nullptr;
};

class ScriptedEngine : public Engine {
public:
    // Follows `order` (indices of the parts to run after each ending), then stops; a negative
    // result stops at once.
    int nextPart(int current, int result) override {
        calls.push_back({current, result});
        if (result >= 0 && step < order.size())
            return order[step++];
        return -1;
    }
    std::vector<int> order;
    size_t step = 0;
    std::vector<std::pair<int, int>> calls;
};

} // namespace

TEST(Engine, RunsPartsInTurnAndHandsTheMouseOver) {
    REQUIRE_DISPLAY();
    testing::internal::CaptureStdout();
    ScriptedEngine* engine = new ScriptedEngine;
    EndingPart first(engine, 4);
    EndingPart second(engine, 9);
    first.beforeEnding = [](EndingPart* part) {
        part->mouseX = 123;
        part->mouseY = 45;
        part->leftHeld = true;
        part->rightPressed = true;
    };
    engine->parts = {&first, &second};
    engine->order = {1, 1};
    engine->run();

    ASSERT_EQ(engine->calls.size(), 3u);
    EXPECT_EQ(engine->calls[0], std::make_pair(0, 4));
    EXPECT_EQ(engine->calls[1], std::make_pair(1, 9));
    EXPECT_EQ(engine->calls[2], std::make_pair(1, 9)); // a part may follow itself
    EXPECT_EQ(first.setUps, 1);
    EXPECT_EQ(second.setUps, 2);
    EXPECT_EQ(second.seenAtSetUp, std::make_pair(123, 45));
    EXPECT_TRUE(second.leftHeldAtSetUp);
    EXPECT_FALSE(second.rightPressedAtSetUp) << "only the position and the left button pass on";
    EXPECT_EQ(engine->current, -1);
    delete engine;
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.substr(output.size() - 15), "Exited cleanly\n");
}

// Mend: a window close while the last picture dissolves still ends the game.
TEST(Engine, WindowCloseDuringTheDissolveEndsTheGame) {
    REQUIRE_DISPLAY();
    ScriptedEngine* engine = new ScriptedEngine;
    EndingPart first(engine, 1);
    EndingPart second(engine, 1);
    first.beforeEnding = [](EndingPart*) {
        // Arrives after the part's last frame: only the dissolve sees it.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    };
    engine->parts = {&first, &second};
    engine->order = {1};
    engine->run();
    ASSERT_EQ(engine->calls.size(), 1u);
    EXPECT_EQ(engine->calls[0], std::make_pair(0, -1));
    EXPECT_EQ(second.setUps, 0);
    delete engine;
}

TEST(GameEngine, ChainsIntroTitleAndScenes) {
    REQUIRE_DISPLAY();
    GameEngine engine;
    ASSERT_EQ(engine.parts.size(), 3u);
    ASSERT_NE(engine.sceneIndex, nullptr);
    EXPECT_EQ(*engine.sceneIndex, 0);

    for (int current = -1; current <= 3; ++current)
        for (int result : {-5, -1})
            EXPECT_EQ(engine.nextPart(current, result), -1) << current << " " << result;
    EXPECT_EQ(engine.nextPart(0, 0), 1);
    EXPECT_EQ(engine.nextPart(0, 1), 1);
    EXPECT_EQ(engine.nextPart(0, 17), 1);
    EXPECT_EQ(engine.nextPart(1, 0), 2);
    EXPECT_EQ(engine.nextPart(1, 1), 2);

    // A finished scene: the next scene while the counter is at most 5, then the title.
    *engine.sceneIndex = 1;
    EXPECT_EQ(engine.nextPart(2, 1), 2);
    *engine.sceneIndex = 5;
    EXPECT_EQ(engine.nextPart(2, 1), 2);
    *engine.sceneIndex = 6;
    EXPECT_EQ(engine.nextPart(2, 1), 1);
    // Escape from a scene goes to the title whatever the counter; other results end the game.
    EXPECT_EQ(engine.nextPart(2, 3), 1);
    *engine.sceneIndex = 2;
    EXPECT_EQ(engine.nextPart(2, 3), 1);
    EXPECT_EQ(engine.nextPart(2, 0), -1);
    EXPECT_EQ(engine.nextPart(2, 2), -1);
    EXPECT_EQ(engine.nextPart(3, 1), -1);
    EXPECT_EQ(engine.nextPart(7, 0), -1);
}
