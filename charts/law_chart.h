#pragma once

#include <QRectF>
#include <QString>
#include <optional>

#include "landing_law.h"
#include "landing_simulation.h"

class QPainter;

namespace tanabashigo {

/// What the landing-law chart shows: the exact law for one rung count and start line, and
/// optionally other shares (simulated, or a class's record) beside each exact bar.
struct LawChart {
    int rungs = 0;
    int start = 3;
    ColumnLaw law{};
    std::optional<ColumnLaw> compared;
    QString comparedName;  ///< what the compared shares are, for the legend
};

/// Each column's share of `counts` (all zero when there are none), for the compared bars.
ColumnLaw sharesOf(const ColumnCounts& counts);

/// The rectangle the bars stand in when the chart fills `area`; column c (1..10) owns the
/// c-th tenth of its width.
QRectF lawChartPlot(const QRectF& area);

/// Draws the chart into `area`.
void paintLawChart(QPainter& painter, const QRectF& area, const LawChart& chart);

/// Saves the chart, 1200 × 720 pixels, as PNG or SVG by the ending of `path`; false when it
/// cannot be written.
bool saveLawChart(const QString& path, const LawChart& chart);

}  // namespace tanabashigo
