// Trials per CPU-second of the simulation on one thread at 10, 30, 50, 100 and 225 rungs,
// beside the fastest kernel known (bench/fastest_kernel.cpp, the fastest of its ways to
// trace), in interleaved rounds; each figure is the median of the rounds. The counts of every run
// are checked against the exact law, so a fast wrong kernel shows.
//   bench_simulation [ROUNDS] [SECONDS_PER_RUN]    (3 and 0.25 unless given)
//   bench_simulation --simulation RUNGS TRIALS     (one run of the simulation alone: its rate)

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "fairness_statistics.h"
#include "fastest_kernel.h"
#include "landing_law.h"
#include "landing_simulation.h"
#include "splitmix64.h"

using namespace tanabashigo;

namespace {

constexpr int kStart = 3;

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

/// One way of simulating: its counts for `trials` trials from the generator seeded `seed`.
using Simulation = ColumnCounts (*)(int rungs, std::uint64_t trials, std::uint64_t seed);

ColumnCounts simulation(int rungs, std::uint64_t trials, std::uint64_t seed) {
    return simulateBlock(rungs, kStart, trials, seed);
}

template <KernelTrace trace>
ColumnCounts kernel(int rungs, std::uint64_t trials, std::uint64_t seed) {
    std::uint64_t state[4];
    for (std::uint64_t& word : state) {
        word = splitmix64(seed);
    }
    std::uint64_t counts[kLineCount] = {};
    fastestKernelLandings(rungs, kStart, trials, trace, state, counts);
    ColumnCounts columns{};
    std::copy(counts, counts + kLineCount, columns.begin());
    return columns;
}

/// A simulation under measurement: its trials per run and the rates and fits seen so far.
struct Contender {
    Contender(Simulation simulation, const char* name) : run(simulation), name(name) {}
    Simulation run;
    const char* name;
    std::uint64_t trials = 1u << 16;
    std::vector<double> rates;
    double worstFit = 1.0;

    void measure(int rungs, std::uint64_t seed) {
        const double begin = cpuSeconds();
        const ColumnCounts counts = run(rungs, trials, seed);
        const double seconds = cpuSeconds() - begin;
        rates.push_back(static_cast<double>(trials) / seconds);
        worstFit = std::min(worstFit, chiSquareTest(counts, exactLandingLaw(rungs, kStart)).pValue);
    }
    /// Sizes the runs to take about `seconds` of CPU time each.
    void calibrate(int rungs, double seconds) {
        measure(rungs, 0);
        trials = std::max<std::uint64_t>(1u << 16, static_cast<std::uint64_t>(rates[0] * seconds));
        rates.clear();
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "--simulation") {
        Contender alone(simulation, "");
        alone.trials = std::strtoull(argv[3], nullptr, 10);
        alone.measure(std::atoi(argv[2]), 1);
        std::printf("%.0f\n", alone.rates[0]);
        return 0;
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const double seconds = argc > 2 ? std::atof(argv[2]) : 0.25;
    const bool kernelRuns = fastestKernelRuns();
    std::printf("Trials per CPU-second, one thread, median of %d interleaved rounds.\n\n", rounds);
    std::printf(
        "| rungs | simulation | fastest kernel (its trace) | ratio | worst chi-square p |\n");
    std::printf("|---|---|---|---|---|\n");
    for (const int rungs : {10, 30, 50, 100, 225}) {
        std::vector<Contender> contenders{Contender(simulation, "")};
        if (kernelRuns) {
            contenders.emplace_back(kernel<KernelTrace::Sparse>, "sparse");
            contenders.emplace_back(kernel<KernelTrace::Listed>, "listed");
            contenders.emplace_back(kernel<KernelTrace::ByStep>, "by step");
            contenders.emplace_back(kernel<KernelTrace::Shuffled>, "shuffled");
        }
        for (Contender& contender : contenders) {
            contender.calibrate(rungs, seconds);
        }
        for (int round = 0; round < rounds; ++round) {
            for (Contender& contender : contenders) {
                contender.measure(rungs, static_cast<std::uint64_t>(round + 1));
            }
        }
        const double ours = median(contenders[0].rates);
        double fit = contenders[0].worstFit;
        double best = 0;
        const char* fastest = "";
        for (std::size_t k = 1; k < contenders.size(); ++k) {
            if (median(contenders[k].rates) > best) {
                best = median(contenders[k].rates);
                fastest = contenders[k].name;
            }
            fit = std::min(fit, contenders[k].worstFit);
        }
        if (kernelRuns) {
            std::printf("| %d | %.1f M/s | %.1f M/s (%s) | %.2f | %.3g |\n", rungs, ours / 1e6,
                        best / 1e6, fastest, ours / best, fit);
        } else {
            std::printf("| %d | %.1f M/s | (no AVX-512 here) | | %.3g |\n", rungs, ours / 1e6, fit);
        }
        std::fflush(stdout);
    }
}
