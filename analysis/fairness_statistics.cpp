#include "fairness_statistics.h"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <limits>
#include <numeric>

namespace tanabashigo {

ChiSquareTest chiSquareTest(const ColumnCounts& counts, const ColumnLaw& law) {
    const double total =
        static_cast<double>(std::accumulate(counts.begin(), counts.end(), std::uint64_t{0}));
    ChiSquareTest test;
    struct Class {
        double expected;
        double observed;
    };
    std::vector<Class> classes;
    for (int column = 1; column <= kLineCount; ++column) {
        if (law[column] > 0.0) {
            classes.push_back({total * law[column], static_cast<double>(counts[column])});
        } else if (counts[column] > 0) {
            test.statistic = std::numeric_limits<double>::infinity();
        }
    }
    const auto bySize = [](const Class& a, const Class& b) { return a.expected < b.expected; };
    std::sort(classes.begin(), classes.end(), bySize);
    while (classes.size() > 1 && classes.front().expected < kMinExpectedCount) {
        classes[1].expected += classes[0].expected;
        classes[1].observed += classes[0].observed;
        classes.erase(classes.begin());
        std::sort(classes.begin(), classes.end(), bySize);
        ++test.pooledColumns;
    }
    test.degreesOfFreedom = static_cast<int>(classes.size()) - 1;
    if (std::isinf(test.statistic)) {
        test.pValue = 0.0;
        return test;
    }
    for (const Class& c : classes) {
        test.statistic += (c.observed - c.expected) * (c.observed - c.expected) / c.expected;
    }
    if (test.degreesOfFreedom <= 0) {
        test.degreesOfFreedom = 0;
        test.pValue = 1.0;  // a single class: every outcome agrees with the law
    } else {
        const boost::math::chi_squared distribution(test.degreesOfFreedom);
        test.pValue = boost::math::cdf(boost::math::complement(distribution, test.statistic));
    }
    return test;
}

ColumnLaw uniformLaw() {
    ColumnLaw law;
    std::fill(law.begin(), law.end(), 1.0 / kLineCount);
    return law;
}

double totalVariationFromUniform(const ColumnLaw& law) {
    double sum = 0.0;
    for (const double p : law) {
        sum += std::abs(p - 1.0 / kLineCount);
    }
    return sum / 2.0;
}

FairnessRow fairnessRow(int rungs, const ColumnLaw& law) {
    FairnessRow row{rungs, totalVariationFromUniform(law), 1, law[1], 1, law[1]};
    for (int column = 2; column <= kLineCount; ++column) {
        if (law[column] > row.maxP) {
            row.maxColumn = column;
            row.maxP = law[column];
        }
        if (law[column] < row.minP) {
            row.minColumn = column;
            row.minP = law[column];
        }
    }
    return row;
}

std::vector<FairnessRow> fairnessTable(int first, int last, int step, int start) {
    const std::vector<ColumnLaw> laws = exactLandingLaws(start, last);
    std::vector<FairnessRow> rows;
    for (int rungs = first; rungs <= last; rungs += step) {
        rows.push_back(fairnessRow(rungs, laws[rungs]));
    }
    return rows;
}

}  // namespace tanabashigo
