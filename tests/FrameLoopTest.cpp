// The frame loop with a recording part and real SDL events: fade-in, dispatch, results.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "app/EnginePart.h"
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

SDL_Event buttonDown(Uint8 button) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = button;
    event.button.state = SDL_PRESSED;
    return event;
}

void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 0); }

void drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

// A part that records what the frame loop does to it; scripted through callbacks per frame.
class RecordingPart : public EnginePart {
public:
    explicit RecordingPart(SubengineInterface* subsystems) : EnginePart(subsystems) {}
    void setUp() override {}
    int handleEvent(SDL_Event* event) override {
        handled.push_back({frames, event->type, rightPressed, leftHeld});
        return onEvent ? onEvent(event) : 0;
    }
    int update() override {
        updates.push_back(frames);
        return onUpdate ? onUpdate() : 0;
    }
    // The callback runs before the clear, so it can read back the frame swapped last.
    void draw() override {
        fadeAtDraw.push_back(fadeFrames);
        if (onDraw)
            onDraw(frames);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D);
        ++frames;
    }

    struct Handled {
        int frame;
        Uint8 type;
        bool rightPressed;
        bool leftHeld;
    };
    int frames = 0;
    std::vector<Handled> handled;
    std::vector<int> updates;
    std::vector<int> fadeAtDraw;
    std::function<int(SDL_Event*)> onEvent;
    std::function<int()> onUpdate;
    std::function<void(int)> onDraw;
};

class FrameLoop : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        subsystems = testSubsystems();
        drainEvents();
    }
    SubengineInterface* subsystems = nullptr;
};

} // namespace

TEST_F(FrameLoop, FadeInDrawsFortyFramesWithoutEventsOrUpdates) {
    RecordingPart part(subsystems);
    // Events pushed during the fade-in are dropped; the first update comes after 40 frames.
    part.onDraw = [](int frame) {
        if (frame == 5)
            push(keyDown(SDLK_a));
        if (frame == 41)
            push(keyDown(SDLK_b));
    };
    part.onUpdate = [&]() { return part.frames >= 42 ? 7 : 0; };
    EXPECT_EQ(part.loop(), 7);

    ASSERT_EQ(part.fadeAtDraw.size(), 42u);
    EXPECT_EQ(part.fadeAtDraw[0], 40);
    EXPECT_EQ(part.fadeAtDraw[39], 1);
    EXPECT_EQ(part.fadeAtDraw[40], 0);
    ASSERT_FALSE(part.updates.empty());
    EXPECT_EQ(part.updates.front(), 40);
    ASSERT_EQ(part.handled.size(), 1u);
    EXPECT_EQ(part.handled[0].frame, 42);
    // The fade-in brings the noise from silence to just under its normal level.
    EXPECT_NEAR(subsystems->sound->backgroundVolume, 0.0975f, 1e-6);
}

TEST_F(FrameLoop, FadeInStartsSolidWhiteAndEndsUncovered) {
    RecordingPart part(subsystems);
    std::vector<Rgb> afterFirst, afterLast;
    part.onDraw = [&](int frame) {
        if (frame == 1)
            afterFirst = readWindow();
        if (frame == 40)
            afterLast = readWindow();
    };
    part.onUpdate = [&] { return part.frames > 40 ? 1 : 0; };
    EXPECT_EQ(part.loop(), 1);
    ASSERT_FALSE(afterFirst.empty());
    ASSERT_FALSE(afterLast.empty());
    int whiteFirst = 0, whiteLast = 0;
    for (size_t i = 0; i < afterFirst.size(); ++i) {
        whiteFirst += afterFirst[i] == Rgb{255, 255, 255};
        whiteLast += afterLast[i] == Rgb{255, 255, 255};
    }
    EXPECT_EQ(whiteFirst, 640 * 480); // the part's black frame is fully covered
    EXPECT_EQ(whiteLast, 0);          // the last fade frames use the empty mask
}

TEST_F(FrameLoop, APartThatSkipsTheFadeInGetsEventsFromItsFirstFrame) {
    RecordingPart part(subsystems);
    part.fadeFrames = -1; // as the intro's setUp does
    push(keyDown(SDLK_SPACE));
    part.onEvent = [](SDL_Event*) { return 5; };
    EXPECT_EQ(part.loop(), 5);
    EXPECT_EQ(part.frames, 0); // the result came before the first update and draw
    EXPECT_EQ(part.fadeFrames, 0);
}

TEST_F(FrameLoop, ResultsStopTheFrameAtOnce) {
    RecordingPart part(subsystems);
    part.fadeFrames = -1;
    // A result from an event: the rest of the queue is left, no update, no draw.
    push(keyDown(SDLK_x));
    push(keyDown(SDLK_y));
    part.onEvent = [](SDL_Event*) { return -1; };
    EXPECT_EQ(part.loop(), -1);
    EXPECT_EQ(part.handled.size(), 1u);
    EXPECT_TRUE(part.updates.empty());
    EXPECT_EQ(part.frames, 0);
    SDL_Event left;
    EXPECT_EQ(SDL_PollEvent(&left), 1);
    EXPECT_EQ(left.key.keysym.sym, SDLK_y);
    drainEvents();

    // A result from update: that frame is not drawn.
    RecordingPart updating(subsystems);
    updating.fadeFrames = -1;
    updating.onUpdate = [&] { return updating.frames == 3 ? 2 : 0; };
    EXPECT_EQ(updating.loop(), 2);
    EXPECT_EQ(updating.frames, 3);
    EXPECT_EQ(updating.updates.size(), 4u);
}

TEST_F(FrameLoop, RightPressedHoldsOnlyForTheRightButtonPressItself) {
    RecordingPart part(subsystems);
    part.fadeFrames = -1;
    push(buttonDown(SDL_BUTTON_RIGHT));
    push(keyDown(SDLK_a));
    push(buttonDown(SDL_BUTTON_LEFT));
    push(buttonDown(SDL_BUTTON_RIGHT));
    part.onUpdate = [] { return 1; };
    EXPECT_EQ(part.loop(), 1);
    ASSERT_EQ(part.handled.size(), 4u);
    EXPECT_TRUE(part.handled[0].rightPressed);
    EXPECT_FALSE(part.handled[1].rightPressed);
    EXPECT_FALSE(part.handled[2].rightPressed);
    EXPECT_TRUE(part.handled[3].rightPressed);
}

// The button mask comes from the real pointer, so this one uses real X input.
TEST_F(FrameLoop, LeftHeldOnlyWhenTheLeftButtonIsTheOnlyOneDown) {
    RecordingPart part(subsystems);
    part.fadeFrames = -1;
    std::vector<std::pair<const char*, bool>> steps = {
        {"xdotool mousedown 1", true},
        {"xdotool mousedown 3", false},
        {"xdotool mouseup 3", true},
        {"xdotool mouseup 1", false},
    };
    size_t step = 0;
    std::vector<bool> seen;
    std::system("xdotool mouseup 1 mouseup 3 >/dev/null 2>&1"); // start with both released
    part.onDraw = [&](int frame) {
        // Give X a few frames to deliver each change before sending the next.
        if (frame % 8 == 0 && step < steps.size()) {
            if (frame > 0)
                seen.push_back(part.leftHeld);
            ASSERT_EQ(std::system(steps[step].first), 0);
            ++step;
        }
    };
    part.onUpdate = [&] { return part.frames > 8 * static_cast<int>(steps.size()) + 8 ? 1 : 0; };
    part.loop();
    seen.push_back(part.leftHeld);
    std::system("xdotool mouseup 1 mouseup 3 >/dev/null 2>&1"); // never leave a button held
    ASSERT_EQ(seen.size(), steps.size());
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(seen[i], steps[i].second) << "after " << steps[i].first;
}

// Mend: a window close during the fade-in is not thrown away.
TEST_F(FrameLoop, WindowCloseDuringFadeInEndsThePartAsAQuit) {
    RecordingPart part(subsystems);
    part.onDraw = [](int frame) {
        if (frame == 3) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            push(quit);
        }
    };
    EXPECT_EQ(part.loop(), -1);
    EXPECT_TRUE(part.handled.empty());
    EXPECT_TRUE(part.updates.empty());
    EXPECT_EQ(part.frames, 4);
}
