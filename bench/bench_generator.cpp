// Time to build one problem of each kind, and of each level.
//   build/bench/bench_generator --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "drill/problem_generator.h"

#include <benchmark/benchmark.h>

static void BM_Kind(benchmark::State& state)
{
    RandomSource random;
    random.seed(7);
    const int kind = int(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(buildProblem(kind, random));
}
BENCHMARK(BM_Kind)->DenseRange(1, 16);

static void BM_Level(benchmark::State& state)
{
    RandomSource random;
    random.seed(7);
    const int level = int(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(generateProblem(level, random));
}
BENCHMARK(BM_Level)->DenseRange(1, 4);

BENCHMARK_MAIN();
