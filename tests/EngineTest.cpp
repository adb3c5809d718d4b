// The engine's spine with real SDL events on a real window: frame pacing, the frame loop with
// its fade-in, the part loop with its hand-over and dissolve, and the game's part table.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "app/EnginePart.h"
#include "app/GameEngine.h"
#include "app/Timer.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {
void push(Uint8 type, int key = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = static_cast<SDLKey>(key);
    if (type == SDL_MOUSEBUTTONDOWN)
        event.button.button = static_cast<Uint8>(key);
    SDL_PushEvent(&event);
}

// Records what the loops do to it. `onDraw` runs before the clear, so it can read back the
// frame swapped last; `result` ends the part from update.
class RecordingPart : public EnginePart {
  public:
    explicit RecordingPart(SubengineInterface* subsystems = testSubsystems(), int result = 0)
        : EnginePart(subsystems), result(result) {}
    void setUp() override {
        if (++setUps == 1)
            handedOver = {mouseX, mouseY, leftHeld, rightPressed};
        fadeFrames = -1;
    }
    int handleEvent(SDL_Event* event) override {
        keys.push_back(event->type == SDL_KEYDOWN ? event->key.keysym.sym : -event->type);
        rights.push_back(rightPressed);
        return onEvent ? onEvent() : 0;
    }
    int update() override {
        updates.push_back(frames);
        if (result) // an ending part leaves these for the next one
            mouseX = 123, mouseY = 45, leftHeld = rightPressed = true;
        return onUpdate ? onUpdate() : result;
    }
    void draw() override {
        if (onDraw)
            onDraw(frames);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D);
        ++frames;
    }
    int result, frames = 0, setUps = 0;
    std::vector<int> keys, updates, handedOver;
    std::vector<bool> rights;
    std::function<int()> onEvent, onUpdate;
    std::function<void(int)> onDraw;
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

class FrameLoop : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        testSubsystems(); // the window's own start-up events come first: drop them
        for (SDL_Event event; SDL_PollEvent(&event);) {
        }
    }
};
} // namespace

TEST(FramePacing, SleepsUpTo33MillisecondsAndNeverWhenLate) {
    EXPECT_EQ(Timer::frameSleep(0), 33);
    EXPECT_EQ(Timer::frameSleep(32), 1);
    EXPECT_EQ(Timer::frameSleep(33), 0);
    EXPECT_EQ(Timer().ticks(), 0) << "a timer never started reads 0";
}

TEST_F(FrameLoop, FadeInDrawsFortyFramesFromSolidWhiteWithoutEventsOrUpdates) {
    RecordingPart part;
    part.fadeFrames = 0; // as the engine leaves it before a part's set-up
    int whiteAfterFirst = -1, whiteAfterLast = -1;
    part.onDraw = [&](int frame) {
        if (frame == 1 || frame == 40)
            (frame == 1 ? whiteAfterFirst : whiteAfterLast) =
                countPixels(readWindow(), {255, 255, 255});
        if (frame == 5 || frame == 41)
            push(SDL_KEYDOWN, frame == 5 ? SDLK_a : SDLK_b); // the first is dropped
    };
    part.onUpdate = [&]() { return part.frames >= 42 ? 7 : 0; };
    EXPECT_EQ(part.loop(), 7);
    EXPECT_EQ(whiteAfterFirst, 640 * 480);
    EXPECT_EQ(whiteAfterLast, 0);
    EXPECT_EQ(part.updates.front(), 40);
    EXPECT_EQ(part.keys, std::vector<int>{SDLK_b});
    EXPECT_NEAR(testSubsystems()->sound->backgroundVolume, 0.0975f, 1e-6);
}

TEST_F(FrameLoop, ResultsEndTheFrameAtOnceAndRightPressedLastsOneEvent) {
    RecordingPart part;
    part.fadeFrames = -1; // as the intro's setUp does: events from the first frame
    push(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
    push(SDL_KEYDOWN, SDLK_x);
    push(SDL_KEYDOWN, SDLK_y);
    part.onEvent = [&] { return part.keys.size() == 2 ? -1 : 0; };
    EXPECT_EQ(part.loop(), -1);
    EXPECT_EQ(part.rights, (std::vector<bool>{true, false}));
    EXPECT_EQ(part.frames + part.updates.size(), 0u) << "no update, no draw";
    SDL_Event left;
    ASSERT_EQ(SDL_PollEvent(&left), 1) << "the rest of the queue is left to the dissolve";
    EXPECT_EQ(left.key.keysym.sym, SDLK_y);
    RecordingPart updating(testSubsystems(), 2);
    updating.fadeFrames = -1;
    EXPECT_EQ(updating.loop(), 2);
    EXPECT_EQ(updating.frames, 0);
}

// The button mask comes from the real pointer, so this uses real X input.
TEST_F(FrameLoop, LeftHeldOnlyWhenTheLeftButtonIsTheOnlyOneDown) {
    RecordingPart part;
    part.fadeFrames = -1;
    const char* steps[] = {"mousedown 1", "mousedown 3", "mouseup 3", "mouseup 1"};
    std::vector<bool> seen;
    std::system("xdotool mouseup 1 mouseup 3");
    part.onDraw = [&](int frame) {
        if (frame % 8 == 0 && frame > 0) // a few frames for X to deliver each change
            seen.push_back(part.leftHeld);
        if (frame % 8 == 0 && frame < 32)
            std::system((std::string("xdotool ") + steps[frame / 8]).c_str());
    };
    part.onUpdate = [&] { return part.frames > 32 ? 1 : 0; };
    part.loop();
    std::system("xdotool mouseup 1 mouseup 3");
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false}));
}

TEST(Engine, RunsPartsInTurnHandsTheMouseOverAndSaysGoodbye) {
    REQUIRE_DISPLAY();
    testing::internal::CaptureStdout();
    ScriptedEngine* engine = new ScriptedEngine;
    RecordingPart first(engine, 4), second(engine, 9);
    engine->parts = {&first, &second};
    engine->order = {1, 1}; // a part may follow itself
    engine->run();
    EXPECT_EQ(engine->calls, (std::vector<std::pair<int, int>>{{0, 4}, {1, 9}, {1, 9}}));
    EXPECT_EQ(second.setUps, 2);
    // The position and the left button pass on; rightPressed does not.
    EXPECT_EQ(second.handedOver, (std::vector<int>{123, 45, 1, 0}));
    delete engine;
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.substr(output.size() - 15), "Exited cleanly\n");
}

TEST(GameEngine, ChainsIntroTitleAndScenes) {
    REQUIRE_DISPLAY();
    GameEngine engine;
    ASSERT_EQ(engine.parts.size(), 3u);
    EXPECT_EQ(*engine.sceneIndex, 0);
    const int table[][4] = {// current, result, scene counter, next part
                            {0, -1, 0, -1}, {1, -5, 0, -1}, {2, -1, 0, -1}, {0, 0, 0, 1},
                            {0, 17, 0, 1},  {1, 0, 0, 2},   {1, 1, 0, 2},   {2, 1, 1, 2},
                            {2, 1, 5, 2},   {2, 1, 6, 1},   {2, 3, 2, 1},   {2, 3, 6, 1},
                            {2, 0, 2, -1},  {2, 2, 2, -1},  {3, 1, 0, -1},  {-1, 0, 0, -1}};
    for (const auto& row : table) {
        *engine.sceneIndex = row[2];
        EXPECT_EQ(engine.nextPart(row[0], row[1]), row[3])
            << row[0] << " " << row[1] << " " << row[2];
    }
}
