#pragma once

#include <vector>

#include "geometry.h"

namespace tanabashigo {

/// Probability of landing in each column.
using ColumnLaw = PerColumn<double>;

/// The lottery is nearly fair when every column's chance is within this of 10 %.
inline constexpr double kNearlyFairGap = 0.01;

/// Whether every column of `law` is within kNearlyFairGap of 10 %.
bool isNearlyFair(const ColumnLaw& law);

/// The exact landing law from start line `start` (1..10) for every rung count 0..maxRungs
/// (maxRungs <= kSlotCount), the rungs being a uniformly random set of distinct slots.
std::vector<ColumnLaw> exactLandingLaws(int start, int maxRungs = kSlotCount);

/// The exact landing law for `rungs` (0..kSlotCount) rungs from start line `start` (1..10).
ColumnLaw exactLandingLaw(int rungs, int start);

/// The exact laws of every start line, indexed by the start line 1..10.
using LawsByStart = PerColumn<ColumnLaw>;

/// The laws of every start line for every rung count 0..225, indexed by the rung count.
std::vector<LawsByStart> exactLawsOfEveryStart();

}  // namespace tanabashigo
