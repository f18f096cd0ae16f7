#include "tracer.h"

#include <utility>

namespace tanabashigo {

void Tracer::reset() {
    TracerY = kTopY;
    CandCount = 0;
    TracerX = kStartX;
}

TraceTick Tracer::tick(const Ladder& ladder) {
    clearCandidates(ladder.RungCount);
    CandCount = 0;
    collectCandidates(ladder);
    const int x = TracerX;
    const int y = TracerY;
    if (CandCount == 0) {
        return {TraceTick::Kind::Landed, {x, y, x, kBottomY}, {}, columnOfX(x)};
    }
    sortCandidates();
    const int height = CandY[1];
    const int toX = x + CandDir[1];
    TraceTick move{TraceTick::Kind::Moved, {x, y, x, height}, {}, 0};
    move.across =
        CandDir[1] < 0 ? Segment{toX, height, x, height} : Segment{x, height, toX, height};
    TracerX = static_cast<Int16>(toX);
    TracerY = static_cast<Int16>(height);
    clearCandidates(ladder.RungCount);
    return move;
}

void Tracer::clearCandidates(int rungCount) {
    for (int i = 1; i <= rungCount; ++i) {
        CandY[i] = kEmpty;
        CandDir[i] = kEmpty;
    }
}

void Tracer::collectCandidates(const Ladder& ladder) {
    const int x = TracerX;
    const int y = TracerY;
    // On an even line, rungs leading right lie in RungYEven and rungs arriving from the
    // left in RungYOdd; on an odd line the other way round.
    const Int16Array& rightHeights = x % 2 == 0 ? ladder.RungYEven : ladder.RungYOdd;
    const Int16Array& leftHeights = x % 2 == 0 ? ladder.RungYOdd : ladder.RungYEven;
    for (int i = 1; i <= ladder.RungCount; ++i) {
        if (ladder.RungLeft[i] == x && y < rightHeights[i]) {
            addCandidate(rightHeights[i], +1);
        } else if (ladder.RungLeft[i] + 1 == x && y < leftHeights[i]) {
            addCandidate(leftHeights[i], -1);
        }
    }
}

void Tracer::addCandidate(int height, int direction) {
    ++CandCount;
    CandY[CandCount] = static_cast<Int16>(height);
    CandDir[CandCount] = static_cast<Int16>(direction);
}

void Tracer::sortCandidates() {
    for (int i = 1; i < CandCount; ++i) {
        for (int j = i + 1; j <= CandCount; ++j) {
            if (CandY[j] < CandY[i]) {
                std::swap(CandY[i], CandY[j]);
                std::swap(CandDir[i], CandDir[j]);
            }
        }
    }
}

}  // namespace tanabashigo
