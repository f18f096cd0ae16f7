#pragma once

namespace tanabashigo {

/// A landing as the record keeps it: all that a record line says besides its time and numbers.
struct LandingEntry {
    int rungs = 0;                ///< rungs per ladder
    int start = 3;                ///< start line 1..10
    int column = 0;               ///< landing column 1..10
    int count = 0;                ///< that column's count after the landing (20 at the end)
    bool endsExperiment = false;  ///< it found its column full: nothing was counted
    bool operator==(const LandingEntry&) const = default;
};

}  // namespace tanabashigo
