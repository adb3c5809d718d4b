// The frame loop with a recording part and real SDL events: fade-in, dispatch, results, pacing.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "app/EnginePart.h"
#include "app/Timer.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {
void push(Uint8 type, int keyOrButton = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = static_cast<SDLKey>(keyOrButton);
    if (type == SDL_MOUSEBUTTONDOWN)
        event.button.button = static_cast<Uint8>(keyOrButton);
    SDL_PushEvent(&event);
}

// Records what the loop does to it; `onDraw` runs before the clear, so it can read back the
// frame swapped last.
class RecordingPart : public EnginePart {
  public:
    RecordingPart() : EnginePart(testSubsystems()) {}
    void setUp() override {}
    int handleEvent(SDL_Event* event) override {
        handled.push_back(
            {frames, event->type == SDL_KEYDOWN ? event->key.keysym.sym : 0, rightPressed});
        return onEvent ? onEvent() : 0;
    }
    int update() override {
        updates.push_back(frames);
        return onUpdate ? onUpdate() : 0;
    }
    void draw() override {
        if (onDraw)
            onDraw(frames);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D);
        ++frames;
    }
    struct Handled {
        int frame;
        int key;
        bool rightPressed;
    };
    int frames = 0;
    std::vector<Handled> handled;
    std::vector<int> updates;
    std::function<int()> onEvent, onUpdate;
    std::function<void(int)> onDraw;
};

int countWhite(const std::vector<Rgb>& window) {
    int white = 0;
    for (const Rgb& p : window)
        white += p == Rgb{255, 255, 255};
    return white;
}

class FrameLoop : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        testSubsystems(); // the window's own start-up events come first: drop them
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
    }
};
} // namespace

TEST(FramePacing, SleepsUpTo33MillisecondsAndNeverWhenLate) {
    EXPECT_EQ(Timer::frameSleep(0), 33);
    EXPECT_EQ(Timer::frameSleep(32), 1);
    EXPECT_EQ(Timer::frameSleep(33), 0);
    EXPECT_EQ(Timer::frameSleep(500), 0);
    EXPECT_EQ(Timer().ticks(), 0) << "a timer never started reads 0";
}

TEST_F(FrameLoop, FadeInDrawsFortyFramesFromSolidWhiteWithoutEventsOrUpdates) {
    RecordingPart part;
    int whiteAfterFirst = -1, whiteAfterLast = -1;
    part.onDraw = [&](int frame) {
        if (frame == 1)
            whiteAfterFirst = countWhite(readWindow());
        if (frame == 40)
            whiteAfterLast = countWhite(readWindow());
        if (frame == 5)
            push(SDL_KEYDOWN, SDLK_a); // dropped: still fading in
        if (frame == 41)
            push(SDL_KEYDOWN, SDLK_b);
    };
    part.onUpdate = [&]() { return part.frames >= 42 ? 7 : 0; };
    EXPECT_EQ(part.loop(), 7);
    EXPECT_EQ(whiteAfterFirst, 640 * 480) << "the part's first frame is fully covered";
    EXPECT_EQ(whiteAfterLast, 0) << "the last fade frames use the empty mask";
    EXPECT_EQ(part.updates.front(), 40);
    ASSERT_EQ(part.handled.size(), 1u);
    EXPECT_EQ(part.handled[0].key, SDLK_b);
    EXPECT_NEAR(testSubsystems()->sound->backgroundVolume, 0.0975f, 1e-6);
}

TEST_F(FrameLoop, ResultsEndTheFrameAtOnceAndRightPressedLastsOneEvent) {
    RecordingPart part;
    part.fadeFrames = -1; // as the intro's setUp does: events from the first frame
    push(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
    push(SDL_KEYDOWN, SDLK_x);
    push(SDL_KEYDOWN, SDLK_y);
    part.onEvent = [&] { return part.handled.size() == 2 ? -1 : 0; };
    EXPECT_EQ(part.loop(), -1);
    ASSERT_EQ(part.handled.size(), 2u);
    EXPECT_TRUE(part.handled[0].rightPressed);
    EXPECT_FALSE(part.handled[1].rightPressed);
    EXPECT_TRUE(part.updates.empty());
    EXPECT_EQ(part.frames, 0) << "no draw in the frame that ended";
    SDL_Event left;
    ASSERT_EQ(SDL_PollEvent(&left), 1) << "the rest of the queue is left to the dissolve";
    EXPECT_EQ(left.key.keysym.sym, SDLK_y);

    RecordingPart updating;
    updating.fadeFrames = -1;
    updating.onUpdate = [&] { return updating.frames == 3 ? 2 : 0; };
    EXPECT_EQ(updating.loop(), 2);
    EXPECT_EQ(updating.frames, 3);
}

// The button mask comes from the real pointer, so this uses real X input.
TEST_F(FrameLoop, LeftHeldOnlyWhenTheLeftButtonIsTheOnlyOneDown) {
    RecordingPart part;
    part.fadeFrames = -1;
    const std::vector<std::pair<const char*, bool>> steps = {
        {"mousedown 1", true}, {"mousedown 3", false}, {"mouseup 3", true}, {"mouseup 1", false}};
    std::vector<bool> seen;
    std::system("xdotool mouseup 1 mouseup 3");
    part.onDraw = [&](int frame) {
        if (frame % 8 != 0) // give X a few frames to deliver each change
            return;
        if (frame > 0)
            seen.push_back(part.leftHeld);
        if (frame / 8 < static_cast<int>(steps.size()))
            std::system((std::string("xdotool ") + steps[frame / 8].first).c_str());
        else
            part.onUpdate = [] { return 1; };
    };
    part.loop();
    std::system("xdotool mouseup 1 mouseup 3");
    ASSERT_EQ(seen.size(), steps.size());
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(seen[i], steps[i].second) << "after " << steps[i].first;
}

// A window close during the fade-in is not thrown away: it ends the part as a quit.
TEST_F(FrameLoop, WindowCloseDuringFadeInEndsThePartAsAQuit) {
    RecordingPart part;
    part.onDraw = [](int frame) {
        if (frame == 3)
            push(SDL_QUIT);
    };
    EXPECT_EQ(part.loop(), -1);
    EXPECT_TRUE(part.handled.empty());
    EXPECT_EQ(part.frames, 4);
}
