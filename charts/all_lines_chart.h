#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comparison_report.h"
#include "fairness_chart.h"
#include "landing_law.h"
#include "svg_document.h"

namespace tanabashigo {

/// Landings counted by start line and column: landings[start][column].
using LandingsByStart = PerColumn<ColumnCounts>;

/// What the all-lines picture shows: the exact law of every start line for one rung count as
/// a 10 × 10 grid of cells shaded by chance, and landings counted in the cells they fill.
struct AllLinesChart {
    int rungs = 0;
    LawsByStart laws{};
    std::optional<LandingsByStart> landings;
    std::string landingsName;  ///< whose landings, for the legend, e.g. 「クラスの記録」
};

/// The size all-lines pictures are saved at.
inline constexpr Box kAllLinesChartArea{0.0, 0.0, 1200.0, 900.0};

/// The grid's rectangle when the picture fills `area`: start line s (1..10) owns the s-th
/// tenth of its height from the top, column c the c-th tenth of its width.
Box allLinesGrid(const Box& area);

/// The shade of a cell of chance `p`: white at 0, deepening to the exact law's blue at 30 %.
Colour chanceShade(double p);

/// The picture as an SVG document of `area`'s size; a cell's figures are left out where they
/// would be too small to read.
std::string allLinesChartSvg(const AllLinesChart& chart, const Box& area = kAllLinesChartArea);

/// For every rung count 0..225, the most and the least likely cell over every start line, as
/// the fairness row of the count: nearlyFairRange of these tells when every line is fair.
std::vector<FairnessRow> everyLineFairness(const std::vector<LawsByStart>& laws);

/// The landings that `ladders` (a comparison a ladder) hold for `rungs` rungs, by start line.
LandingsByStart landingsByStart(const std::vector<Comparison>& ladders, int rungs);

}  // namespace tanabashigo
