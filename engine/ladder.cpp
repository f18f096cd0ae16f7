#include "ladder.h"

#include "rung_slots.h"

namespace tanabashigo {

void Ladder::clearRungs() {
    for (int i = 1; i <= rungCount_; ++i) {
        rungs_[static_cast<std::size_t>(i)] = Rung{};
    }
}

LadderTick Ladder::tick(RandomSource& random) {
    if (isComplete()) {
        return {LadderTick::Kind::Complete, 0, {}};
    }
    random.reseedFromClock();
    const int gap = random.nextBelow(kGapsPerStep) + kFirstGap;  // Int(r × 9) + 2: 2..10
    const int step = random.nextBelow(kSteps);                   // Int(r' × 25): 0..24
    const int height = rungHeight(gap, step);
    if (holds(gap, height)) {
        return {LadderTick::Kind::Rejected, rungNo_, {}};
    }
    place(gap, height);
    return {LadderTick::Kind::Placed, rungNo_ - 1, rungLine(rungNo_ - 1)};
}

bool Ladder::holds(int gap, int height) const {
    for (int i = 1; i < rungNo_; ++i) {
        if (rung(i) == Rung{gap, height}) {
            return true;
        }
    }
    return false;
}

void Ladder::place(int gap, int height) {
    rungs_[static_cast<std::size_t>(rungNo_)] = Rung{gap, height};
    ++rungNo_;
}

}  // namespace tanabashigo
