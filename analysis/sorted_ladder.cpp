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

int SortedLadder::landingColumn(int start) const {
    return columnOfX(std::countr_zero(followRungs(1u << lineX(start), gapsAt_)));
}

}  // namespace tanabashigo
