#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fairness_statistics.h"
#include "landing_law.h"
#include "svg_document.h"

namespace tanabashigo {

/// Rung counts first..last.
struct RungRange {
    int first = 0;
    int last = 0;
    bool operator==(const RungRange&) const = default;
};

/// The longest run of rows in `rows` (by increasing rung count) that are nearly fair, the
/// first such run on a tie; nothing when no row is. (A nearly full ladder is unfair again.)
std::optional<RungRange> nearlyFairRange(const std::vector<FairnessRow>& rows);

/// What the fairness chart shows: for each rung count, the chance of the most likely and of
/// the least likely column, around the fair 10 %.
struct FairnessChart {
    int start = 3;
    std::vector<FairnessRow> rows;        ///< by increasing rung count, every count in between
    std::optional<int> chosen;            ///< the rung count marked
    std::optional<RungRange> nearlyFair;  ///< where the lottery is nearly fair
    std::vector<int> marked;              ///< rung counts whose values are marked with a dot
};

/// The size fairness charts are saved at.
inline constexpr Box kFairnessChartArea{0.0, 0.0, 1200.0, 600.0};

/// The rectangle the lines are drawn in when the chart fills `area`.
Box fairnessChartPlot(const Box& area);

/// The probability at the top of the chart: enough for the rows of the window's rung counts
/// (10..50), or for every row when there are none; the few rungs and the nearly full ladders
/// beyond are cut off at the top rather than squeezing the rest flat.
double fairnessChartTop(const FairnessChart& chart);

/// The chart as an SVG document of `area`'s size; the lines are cut at the plot's edges.
std::string fairnessChartSvg(const FairnessChart& chart, const Box& area = kFairnessChartArea);

}  // namespace tanabashigo
