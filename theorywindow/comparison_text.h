#pragma once

#include <QString>

#include "fairness_statistics.h"

namespace tanabashigo {

/// Landing counts compared with the exact law and with a fair lottery, in words a teacher
/// can read out, with the figures behind them.
struct PlainComparison {
    QString japanese;  ///< one or two plain sentences
    QString english;   ///< the same, for the command line
    QString figures;   ///< χ², degrees of freedom and p-values of both tests
};

/// Below this p-value a difference is called more than chance.
inline constexpr double kSignificance = 0.05;

/// Compares `counts` with `law` and with the fair lottery; `whose` names the counts in the
/// sentence (「クラスの結果」, 「実験の結果」).
PlainComparison compareCounts(const ColumnCounts& counts, const ColumnLaw& law,
                              const QString& whose);

}  // namespace tanabashigo
