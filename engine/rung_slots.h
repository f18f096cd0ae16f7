#pragma once

#include "geometry.h"

namespace tanabashigo {

// Where rungs may stand. A rung is drawn as a gap 2..10 (between lines x = gap and gap + 1)
// and a step 0..24. Even gaps take the odd heights 11..59 and odd gaps the even heights
// 12..60, so no two rungs at one height share a line. Slot 9 * step + gap - 2 (0..224)
// numbers each place once, in the order of the steps.

inline constexpr int kFirstGap = 2;
inline constexpr int kLastGap = kLineCount;
inline constexpr int kGapsPerStep = kLastGap - kFirstGap + 1;
inline constexpr int kSteps = kSlotCount / kGapsPerStep;
static_assert(kGapsPerStep * kSteps == kSlotCount);

/// The height of a rung in gap `gap` (2..10) at step `step` (0..24).
constexpr int rungHeight(int gap, int step) {
    return kTopY + 1 + 2 * step + (gap & 1);
}

/// Whether the rungs at height `height` (11..60) stand in the odd gaps.
constexpr bool oddGapsAt(int height) {
    return height % 2 == 0;
}

/// How many gaps take rungs at height `height` (11..60): the 5 even or the 4 odd ones.
constexpr int gapsAt(int height) {
    return oddGapsAt(height) ? kGapsPerStep / 2 : kGapsPerStep - kGapsPerStep / 2;
}

/// The slot (0..224) of gap `gap` at step `step`.
constexpr int slotOf(int gap, int step) {
    return kGapsPerStep * step + gap - kFirstGap;
}

/// The gap (2..10) of slot `slot`.
constexpr int slotGap(int slot) {
    return kFirstGap + slot % kGapsPerStep;
}

/// The height (11..60) of slot `slot`.
constexpr int slotHeight(int slot) {
    return rungHeight(slotGap(slot), slot / kGapsPerStep);
}

}  // namespace tanabashigo
