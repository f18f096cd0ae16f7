#pragma once

#include <vector>

#include "landing_law.h"
#include "tally.h"

namespace tanabashigo {

/// How many trials one experiment of the window takes: it ends with the trial whose landing
/// finds its column already holding `capacity` landings (that trial counted).
struct ExperimentLength {
    std::vector<double> endsWith;  ///< endsWith[t]: chance the experiment ends with trial t
    /// The expected number of trials.
    double mean() const;
    /// Smallest t with P(T <= t) >= 1/2.
    int median() const;
    /// P(T <= t).
    double endedBy(int t) const;
};

/// The exact distribution for landings drawn independently from `law`, each column holding at
/// most `capacity` (at least 1) landings.
ExperimentLength experimentLength(const ColumnLaw& law, int capacity = Tally::kColumnCapacity);

}  // namespace tanabashigo
