#include "landing_simulation.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "rung_sampler.h"
#include "splitmix64.h"

namespace tanabashigo {

std::uint64_t blockSeed(std::uint32_t seed, std::uint64_t block) {
    std::uint64_t state = static_cast<std::uint64_t>(seed) << 32 ^ block;
    return splitmix64(state);
}

namespace {

/// Counts one block's landings into `counts` a chunk at a time; false when `cancel` stopped it.
bool countBlock(int rungs, int start, std::uint64_t trials, std::uint64_t seed,
                const std::atomic<bool>* cancel, ColumnCounts& counts) {
    FastRandom random(seed);
    RungSampler sampler(rungs);
    for (std::uint64_t done = 0; done < trials; done += kTrialsPerChunk) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            return false;
        }
        sampler.addLandings(start, std::min(kTrialsPerChunk, trials - done), random, counts);
    }
    return true;
}

}  // namespace

ColumnCounts simulateBlock(int rungs, int start, std::uint64_t trials, std::uint64_t seed) {
    ColumnCounts counts{};
    countBlock(rungs, start, trials, seed, nullptr, counts);
    return counts;
}

namespace {

/// Shared by the workers of one run: the next block to take and the results so far.
class BlockQueue {
public:
    explicit BlockQueue(const SimulationRequest& request)
        : request_(request), blocks_((request.trials + kTrialsPerBlock - 1) / kTrialsPerBlock) {}

    /// Takes blocks until none is left.
    void work() {
        for (std::uint64_t block = next_++; block < blocks_; block = next_++) {
            const std::uint64_t first = block * kTrialsPerBlock;
            const std::uint64_t trials = std::min(kTrialsPerBlock, request_.trials - first);
            ColumnCounts counts{};
            if (!countBlock(request_.rungs, request_.start, trials, blockSeed(request_.seed, block),
                            request_.cancel, counts)) {
                std::lock_guard lock(mutex_);
                changed_.notify_all();
                return;
            }
            std::lock_guard lock(mutex_);
            for (int column = 1; column <= kLineCount; ++column) {
                counts_[column] += counts[column];
            }
            done_ += trials;
            changed_.notify_all();
        }
    }

    /// Reports progress until every trial is counted or the run is cancelled, then answers
    /// the counts.
    ColumnCounts wait(const ProgressReport& progress) {
        std::unique_lock lock(mutex_);
        while (done_ < request_.trials && !cancelled()) {
            changed_.wait_for(lock, std::chrono::milliseconds(100));
            if (progress) {
                // Reported without the lock, so a slow reader never holds up the workers.
                const std::uint64_t done = done_;
                lock.unlock();
                progress(done, request_.trials);
                lock.lock();
            }
        }
        return counts_;
    }

private:
    bool cancelled() const { return request_.cancel != nullptr && request_.cancel->load(); }

    const SimulationRequest request_;
    const std::uint64_t blocks_;
    std::atomic<std::uint64_t> next_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
    ColumnCounts counts_{};
    std::uint64_t done_ = 0;
};

/// Threads joined when they go out of scope, as std::jthread would (which not every standard
/// library the program is built with has).
struct JoinedThreads {
    std::vector<std::thread> threads;
    ~JoinedThreads() {
        for (std::thread& thread : threads) {
            thread.join();
        }
    }
};

}  // namespace

unsigned workerCount(const SimulationRequest& request) {
    const std::uint64_t blocks = (request.trials + kTrialsPerBlock - 1) / kTrialsPerBlock;
    return static_cast<unsigned>(
        std::max<std::uint64_t>(1, std::min<std::uint64_t>(request.threads, blocks)));
}

ColumnCounts simulateLandings(const SimulationRequest& request, const ProgressReport& progress) {
    BlockQueue queue(request);
    JoinedThreads workers;
    for (unsigned t = 0; t < workerCount(request); ++t) {
        try {
            workers.threads.emplace_back([&queue] { queue.work(); });
        } catch (const std::system_error&) {
            break;
        }
    }
    if (workers.threads.empty()) {
        queue.work();
    }
    return queue.wait(progress);
}

}  // namespace tanabashigo
