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
    if (isComplete()) {
        return {LadderTick::Kind::Complete, 0, {}};
    }
    const int index = RungNo;
    random.reseedFromClock();
    const int gap = static_cast<int>(static_cast<double>(random.next()) * 9) + 2;
    RungLeft[index] = static_cast<Int16>(gap);
    const int step = static_cast<int>(static_cast<double>(random.next()) * 25);
    if (gap % 2 != 0) {
        RungYOdd[index] = static_cast<Int16>(2 * step + 12);
    } else {
        RungYEven[index] = static_cast<Int16>(2 * step + 11);
    }
    if (repeatsEarlierRung(index)) {
        return {LadderTick::Kind::Rejected, index, {}};
    }
    RungNo = static_cast<Int16>(index + 1);
    return {LadderTick::Kind::Placed, index, rungLine(index)};
}

bool Ladder::repeatsEarlierRung(int index) const {
    // Rungs in the same gap keep their heights in the same array, so one array serves.
    const Int16 gap = RungLeft[index];
    const Int16Array& heights = gap % 2 == 0 ? RungYEven : RungYOdd;
    const Int16 height = heights[index];
    int repeats = 0;
    for (int j = 1; j < index; ++j) {
        repeats += (RungLeft[j] == gap) & (heights[j] == height);
    }
    return repeats != 0;
}

}  // namespace tanabashigo
