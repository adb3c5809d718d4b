// What one frame of each screen costs on this machine's OpenGL, against the 33 ms frame
// budget, and how many heap allocations a scene frame makes (the loop should make none).
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "app/Timer.h"
#include "bench/AllocationCounter.h"
#include "graphics/Video.h"
#include "parts/IntroPart.h"
#include "parts/MainPart.h"
#include "parts/TitlePart.h"
#include "sound/SoundSystem.h"

namespace {
SubengineInterface* subsystems() {
    static SubengineInterface* made = nullptr;
    if (!made) {
        made = new SubengineInterface;
        made->timer = new Timer;
        made->sound = new SoundSystem;
        made->video = new Video;
        for (const char* effect :
             {"audio/blipn.wav", "audio/bigblip.wav", "audio/good.wav", "audio/bad.wav"})
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

// Draws and finishes one frame, so the time includes the renderer's work.
void runFrames(benchmark::State& state, EnginePart* part) {
    for (auto _ : state) {
        part->update();
        part->draw();
        glFinish();
        subsystems()->video->swapBuffers();
    }
}
} // namespace

static void BM_SceneFrame(benchmark::State& state) {
    if (!haveDisplay(state))
        return;
    static int scene = 4;
    static MainPart* part = new MainPart(subsystems(), &scene);
    part->setUp();
    // A stroke in progress and a text on show: the busiest frame a scene has.
    part->recognizer->beginStroke(100, 400);
    for (int i = 1; i <= 30; ++i)
        part->recognizer->addPoint(100 + 21 * i, 400 - (i % 3) * 21);
    part->stroking = true;
    long before = allocationCount();
    runFrames(state, part);
    state.counters["allocations_per_frame"] =
        static_cast<double>(allocationCount() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SceneFrame)->Unit(benchmark::kMillisecond);

static void BM_TitleFrame(benchmark::State& state) {
    if (!haveDisplay(state))
        return;
    static int scene = 0;
    static TitlePart* part = new TitlePart(subsystems(), &scene);
    runFrames(state, part);
}
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMillisecond);

static void BM_IntroFrame(benchmark::State& state) {
    if (!haveDisplay(state))
        return;
    static int scene = 0;
    static IntroPart* part = new IntroPart(subsystems(), &scene);
    runFrames(state, part);
}
BENCHMARK(BM_IntroFrame)->Unit(benchmark::kMillisecond);
