#pragma once

#include <array>
#include <cstdint>

#include "geometry.h"
#include "ladder.h"

namespace tanabashigo {

/// A ladder's rungs by height: bit g of entry y is set when gap g holds a rung at height y.
using RungsByHeight = std::array<std::uint16_t, kBottomY>;

/// Rungs 1..rungCount() of `ladder` by height.
RungsByHeight rungsByHeight(const Ladder& ladder);

/// The rungs of a finished ladder sorted by height once, so that a path is traced in one
/// pass from the top: it lands exactly where the tracer lands.
class SortedLadder {
public:
    /// The rungs 1..rungCount() of `ladder`.
    explicit SortedLadder(const Ladder& ladder) : gapsAt_(rungsByHeight(ladder)) {}
    /// Rungs already sorted by height.
    explicit SortedLadder(const RungsByHeight& rungs) : gapsAt_(rungs) {}
    /// The column (1..10) where the path from the top of line `start` (1..10) lands.
    int landingColumn(int start) const;

private:
    RungsByHeight gapsAt_{};
};

}  // namespace tanabashigo
