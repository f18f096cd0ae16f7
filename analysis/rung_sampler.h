#pragma once

#include <array>
#include <cstdint>

#include "landing_simulation.h"

namespace tanabashigo {

/// A small, fast generator for the simulation (xoshiro256**), seeded through splitmix64 so
/// that neighbouring seeds give unrelated sequences.
class FastRandom {
public:
    explicit FastRandom(std::uint64_t seed);
    /// The next 64 random bits.
    std::uint64_t next() {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
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

/// Random ladders with a fixed number of rungs, each a uniformly random set of distinct rung
/// slots (as drawing slots one at a time and dropping repeats gives), traced from the top.
/// Four ladders are built side by side and traced together, one in each 16-bit lane.
class RungSampler {
public:
    /// Ladders of `rungs` (0..225) rungs.
    explicit RungSampler(int rungs);
    /// Traces `trials` fresh ladders from line `start` (1..10) and adds each landing to its
    /// column's count.
    void addLandings(int start, std::uint64_t trials, FastRandom& random, ColumnCounts& counts);

private:
    static constexpr int kLanes = 4;
    /// Builds one ladder in every lane of gaps_.
    void buildLadders(FastRandom& random);
    /// Toggles `count` distinct random slots of lane `lane`, each from empty to placed when
    /// `place` holds and from placed to empty otherwise.
    void scatter(int lane, int count, bool place, FastRandom& random);

    int rungs_ = 0;
    /// Bit 16 * lane + g of gaps_[y] is set when that lane's gap g holds a rung at height y.
    alignas(64) std::array<std::uint64_t, 64> gaps_{};
};

}  // namespace tanabashigo
