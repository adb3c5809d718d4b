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
// Skips the fade-in, notes what it was handed at its first set-up, and ends on its first
// update.
class EndingPart : public EnginePart {
  public:
    EndingPart(SubengineInterface* subsystems, int result)
        : EnginePart(subsystems), result(result) {}
    void setUp() override {
        if (++setUps == 1)
            handedOver = {mouseX, mouseY, leftHeld, rightPressed};
        fadeFrames = -1;
    }
    int handleEvent(SDL_Event*) override { return 0; }
    int update() override {
        mouseX = 123, mouseY = 45, leftHeld = true, rightPressed = true;
        if (pushQuit) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit); // after the part's last frame: only the dissolve sees it
        }
        return result;
    }
    void draw() override {}
    int result;
    int setUps = 0;
    std::vector<int> handedOver;
    bool pushQuit = false;
};

// Runs the parts named in `order` after each ending; a negative result stops at once.
class ScriptedEngine : public Engine {
  public:
    int nextPart(int current, int result) override {
        calls.push_back({current, result});
        return result >= 0 && step < order.size() ? order[step++] : -1;
    }
    std::vector<int> order;
    size_t step = 0;
    std::vector<std::pair<int, int>> calls;
};
} // namespace

TEST(Engine, RunsPartsInTurnHandsTheMouseOverAndSaysGoodbye) {
    REQUIRE_DISPLAY();
    testing::internal::CaptureStdout();
    ScriptedEngine* engine = new ScriptedEngine;
    EndingPart first(engine, 4), second(engine, 9);
    engine->parts = {&first, &second};
    engine->order = {1, 1}; // a part may follow itself
    engine->run();
    using Call = std::pair<int, int>;
    EXPECT_EQ(engine->calls, (std::vector<Call>{{0, 4}, {1, 9}, {1, 9}}));
    EXPECT_EQ(second.setUps, 2);
    // The position and the left button pass on; rightPressed does not.
    EXPECT_EQ(second.handedOver, (std::vector<int>{123, 45, 1, 0}));
    delete engine;
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.substr(output.size() - 15), "Exited cleanly\n");
}

// A window close while the last picture dissolves still ends the game.
TEST(Engine, WindowCloseDuringTheDissolveEndsTheGame) {
    REQUIRE_DISPLAY();
    ScriptedEngine* engine = new ScriptedEngine;
    EndingPart first(engine, 1), second(engine, 1);
    first.pushQuit = true;
    engine->parts = {&first, &second};
    engine->order = {1};
    engine->run();
    EXPECT_EQ(engine->calls, (std::vector<std::pair<int, int>>{{0, -1}}));
    EXPECT_EQ(second.setUps, 0);
    delete engine;
}

TEST(GameEngine, ChainsIntroTitleAndScenes) {
    REQUIRE_DISPLAY();
    GameEngine engine;
    ASSERT_EQ(engine.parts.size(), 3u);
    EXPECT_EQ(*engine.sceneIndex, 0);
    struct Row {
        int current, result, scene, next;
    } table[] = {
        {0, -1, 0, -1}, {1, -5, 0, -1}, {2, -1, 0, -1}, {0, 0, 0, 1},   {0, 17, 0, 1}, {1, 0, 0, 2},
        {1, 1, 0, 2},   {2, 1, 1, 2},   {2, 1, 5, 2},   {2, 1, 6, 1},   {2, 3, 2, 1},  {2, 3, 6, 1},
        {2, 0, 2, -1},  {2, 2, 2, -1},  {3, 1, 0, -1},  {-1, 0, 0, -1},
    };
    for (const Row& row : table) {
        *engine.sceneIndex = row.scene;
        EXPECT_EQ(engine.nextPart(row.current, row.result), row.next)
            << row.current << " " << row.result << " at scene " << row.scene;
    }
}
