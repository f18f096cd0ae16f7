#pragma once

#include <array>
#include <cstdint>
#include <random>

#include "sorted_ladder.h"

namespace tanabashigo {

/// Ladders drawn by the window's rule, quickly: from a generator seeded with `seed` it builds
/// the very ladders the window's seeded Ladder and RandomSource build, one after another.
///
/// The generator's 24-bit values are cut three 64-bit words at a time (eight values), and
/// the duplicate check looks in the ladder's bitmap rather than at every earlier rung.
class RungSampler {
public:
    explicit RungSampler(std::uint32_t seed) : engine_(seed) {}

    /// The next ladder of `rungs` distinct rungs (at most the 225 places a rung may stand).
    const RungsByHeight& next(int rungs);

private:
    static constexpr std::size_t kWordsPerRefill = 12;  ///< a multiple of three words

    /// Int(r × n) for the next value r, computed exactly in integers (1 <= n <= 256).
    int nextBelow(int n) {
        if (used_ == values_.size()) {
            refill();
        }
        return static_cast<int>((values_[used_++] * static_cast<std::uint32_t>(n)) >> 24);
    }
    /// Cuts the next words of the generator into 24-bit values.
    void refill();

    std::mt19937_64 engine_;
    std::array<std::uint32_t, kWordsPerRefill * 64 / 24> values_{};
    std::size_t used_ = values_.size();
    RungsByHeight ladder_{};
};

}  // namespace tanabashigo
