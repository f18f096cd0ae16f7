#pragma once

#include <vector>

#include "landing_law.h"
#include "landing_simulation.h"

namespace tanabashigo {

/// Pearson's chi-square test of landing counts against a law.
struct ChiSquareTest {
    double statistic = 0.0;    ///< sum of (count - expected)^2 / expected over the classes;
                               ///< infinite when a column the law rules out was hit
    int degreesOfFreedom = 0;  ///< classes, less one
    double pValue = 1.0;       ///< chance of a statistic at least this large under the law
    int pooledColumns = 0;     ///< columns merged into a neighbouring class
};

/// The smallest expected count a class of the test may have.
inline constexpr double kMinExpectedCount = 5.0;

/// Tests `counts` against `law`. Columns of probability 0 carry no degree of freedom; columns
/// expecting fewer than kMinExpectedCount landings are pooled, smallest first, with the next
/// smallest class, where the chi-square approximation would not hold for them alone.
ChiSquareTest chiSquareTest(const ColumnCounts& counts, const ColumnLaw& law);

/// The law that gives every column 1/10.
ColumnLaw uniformLaw();

/// Total variation distance of `law` from the uniform law: half the sum of |p - 1/10|.
double totalVariationFromUniform(const ColumnLaw& law);

/// How fair the lottery is for one rung count.
struct FairnessRow {
    int rungs = 0;
    double tvDistance = 0.0;  ///< total variation distance from uniform
    int maxColumn = 0;        ///< the most likely column (the leftmost on a tie)
    double maxP = 0.0;
    int minColumn = 0;  ///< the least likely column (the leftmost on a tie)
    double minP = 0.0;
};

/// The fairness row of `law`, the landing law for `rungs` rungs.
FairnessRow fairnessRow(int rungs, const ColumnLaw& law);

/// One row per rung count first, first + step, ... up to last (0 <= first <= last <= 225).
std::vector<FairnessRow> fairnessTable(int first, int last, int step, int start);

}  // namespace tanabashigo
