#include "sorted_ladder.h"

namespace tanabashigo {

SortedLadder::SortedLadder(const Ladder& ladder) {
    for (int i = 1; i <= ladder.RungCount; ++i) {
        add(ladder.RungLeft[i], ladder.heightOf(i));
    }
}

// Rungs at one height never share a line, so at each height at most one of them touches the
// path's line: the one to its right or the one to its left.
int SortedLadder::landingColumn(int start) const {
    int x = lineX(start);
    for (int y = kTopY + 1; y < kBottomY; ++y) {
        const unsigned gaps = gapsAt_[y];
        if ((gaps >> x) & 1u) {
            ++x;
        } else if ((gaps >> (x - 1)) & 1u) {
            --x;
        }
    }
    return columnOfX(x);
}

}  // namespace tanabashigo
