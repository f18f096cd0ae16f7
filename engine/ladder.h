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

/// The ladder of the current trial and its rung-by-rung generation.
///
/// Rung i (1..RungCount) joins line x = RungLeft(i) to x = RungLeft(i) + 1. Its height lies
/// in RungYEven(i) when the gap is even (odd heights 11..59) and in RungYOdd(i) when the gap
/// is odd (even heights 12..60); the other entry is never read.
class Ladder {
public:
    Int16 RungCount = 0;  ///< rungs per ladder, 10..50 in the window
    Int16 RungNo = 1;     ///< the rung being generated; RungCount + 1 once complete
    Int16Array RungLeft{};
    Int16Array RungYEven{};
    Int16Array RungYOdd{};

    /// Sets the gap and both heights of rungs 1..RungCount to 0.
    void clearRungs();
    /// One tick of generation: complete, or label, reseed, draw, and place or reject.
    LadderTick tick(RandomSource& random);
    /// The rule of one tick without what the window shows of it: what tick() decides.
    LadderTick::Kind step(RandomSource& random) {
        if (isComplete()) {
            return LadderTick::Kind::Complete;
        }
        const int index = RungNo;
        if (index == 1) {
            placedAt_.fill(0);
        }
        random.reseedFromClock();
        const int gap = random.nextBelow(9) + 2;  // Int(r × 9) + 2: 2..10
        const int draw = random.nextBelow(25);    // Int(r' × 25): 0..24
        // Odd gaps take the even heights 12..60, even gaps the odd heights 11..59.
        const int oddGap = gap & 1;
        const int height = 2 * draw + 11 + oddGap;
        RungLeft[index] = static_cast<Int16>(gap);
        // Chosen by index rather than by a branch: the parity is a coin toss on every tick.
        Int16Array* const heights[2] = {&RungYEven, &RungYOdd};
        (*heights[oddGap])[index] = static_cast<Int16>(height);
        const auto gapBit = static_cast<std::uint16_t>(1u << gap);
        if ((placedAt_[height] & gapBit) != 0) {
            return LadderTick::Kind::Rejected;
        }
        placedAt_[height] |= gapBit;
        RungNo = static_cast<Int16>(index + 1);
        return LadderTick::Kind::Placed;
    }
    /// Whether every rung has been placed.
    bool isComplete() const { return RungNo > RungCount; }
    /// The meaningful height of rung i, chosen by the parity of its gap.
    int heightOf(int i) const { return RungLeft[i] % 2 == 0 ? RungYEven[i] : RungYOdd[i]; }
    /// Bit g of entry y is set when gap g holds one of rungs 1..RungNo - 1 at height y.
    /// Kept by tick() and step(); a ladder whose arrays were written directly has none.
    const std::array<std::uint16_t, kBottomY>& placedRungs() const { return placedAt_; }
    /// The line of rung i.
    Segment rungLine(int i) const {
        return {RungLeft[i], heightOf(i), RungLeft[i] + 1, heightOf(i)};
    }

private:
    /// Bit g of placedAt_[y] is set when one of rungs 1..RungNo - 1 stands in gap g at
    /// height y. Ticks keep it in step with the arrays; it restarts with rung 1.
    std::array<std::uint16_t, kBottomY> placedAt_{};
};

}  // namespace tanabashigo
