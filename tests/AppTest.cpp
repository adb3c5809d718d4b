// The frame loop on a real window: its pacing and its fade-in. (The part loop, its dissolves and
// which part follows which, the whole game shows end to end.)
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/EnginePart.h"
#include "app/GameEngine.h"
#include "app/PartResult.h"
#include "app/Timer.h"
#include "graphics/Screen.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {
// Counts what the loop does to it and ends with 7 after 42 frames; `onDraw` runs before the
// clear, so it can read back the frame swapped last.
struct RecordingPart : EnginePart {
    using EnginePart::EnginePart;
    void setUp() override {}
    int handleEvent(SDL_Event* event) override {
        keys.push_back(event->key.keysym.sym);
        return PartResult::goOn;
    }
    int update() override {
        firstUpdate = firstUpdate < 0 ? frames : firstUpdate;
        return frames >= 42 ? 7 : PartResult::goOn;
    }
    void draw() override {
        onDraw(frames++);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D); // as every part leaves it for the fade-in
    }
    int frames = 0, firstUpdate = -1;
    std::vector<int> keys;
    std::function<void(int)> onDraw;
};
} // namespace

TEST(FrameLoop, PacesFramesAndFadesInFromSolidWhiteOverFortyDeafAndNotUpdated) {
    const int fadeIn = 40; // frames, 1.3 seconds
    RecordingPart part(testEngine());
    for (SDL_Event event; SDL_PollEvent(&event);) { // the window's own start-up events
    }
    int whiteAfterFirst = -1, whiteAfterLast = -1;
    part.onDraw = [&](int frame) {
        if (frame == 1 || frame == fadeIn)
            (frame == 1 ? whiteAfterFirst : whiteAfterLast) = readWindow().count(white);
        if (frame == 5 || frame == fadeIn + 1)
            SDL_PushEvent(keyEvent(frame == 5 ? SDLK_a : SDLK_b)); // the first goes unheard
    };
    const Uint32 start = SDL_GetTicks();
    EXPECT_EQ(part.loop(), 7);
    // However busy the machine, a frame never takes less than its 33 ms; a late one, no more.
    EXPECT_GE(SDL_GetTicks() - start, 42u * 32);
    EXPECT_TRUE(Timer::frameSleep(32) == 1 && Timer::frameSleep(33) == 0 && !Timer().ticks());
    EXPECT_EQ(whiteAfterFirst, screenWidth * screenHeight);
    EXPECT_EQ(whiteAfterLast, 0);
    EXPECT_EQ(part.firstUpdate, fadeIn);
    EXPECT_EQ(part.keys, std::vector<int>{SDLK_b});
    EXPECT_NEAR(part.sound->backgroundVolume, 0.0975f, 1e-6) << "the noise comes up with it";
}
