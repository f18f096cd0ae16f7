#include "tracer.h"

#include <utility>

namespace tanabashigo {

void Tracer::reset() {
    TracerY = kTopY;
    CandCount = 0;
    TracerX = startX_;
}

TraceTick Tracer::tick(const Ladder& ladder) {
    clearCandidates(ladder.rungCount());
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
    clearCandidates(ladder.rungCount());
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
    for (int i = 1; i <= ladder.rungCount(); ++i) {
        const Rung& rung = ladder.rung(i);
        if (rung.gap == x && y < rung.height) {
            addCandidate(rung.height, +1);
        } else if (rung.gap + 1 == x && y < rung.height) {
            addCandidate(rung.height, -1);
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
