// Entry point shared by all benchmarks of the game.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
