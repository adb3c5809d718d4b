// What one frame of each screen costs on this machine's OpenGL, against the 33 ms frame
// budget, and how many heap allocations a frame makes once the screen is showing. The game's
// own code should make none: the frame loop runs for the whole game.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

#include "app/Timer.h"
#include "bench/AllocationCounter.h"
#include "graphics/Screen.h"
#include "graphics/Video.h"
#include "parts/IntroPart.h"
#include "parts/MainPart.h"
#include "parts/TitlePart.h"
#include "sound/Effects.h"
#include "sound/SoundSystem.h"

namespace {
SubengineInterface* subsystems() {
    static SubengineInterface* made = nullptr;
    if (!made) {
        // The frame is measured, not the sound card; a machine without one still runs.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        made = new SubengineInterface;
        made->timer = new Timer;
        made->sound = new SoundSystem;
        made->video = new Video;
        for (const char* effect : effectFiles)
            made->sound->loadSound(effect);
        made->sound->startBackground();
    }
    return made;
}

bool haveDisplay(benchmark::State& state) {
    const char* display = std::getenv("DISPLAY");
    if (display && *display)
        return true;
    state.SkipWithError("needs an X display with GLX");
    return false;
}

// Updates, draws and finishes one frame, so the time includes the renderer's work.
void runFrame(EnginePart* part) {
    part->update();
    part->draw();
    glFinish();
    subsystems()->video->swapBuffers();
}

// Times the benchmark's frames after one frame of warm-up, and counts their allocations: all of
// them, and those the game's own code asked for. beforeFrame runs ahead of each frame and is
// timed with it.
template <typename BeforeFrame>
void runFrames(benchmark::State& state, EnginePart* part, BeforeFrame beforeFrame) {
    beforeFrame();
    runFrame(part);
    const long allBefore = allocationCount();
    const long gameBefore = gameAllocationCount();
    for (auto _ : state) {
        beforeFrame();
        runFrame(part);
    }
    const double all = static_cast<double>(allocationCount() - allBefore);
    const double game = static_cast<double>(gameAllocationCount() - gameBefore);
    const double frames = static_cast<double>(state.iterations());
    state.counters["allocations_per_frame"] = all / frames;
    state.counters["game_allocations_per_frame"] = game / frames;
}

void runFrames(benchmark::State& state, EnginePart* part) {
    runFrames(state, part, [] {});
}

// Sends one event through the part's handler, as the frame loop would.
void send(MainPart* part, Uint8 type, SDLKey key = SDLK_UNKNOWN) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    event.button.button = SDL_BUTTON_LEFT;
    part->handleEvent(&event);
}

// The pointing lesson: the busiest board of the first scenes, with a pointer and a legend.
const int pointingLesson = 1;

// The pointing lesson as it opens: its first line on show.
MainPart* sceneWithText() {
    static int scene = pointingLesson;
    static MainPart* part = new MainPart(subsystems(), &scene);
    return part;
}

// The pointing lesson once its opening lines are read: nothing on show, waiting for a move.
MainPart* idleScene() {
    static int scene = pointingLesson;
    static MainPart* part = nullptr;
    if (!part) {
        part = new MainPart(subsystems(), &scene);
        while (part->lineShowing)
            send(part, SDL_KEYDOWN, SDLK_SPACE);
    }
    return part;
}

// Stroke frames: a frame adds one sample, so this is half a minute of drawing, well within the
// room the recognizer makes for a stroke.
const int strokeFrames = 900;
} // namespace

static void BM_IntroFrame(benchmark::State& state) {
    if (!haveDisplay(state))
        return;
    static int scene = 0;
    static IntroPart* part = new IntroPart(subsystems(), &scene);
    runFrames(state, part);
}
BENCHMARK(BM_IntroFrame)->Unit(benchmark::kMillisecond);

static void BM_TitleFrame(benchmark::State& state) {
    if (!haveDisplay(state))
        return;
    static int scene = 0;
    static TitlePart* part = new TitlePart(subsystems(), &scene);
    runFrames(state, part);
}
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMillisecond);

static void BM_SceneIdleFrame(benchmark::State& state) {
    if (!haveDisplay(state))
        return;
    runFrames(state, idleScene());
}
BENCHMARK(BM_SceneIdleFrame)->Unit(benchmark::kMillisecond);

static void BM_SceneTextFrame(benchmark::State& state) {
    if (!haveDisplay(state))
        return;
    runFrames(state, sceneWithText());
}
BENCHMARK(BM_SceneTextFrame)->Unit(benchmark::kMillisecond);

// A stroke drawn for strokeFrames frames: the mouse goes round a circle in twelve steps of
// about 80 px, so every frame adds a sample and the trail grows by one point.
static void BM_SceneStrokeFrame(benchmark::State& state) {
    if (!haveDisplay(state))
        return;
    MainPart* part = idleScene();
    const int centreX = screenWidth / 2, centreY = screenHeight / 2, radius = 150;
    part->mouseX = centreX + radius;
    part->mouseY = centreY;
    send(part, SDL_MOUSEBUTTONDOWN);
    int step = 0;
    runFrames(state, part, [&] {
        ++step;
        part->mouseX = centreX + static_cast<int>(radius * std::cos(step * M_PI / 6));
        part->mouseY = centreY + static_cast<int>(radius * std::sin(step * M_PI / 6));
    });
    state.counters["stroke_samples"] = static_cast<double>(part->recognizer->strokePoints.size());
}
BENCHMARK(BM_SceneStrokeFrame)->Unit(benchmark::kMillisecond)->Iterations(strokeFrames);
