#pragma once

#include <array>

#include "geometry.h"

namespace tanabashigo {

/// How long each move of a lesson waits before it happens, at one speed level.
struct LessonPace {
    double rungMs = 0;      ///< before each rung is placed
    double pathUnitMs = 0;  ///< per ladder unit of a path step (down and across)
    double landingMs = 0;   ///< a landing stays on view this long before the next trial
};

/// Speed levels 1 (ゆっくり) to kFastestSpeed (はやい).
inline constexpr int kSlowestSpeed = 1;
inline constexpr int kFastestSpeed = 5;
/// The speed a lesson starts at, in the lesson window and the page alike.
inline constexpr int kDefaultSpeed = 2;

/// The pace at each speed level, slowest first. A path runs 51 units down, so at the slowest
/// any path takes at least 51 × 60 ms = 3.06 s: slow enough for pupils to follow.
inline constexpr std::array<LessonPace, kFastestSpeed> kLessonPaces{{
    {120, 60, 3000},
    {60, 30, 2500},
    {25, 12, 2000},
    {10, 4, 1000},
    {3, 1, 300},
}};

static_assert((kBottomY - kTopY) * kLessonPaces[0].pathUnitMs >= 3000);

/// The pace of speed level `speed` (kSlowestSpeed..kFastestSpeed).
constexpr const LessonPace& lessonPace(int speed) {
    return kLessonPaces[static_cast<std::size_t>(speed - kSlowestSpeed)];
}

/// How long a lesson trial at `speed` with `rungs` rungs takes on average, from its start to
/// the next trial's: each rung's wait, the path's 51 units down and about one unit across for
/// every fifth rung (a path meets one rung slot a height, 50 heights, of 225 slots), and its
/// landing on view.
double meanTrialMs(int speed, int rungs);

/// The speed level whose rung wait is nearest to `tickMs`, for a tick given on the command line.
int speedForTick(int tickMs);

}  // namespace tanabashigo
