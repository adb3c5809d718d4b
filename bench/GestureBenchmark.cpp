// Cost of judging one released stroke against all seven gestures, for strokes of 10 to 1000
// codes, and the heap allocations a judgement makes (there should be none).
#include <benchmark/benchmark.h>

#include "bench/AllocationCounter.h"
#include "gesture/GestureRecognizer.h"
#include "gesture/GestureTemplates.h"

static void BM_ClassifyAgainstSevenTemplates(benchmark::State& state) {
    GestureRecognizer recognizer;
    for (const GestureTemplate& t : gestureTemplates)
        recognizer.addTemplate(t.codes, t.id);
    // A slow, wobbly proposition: each of its twelve codes held for a twelfth of the stroke.
    const char* proposition = gestureTemplates[6].codes;
    const int codes = static_cast<int>(state.range(0));
    for (int i = 0; i < codes; ++i)
        recognizer.strokeCodes.push_back(static_cast<float>(proposition[i * 12 / codes] - '0'));
    // The first judgement of a stroke longer than any before makes the recognizer's room.
    recognizer.classify();

    const long allBefore = allocationCount();
    const long gameBefore = gameAllocationCount();
    for (auto _ : state)
        benchmark::DoNotOptimize(recognizer.classify());
    const double all = static_cast<double>(allocationCount() - allBefore);
    const double game = static_cast<double>(gameAllocationCount() - gameBefore);
    const double calls = static_cast<double>(state.iterations());
    // Other threads (the sound mixer, the renderer) may allocate meanwhile; classify should not.
    state.counters["allocations_per_call"] = all / calls;
    state.counters["game_allocations_per_call"] = game / calls;
}
BENCHMARK(BM_ClassifyAgainstSevenTemplates)->Arg(10)->Arg(60)->Arg(200)->Arg(1000);
