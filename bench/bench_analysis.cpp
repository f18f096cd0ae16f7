#include <benchmark/benchmark.h>

#include "landing_law.h"
#include "landing_simulation.h"

using namespace tanabashigo;

namespace {

/// Ladders built and traced per second on one thread, at the window's largest rung count.
void trialsAtFiftyRungs(benchmark::State& state) {
    constexpr std::uint64_t kTrials = 20000;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(simulateBlock(kMaxRungs, 3, kTrials, seed++));
    }
    state.counters["trials/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kTrials), benchmark::Counter::kIsRate);
}
BENCHMARK(trialsAtFiftyRungs)->Unit(benchmark::kMillisecond);

/// The exact law for every rung count 10..225, from start line 3.
void exactLawForAllRungCounts(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(exactLandingLaws(3));
    }
}
BENCHMARK(exactLawForAllRungCounts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
