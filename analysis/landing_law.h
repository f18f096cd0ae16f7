#pragma once

#include <vector>

#include "geometry.h"

namespace tanabashigo {

/// Rung slots of the ladder: 5 even gaps at 25 odd heights and 4 odd gaps at 25 even heights.
inline constexpr int kSlotCount = 225;

/// Probability of landing in each column.
using ColumnLaw = PerColumn<double>;

/// The exact landing law from start line `start` (1..10) for every rung count 0..maxRungs
/// (maxRungs <= kSlotCount), the rungs being a uniformly random set of distinct slots.
std::vector<ColumnLaw> exactLandingLaws(int start, int maxRungs = kSlotCount);

/// The exact landing law for `rungs` (0..kSlotCount) rungs from start line `start` (1..10).
ColumnLaw exactLandingLaw(int rungs, int start);

}  // namespace tanabashigo
