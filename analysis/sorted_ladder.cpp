#include "sorted_ladder.h"

#include <bit>

namespace tanabashigo {

RungsByHeight rungsByHeight(const Ladder& ladder) {
    RungsByHeight gapsAt{};
    for (int i = 1; i <= ladder.rungCount(); ++i) {
        gapsAt[static_cast<std::size_t>(ladder.rung(i).height)] |=
            static_cast<std::uint16_t>(1u << ladder.rung(i).gap);
    }
    return gapsAt;
}

// The path's line is kept as a single set bit, bit x for line x. At each height a rung in gap
// x leads it right and a rung in gap x - 1 leads it left; rungs at one height never share a
// line, so at most one of the two is there.
int SortedLadder::landingColumn(int start) const {
    unsigned line = 1u << lineX(start);
    for (int y = kTopY + 1; y < kBottomY; ++y) {
        const unsigned gaps = gapsAt_[y];
        const unsigned right = line & gaps;
        const unsigned left = line & (gaps << 1);
        line = (line & ~(right | left)) | right << 1 | left >> 1;
    }
    return columnOfX(std::countr_zero(line));
}

}  // namespace tanabashigo
