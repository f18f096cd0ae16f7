#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "landing_law.h"
#include "svg_document.h"

namespace tanabashigo {

/// What the chart of the law of large numbers shows: each chosen column's share of the first
/// n landings, for n = 1 up to every landing, against the exact chance it settles towards.
struct SettlingChart {
    int rungs = 0;
    int start = 3;
    ColumnLaw law{};
    std::vector<std::uint8_t> landings;  ///< the columns landed in (1..10), in order
    int column = 0;                      ///< the column drawn, or 0 for every column
    std::string name;                    ///< whose landings, for the legend
};

/// The size these charts are saved at.
inline constexpr Box kSettlingChartArea{0.0, 0.0, 1200.0, 720.0};

/// The rectangle the lines are drawn in when the chart fills `area`.
Box settlingChartPlot(const Box& area);

/// The colour of column `column`'s lines (1..10), told apart from its neighbours.
Colour columnColour(int column);

/// The share of `column` among the first n of `landings`, for n = 1..landings.size().
std::vector<double> runningShare(const std::vector<std::uint8_t>& landings, int column);

/// The largest distance, over the chart's columns, between a share of the first `n` landings
/// and the column's exact chance (0 < n <= landings).
double largestGap(const SettlingChart& chart, std::size_t n);

/// The chart as an SVG document of `area`'s size; the lines are cut at the plot's edges.
std::string settlingChartSvg(const SettlingChart& chart, const Box& area = kSettlingChartArea);

}  // namespace tanabashigo
