#pragma once

#include "geometry.h"
#include "ladder.h"

namespace tanabashigo {

/// What one tick of the tracing timer did.
struct TraceTick {
    enum class Kind {
        Moved,   ///< down to the nearest rung below and across it
        Landed,  ///< no rung left below: down to the bottom
    };
    Kind kind = Kind::Landed;
    Segment down{};    ///< the run down the current line
    Segment across{};  ///< the rung crossed (Moved only)
    int column = 0;    ///< landing column 1..10 (Landed only)
    bool operator==(const TraceTick&) const = default;
};

/// The path from the top of the start line (the third unless set) down a finished ladder,
/// one rung per tick.
class Tracer {
public:
    static constexpr Int16 kEmpty = -99;
    static constexpr Int16 kStartX = 4;

    Int16 TracerX = kStartX;  ///< x of the current point, a line 2..11
    Int16 TracerY = kTopY;    ///< y of the current point
    Int16 CandCount = 0;      ///< candidates found in the current tick
    Int16Array CandY = filled(kEmpty);
    Int16Array CandDir = filled(kEmpty);

    /// Back to the top of the start line.
    void reset();
    /// The line (1..10) that reset() goes back to.
    void setStartLine(int line) { startX_ = static_cast<Int16>(lineX(line)); }
    int startLine() const { return columnOfX(startX_); }
    /// Moves along the nearest rung below the current point, or lands at the bottom.
    TraceTick tick(const Ladder& ladder);

private:
    static constexpr Int16Array filled(Int16 value) {
        Int16Array a{};
        a.fill(value);
        return a;
    }
    void clearCandidates(int rungCount);
    void collectCandidates(const Ladder& ladder);
    void addCandidate(int height, int direction);
    void sortCandidates();

    Int16 startX_ = kStartX;
};

}  // namespace tanabashigo
