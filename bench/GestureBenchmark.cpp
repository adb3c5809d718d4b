// Cost of judging one released stroke: a long stroke against all seven gestures.
#include <benchmark/benchmark.h>

#include "gesture/GestureRecognizer.h"
#include "gesture/GestureTemplates.h"

static void BM_ClassifySixtyCodesAgainstSevenTemplates(benchmark::State& state) {
    GestureRecognizer recognizer;
    for (const GestureTemplate& t : gestureTemplates)
        recognizer.addTemplate(t.codes, t.id);
    // A slow, wobbly proposition: each of its twelve codes held for five samples.
    const char* proposition = gestureTemplates[6].codes;
    for (int i = 0; i < 60; ++i)
        recognizer.strokeCodes.push_back(static_cast<float>(proposition[i / 5] - '0'));

    for (auto _ : state)
        benchmark::DoNotOptimize(recognizer.classify());
}
BENCHMARK(BM_ClassifySixtyCodesAgainstSevenTemplates);
