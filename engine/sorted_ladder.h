#pragma once

#include <array>
#include <cstdint>

#include "geometry.h"
#include "ladder.h"

namespace tanabashigo {

/// The rungs of a finished ladder sorted by height once, so that a path is traced in one
/// pass from the top: it lands exactly where the tracer lands.
class SortedLadder {
public:
    /// The rungs of a ladder built by its ticks, by height.
    explicit SortedLadder(const Ladder& ladder) : gapsAt_(ladder.placedRungs()) {}
    /// The column (1..10) where the path from the top of line `start` (1..10) lands.
    int landingColumn(int start) const;

private:
    /// Bit g of gapsAt_[y] is set when gap g holds a rung at height y.
    std::array<std::uint16_t, kBottomY> gapsAt_{};
};

}  // namespace tanabashigo
