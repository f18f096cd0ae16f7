#include "ladder.h"

namespace tanabashigo {

void Ladder::clearRungs() {
    for (int i = 1; i <= RungCount; ++i) {
        RungLeft[i] = 0;
        RungYEven[i] = 0;
        RungYOdd[i] = 0;
    }
}

LadderTick Ladder::tick(RandomSource& random) {
    switch (step(random)) {
        case LadderTick::Kind::Complete:
            return {LadderTick::Kind::Complete, 0, {}};
        case LadderTick::Kind::Rejected:
            return {LadderTick::Kind::Rejected, RungNo, {}};
        case LadderTick::Kind::Placed:
            break;
    }
    const int placed = RungNo - 1;
    return {LadderTick::Kind::Placed, placed, rungLine(placed)};
}

}  // namespace tanabashigo
