#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "geometry.h"

namespace tanabashigo {

/// Trials of one simulation; the counts depend on rungs, start, trials and seed only.
struct SimulationRequest {
    int rungs = 30;            ///< rungs per ladder, 0..225
    int start = 3;             ///< start line, 1..10
    std::uint64_t trials = 0;  ///< ladders built and traced
    std::uint32_t seed = 0;    ///< the seed every block's generator is derived from
    unsigned threads = 1;      ///< worker threads, at least 1
    /// When *cancel becomes true the workers stop within one small chunk of trials (well under
    /// 100 ms) and simulateLandings returns; the counts are then incomplete and must be dropped.
    const std::atomic<bool>* cancel = nullptr;
};

/// Trials per block; each block draws from its own generator, whichever thread runs it.
inline constexpr std::uint64_t kTrialsPerBlock = 1u << 16;

/// Trials between two looks at the cancel flag, a whole number of the sampler's lanes.
inline constexpr std::uint64_t kTrialsPerChunk = 1u << 12;

/// Called now and then from the calling thread with the trials finished so far.
using ProgressReport = std::function<void(std::uint64_t done, std::uint64_t total)>;

/// The seed of block `block`'s generator, mixed from the run's seed and the block number.
std::uint64_t blockSeed(std::uint32_t seed, std::uint64_t block);

/// Builds `trials` random ladders of `rungs` distinct rungs, each set of rung places as likely
/// as the window's rung generation makes it, from a generator seeded with `seed`; traces each
/// from line `start` and counts the landings.
ColumnCounts simulateBlock(int rungs, int start, std::uint64_t trials, std::uint64_t seed);

/// The threads a run uses: as many as asked for, but no more than it has blocks.
unsigned workerCount(const SimulationRequest& request);

/// Runs the request's blocks on its threads and adds up their counts. Where the system
/// refuses a thread, the threads already running do the rest (or the calling thread, if
/// none could start): the counts are the same.
ColumnCounts simulateLandings(const SimulationRequest& request,
                              const ProgressReport& progress = {});

}  // namespace tanabashigo
