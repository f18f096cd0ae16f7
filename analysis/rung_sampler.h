#pragma once

#include <array>
#include <cstdint>

#include "landing_simulation.h"
#include "splitmix64.h"

namespace tanabashigo {

/// A small, fast generator for the simulation (xoshiro256++), seeded through splitmix64 so
/// that neighbouring seeds give unrelated sequences.
class FastRandom {
public:
    explicit FastRandom(std::uint64_t seed) {
        for (std::uint64_t& word : state_) {
            word = splitmix64(seed);
        }
    }
    /// The next 64 random bits.
    std::uint64_t next() {
        const std::uint64_t result = rotl(state_[0] + state_[3], 23) + state_[0];
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return x << k | x >> (64 - k); }
    std::array<std::uint64_t, 4> state_{};
};

/// How a ladder's rungs are drawn, in two steps. First every slot is taken on its own with
/// chance taken / 2^bits. Then the rungs still missing are placed, or the extra ones taken
/// away, at slots drawn one at a time, a slot that cannot change being drawn again. Given how
/// many slots the first step takes, they are a uniform set of that size; so the ladder is a
/// uniform set of its rungs, whatever the chance.
struct SamplerPlan {
    int bits = 0;   ///< random bits per slot in the first step, 0..8
    int taken = 0;  ///< 0..2^bits; 0 starts from no rung and 2^bits from every slot
    bool operator==(const SamplerPlan&) const = default;
};

/// The plan with the least expected work for ladders of `rungs` (0..225) rungs.
SamplerPlan fastestPlan(int rungs);

/// Random ladders with a fixed number of rungs, each a uniformly random set of distinct rung
/// slots (as drawing slots one at a time and dropping repeats gives), traced from the top.
/// 128 ladders are built side by side, one in each bit of a slot's word, and traced together.
class RungSampler {
public:
    /// Ladders of `rungs` (0..225) rungs, built by `plan`.
    explicit RungSampler(int rungs, SamplerPlan plan);
    explicit RungSampler(int rungs) : RungSampler(rungs, fastestPlan(rungs)) {}
    /// Traces `trials` fresh ladders from line `start` (1..10) and adds each landing to its
    /// column's count.
    void addLandings(int start, std::uint64_t trials, FastRandom& random, ColumnCounts& counts);

    /// Ladders built and traced together.
    static constexpr int kLadders = 128;

private:
    /// Bit l % 64 of word l / 64 is ladder l's.
    using Lanes = std::uint64_t __attribute__((vector_size(16)));
    /// Builds ladders 0..ladders - 1 of slots_ (the others hold any slots).
    void buildLadders(int ladders, FastRandom& random);
    /// Takes every slot of every ladder with the plan's chance; answers each ladder's count.
    std::array<std::uint8_t, kLadders> takeSlots(FastRandom& random);

    int rungs_ = 0;
    SamplerPlan plan_;
    /// Slot s of ladder l is taken when slots_[2 * s + l / 64] holds bit l % 64. Bytes
    /// 225..255 name no slot; their words hold what a draw wants, so it is drawn again.
    alignas(64) std::array<std::uint64_t, 2 * 256> slots_{};
};

}  // namespace tanabashigo
