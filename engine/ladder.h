#pragma once

#include "geometry.h"
#include "random_source.h"

namespace tanabashigo {

/// What one tick of the ladder timer did.
struct LadderTick {
    enum class Kind {
        Placed,    ///< a new rung stands; `rung` is its line
        Rejected,  ///< the drawn rung repeated an earlier one; try again next tick
        Complete,  ///< every rung stands; hand over to the tracing
    };
    Kind kind = Kind::Complete;
    int label = 0;   ///< rung number to show (Placed and Rejected)
    Segment rung{};  ///< the rung's line (Placed only)
    bool operator==(const LadderTick&) const = default;
};

/// One rung: it joins line x = gap to line x = gap + 1 at `height`.
struct Rung {
    int gap = 0;
    int height = 0;
    bool operator==(const Rung&) const = default;
};

/// The ladder of the current trial and its rung-by-rung generation.
///
/// Even gaps take the odd heights 11..59 and odd gaps the even heights 12..60, so no two
/// rungs at one height share a line. Rungs change only through place() (and clearRungs()).
class Ladder {
public:
    /// The most rungs a ladder holds: every slot taken.
    static constexpr int kCapacity = kSlotCount;

    /// Rungs per ladder, 10..50 in the experiment window, 0..kCapacity in a lesson.
    int rungCount() const { return rungCount_; }
    /// Sets the rung count (0..kCapacity) for the following ladders.
    void setRungCount(int rungs) { rungCount_ = static_cast<Int16>(rungs); }
    /// The rung being generated; rungCount() + 1 once complete.
    int rungNo() const { return rungNo_; }
    /// Generation starts again at rung 1; the old rungs stay until replaced.
    void restart() { rungNo_ = 1; }
    /// Rungs 1..rungCount() back to gap 0 at height 0.
    void clearRungs();
    /// Whether every rung has been placed.
    bool isComplete() const { return rungNo_ > rungCount_; }

    /// One tick of generation: complete, or label, reseed, draw, and place or reject.
    LadderTick tick(RandomSource& random);
    /// Whether one of rungs 1..rungNo() - 1 stands in `gap` at `height`.
    bool holds(int gap, int height) const;
    /// Places rung rungNo() in `gap` at `height` and moves on to the next rung.
    void place(int gap, int height);

    /// Rung i (1..rungCount()).
    const Rung& rung(int i) const { return rungs_[static_cast<std::size_t>(i)]; }
    /// The line of rung i.
    Segment rungLine(int i) const {
        return {rung(i).gap, rung(i).height, rung(i).gap + 1, rung(i).height};
    }

private:
    Int16 rungCount_ = 0;
    Int16 rungNo_ = 1;
    std::array<Rung, kCapacity + 1> rungs_{};  ///< used from index 1
};

}  // namespace tanabashigo
