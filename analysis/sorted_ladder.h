#pragma once

#include <array>
#include <cstdint>

#include "geometry.h"
#include "ladder.h"

namespace tanabashigo {

/// A ladder's rungs by height: bit g of entry y is set when gap g holds a rung at height y.
using RungsByHeight = std::array<std::uint16_t, kBottomY>;

/// Moves each path in `lines` down past the rungs of heights 11..60 and answers where they
/// end. A path is one set bit, bit x for line x; bit g of gapsAt[y] is set when gap g holds a
/// rung at height y. A wider word follows several ladders at once, one in each 16-bit lane: a
/// path stays within bits 2..11 of its lane.
template <class Word, class Heights>
Word followRungs(Word lines, const Heights& gapsAt) {
    // A rung in gap x leads a path on line x right, one in gap x - 1 leads it left; rungs at
    // one height never share a line, so at most one of the two is there.
    for (int y = kTopY + 1; y < kBottomY; ++y) {
        const Word gaps = gapsAt[static_cast<std::size_t>(y)];
        const Word right = lines & gaps;
        const Word left = lines & (gaps << 1);
        lines = (lines & ~(right | left)) | right << 1 | left >> 1;
    }
    return lines;
}

/// Rungs 1..rungCount() of `ladder` by height.
RungsByHeight rungsByHeight(const Ladder& ladder);

/// The rungs of a finished ladder sorted by height once, so that a path is traced in one
/// pass from the top: it lands exactly where the tracer lands.
class SortedLadder {
public:
    /// The rungs 1..rungCount() of `ladder`.
    explicit SortedLadder(const Ladder& ladder) : gapsAt_(rungsByHeight(ladder)) {}
    /// The column (1..10) where the path from the top of line `start` (1..10) lands.
    int landingColumn(int start) const;

private:
    RungsByHeight gapsAt_{};
};

}  // namespace tanabashigo
