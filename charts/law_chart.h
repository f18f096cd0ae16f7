#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "class_prediction.h"
#include "landing_law.h"
#include "landing_simulation.h"
#include "svg_document.h"

namespace tanabashigo {

/// What the landing-law chart shows: the exact law for one rung count and start line, and
/// optionally other counts (simulated, or a class's record) as shares beside each exact bar.
struct LawChart {
    int rungs = 0;
    int start = 3;
    ColumnLaw law{};
    std::optional<ColumnCounts> compared;
    std::string comparedName;  ///< what the compared counts are, for the legend
    /// The class's prediction beside them, as shares of the hands raised; none when empty.
    ClassPrediction prediction{};
    bool showLaw = true;  ///< false: the law and the bars are left out, for the class to draw
};

/// Each column's share of `counts` (all zero when there are none), for the compared bars.
ColumnLaw sharesOf(const ColumnCounts& counts);
/// Each column's share of the hands raised (all zero when none is).
ColumnLaw sharesOf(const ClassPrediction& prediction);

/// The size law charts are saved at.
inline constexpr Box kLawChartArea{0.0, 0.0, 1200.0, 720.0};

/// The rectangle the bars stand in when the chart fills `area`; column c (1..10) owns the
/// c-th tenth of its width.
Box lawChartPlot(const Box& area);

/// The chart as an SVG document of `area`'s size.
std::string lawChartSvg(const LawChart& chart, const Box& area = kLawChartArea);

/// The chart drawn into `area` of a larger document, such as a worksheet.
void drawLawChart(SvgDocument& svg, const LawChart& chart, const Box& area);

}  // namespace tanabashigo
