#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "class_prediction.h"
#include "fairness_statistics.h"

namespace tanabashigo {

/// Counts to set beside the exact law: a simulation, or a class's record.
struct Comparison {
    std::string name;  ///< for the legend and the table, e.g. 「クラスの記録（実験 2）」
    std::string whose;  ///< for the sentence, e.g. 「クラスの結果」
    ColumnCounts counts{};
    int rungs = 0;
    int start = 3;
    std::vector<std::uint8_t> order;  ///< the columns landed in, in turn, where they are known
    ClassPrediction prediction{};     ///< the class's predictions of its experiments, pooled
};

/// The landings `counts` holds.
std::uint64_t landingsOf(const ColumnCounts& counts);

/// Landing counts compared with the exact law and with a fair lottery, in words a teacher
/// can read out, with the figures behind them.
struct PlainComparison {
    std::string japanese;  ///< one or two plain sentences
    std::string english;   ///< the same, for the command line
    std::string figures;   ///< χ², degrees of freedom and p-values of both tests; empty when
                           ///< there are too few landings to test
};

/// Below this p-value a difference is called more than chance.
inline constexpr double kSignificance = 0.05;

/// A p-value as "p 値 = 0.52", "p 値 = 0.0031", "p 値 = 3.2e-07", or "p 値 < 1e-300".
std::string pValueText(double p);

/// One chi-square test as a line of figures: "χ² = 12.30、自由度 9、p 値 = 0.20".
std::string chiSquareFigures(const ChiSquareTest& test);

/// Compares `counts` with `law` and with the fair lottery; `whose` names the counts in the
/// sentence (「クラスの結果」, 「実験の結果」).
PlainComparison compareCounts(const ColumnCounts& counts, const ColumnLaw& law,
                              const std::string& whose);

/// The class's prediction beside its landings and `law`: the columns most hands chose, the
/// most landings fell in, and the law favours. Empty texts when it holds no prediction.
PlainComparison comparePrediction(const Comparison& comparison, const ColumnLaw& law);

/// The counts of `comparison` beside the law of its ladder, and what they say (with the
/// class's prediction when it has one), for --compare.
std::string comparisonText(const Comparison& comparison);

/// `rungs,start,column,exact,count,share` and ten rows a comparison, full precision, for
/// programs.
std::string comparisonCsvHeader();
std::string comparisonCsvRows(const Comparison& comparison);

}  // namespace tanabashigo
