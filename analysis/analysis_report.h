#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fairness_statistics.h"
#include "landing_law.h"
#include "landing_simulation.h"

namespace tanabashigo {

/// A finished simulation and how it was run.
struct SimulationResult {
    ColumnCounts counts{};
    std::uint32_t seed = 0;
    unsigned threads = 1;
    double seconds = 0.0;  ///< wall time
};

/// The exact law for one rung count, with a simulation beside it when there is one.
struct LawReport {
    int rungs = 0;
    int start = 3;
    ColumnLaw law{};
    std::optional<SimulationResult> simulation;
};

/// The law as a Japanese table with a bar per column, the distance from uniform, and the
/// chi-square tests of the simulation.
std::string lawText(const LawReport& report);

/// `column,exact,count,share` and ten rows; count and share empty without a simulation.
std::string lawCsv(const LawReport& report);

/// `start,column,exact` and a hundred rows: the law of every start line for one rung count.
std::string allLinesCsv(const LawsByStart& laws);

/// The law of every start line for `rungs` rungs as a Japanese table of percentages, a row a
/// start line, with each column's total beneath.
std::string allLinesText(int rungs, const LawsByStart& laws);

/// The law as a table a spreadsheet opens: UTF-8 with a byte-order mark, Japanese headers,
/// the rung count, start line and landings, percentages rounded to 0.1, and `counts` per
/// column when given.
std::string lawTableForSpreadsheet(int rungs, int start, const ColumnLaw& law,
                                   const ColumnCounts* counts);

/// The fairness rows as a Japanese table with a bar for the distance from uniform.
std::string fairnessText(const std::vector<FairnessRow>& rows, int start);

/// `rungs,tv_distance,max_column,max_p,min_column,min_p` and one row per rung count.
std::string fairnessCsv(const std::vector<FairnessRow>& rows);

}  // namespace tanabashigo
