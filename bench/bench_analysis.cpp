#include <benchmark/benchmark.h>

#include "experiment_length.h"
#include "ladder.h"
#include "landing_law.h"
#include "landing_simulation.h"
#include "random_source.h"
#include "tracer.h"

using namespace tanabashigo;

namespace {

/// Reports the trials run per second of one thread.
void countTrials(benchmark::State& state, std::uint64_t trialsPerIteration) {
    state.counters["trials/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * trialsPerIteration), benchmark::Counter::kIsRate);
}

/// Ladders built and traced per second on one thread by the simulation, at the window's
/// largest rung count.
void trialsAtFiftyRungs(benchmark::State& state) {
    constexpr std::uint64_t kTrials = 100'000;
    std::uint64_t seed = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(simulateBlock(kMaxRungs, 3, kTrials, seed++));
    }
    countTrials(state, kTrials);
}
BENCHMARK(trialsAtFiftyRungs)->Unit(benchmark::kMillisecond);

/// The same trials run straightforwardly: the window's own ladder drawing rung after rung,
/// and its tracer following the path rung by rung.
void windowTrialsAtFiftyRungs(benchmark::State& state) {
    constexpr std::uint64_t kTrials = 10'000;
    RandomSource random(1);
    Ladder ladder;
    ladder.setRungCount(kMaxRungs);
    ColumnCounts counts{};
    for (auto _ : state) {
        for (std::uint64_t trial = 0; trial < kTrials; ++trial) {
            ladder.restart();
            while (ladder.tick(random).kind != LadderTick::Kind::Complete) {
            }
            Tracer tracer;
            TraceTick tick = tracer.tick(ladder);
            while (tick.kind != TraceTick::Kind::Landed) {
                tick = tracer.tick(ladder);
            }
            ++counts[tick.column];
        }
    }
    benchmark::DoNotOptimize(counts);
    countTrials(state, kTrials);
}
BENCHMARK(windowTrialsAtFiftyRungs)->Unit(benchmark::kMillisecond);

/// The exact law for one rung count, as the theory window's slider asks for it.
void exactLawForFiftyRungs(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(exactLandingLaw(kMaxRungs, 3));
    }
}
BENCHMARK(exactLawForFiftyRungs)->Unit(benchmark::kMicrosecond);

/// The exact law for every rung count 0..225, from start line 3.
void exactLawForAllRungCounts(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(exactLandingLaws(3));
    }
}
BENCHMARK(exactLawForAllRungCounts)->Unit(benchmark::kMillisecond);

/// The distribution of an experiment's length for one rung count.
void experimentLengthForFiftyRungs(benchmark::State& state) {
    const ColumnLaw law = exactLandingLaw(kMaxRungs, 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(experimentLength(law));
    }
}
BENCHMARK(experimentLengthForFiftyRungs)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
