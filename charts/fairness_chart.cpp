#include "fairness_chart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "chart_export.h"
#include "chart_frame.h"

namespace tanabashigo {

namespace {

constexpr double kTitleLines = 2.0;
constexpr double kLegendLines = 1.8;
constexpr double kAxisLines = 3.2;

/// A tick step that puts at most about ten ticks on `span` rung counts.
int tickStep(int span) {
    for (const int step : {1, 2, 5, 10, 25, 50}) {
        if (span <= step * 10) {
            return step;
        }
    }
    return 100;
}

/// The line through the rows' values picked by `value`.
template <class Value>
QPainterPath line(const ChartFrame& frame, const std::vector<FairnessRow>& rows, Value value) {
    QPainterPath path;
    for (const FairnessRow& row : rows) {
        const QPointF point(frame.x(row.rungs), frame.y(value(row)));
        if (path.elementCount() == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    return path;
}

void drawRungAxis(QPainter& painter, const ChartFrame& frame, int first, int last,
                  double textSize) {
    const QRectF& plot = frame.plot();
    painter.setFont(chartFont(textSize));
    painter.setPen(chartColours::kText);
    const int step = tickStep(last - first);
    for (int rungs = (first + step - 1) / step * step; rungs <= last; rungs += step) {
        const double x = frame.x(rungs);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + textSize * 0.3));
        painter.drawText(QRectF(x - textSize * 3.0, plot.bottom() + textSize * 0.3, textSize * 6.0,
                                textSize * 1.4),
                         Qt::AlignCenter, QString::number(rungs));
    }
    painter.drawText(
        QRectF(plot.left(), plot.bottom() + textSize * 1.7, plot.width(), textSize * 1.4),
        Qt::AlignCenter, QStringLiteral("横線の本数"));
}

/// A dashed vertical line at `rungs` with `text` beside it, its top at `labelTop`.
void drawMark(QPainter& painter, const ChartFrame& frame, int rungs, const QColor& colour,
              const QString& text, double labelTop, double textSize) {
    const QRectF& plot = frame.plot();
    const double x = frame.x(rungs);
    painter.setPen(QPen(colour, std::max(1.5, textSize / 8.0), Qt::DashLine));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    painter.setFont(chartFont(textSize * 0.9, true));
    const double width = textSize * 14.0;
    const bool rightSide = x + width < plot.right();
    const QRectF box(rightSide ? x + textSize * 0.3 : x - width - textSize * 0.3, labelTop, width,
                     textSize * 1.4);
    painter.drawText(box, (rightSide ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, text);
}

}  // namespace

std::optional<RungRange> nearlyFairRange(const std::vector<FairnessRow>& rows) {
    std::optional<RungRange> longest;
    std::optional<RungRange> run;
    for (const FairnessRow& row : rows) {
        if (row.maxP > 0.1 + kNearlyFairGap || row.minP < 0.1 - kNearlyFairGap) {
            run.reset();
            continue;
        }
        run = RungRange{run ? run->first : row.rungs, row.rungs};
        if (!longest || run->last - run->first > longest->last - longest->first) {
            longest = run;
        }
    }
    return longest;
}

QRectF fairnessChartPlot(const QRectF& area) {
    const double u = chartTextSize(area);
    const double top = (kTitleLines + kLegendLines) * u;
    return QRectF(area.left() + 4.6 * u, area.top() + top, area.width() - 5.8 * u,
                  area.height() - top - kAxisLines * u);
}

double fairnessChartTop(const FairnessChart& chart) {
    double largest = 0.1;
    for (const FairnessRow& row : chart.rows) {
        if (row.rungs >= kMinRungs && row.rungs <= kMaxRungs) {
            largest = std::max(largest, row.maxP);
        }
    }
    if (largest == 0.1) {
        for (const FairnessRow& row : chart.rows) {
            largest = std::max(largest, row.maxP);
        }
    }
    return percentAxisTop(largest);
}

void paintFairnessChart(QPainter& painter, const QRectF& area, const FairnessChart& chart) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double u = chartTextSize(area);
    drawChartBackground(painter, area,
                        QStringLiteral("%1 本目からスタート：横線の本数と公平さ").arg(chart.start),
                        kTitleLines * u);
    if (chart.rows.empty()) {
        painter.restore();
        return;
    }
    const int first = chart.rows.front().rungs;
    const int last = chart.rows.back().rungs;
    const ChartFrame frame(fairnessChartPlot(area), first, last, fairnessChartTop(chart));
    const QRectF& plot = frame.plot();
    drawLegend(painter, plot.left(), area.top() + (kTitleLines + kLegendLines / 2.0) * u,
               {{chartColours::kMost, QStringLiteral("いちばん着きやすい列")},
                {chartColours::kLeast, QStringLiteral("いちばん着きにくい列")},
                {chartColours::kNearlyFair, QStringLiteral("ほぼ公平（10% ± 1 ポイント）")},
                fairLineEntry()},
               u);
    painter.fillRect(QRectF(QPointF(plot.left(), frame.y(0.1 + kNearlyFairGap)),
                            QPointF(plot.right(), frame.y(0.1 - kNearlyFairGap))),
                     chartColours::kNearlyFair);
    drawPercentAxis(painter, frame, u);
    drawFairLine(painter, frame, u);

    painter.save();
    painter.setClipRect(plot.adjusted(0.0, -1.0, 0.0, 1.0));
    painter.setBrush(Qt::NoBrush);
    const double width = std::max(2.0, u / 5.0);
    painter.setPen(QPen(chartColours::kLeast, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(line(frame, chart.rows, [](const FairnessRow& row) { return row.minP; }));
    painter.setPen(QPen(chartColours::kMost, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(line(frame, chart.rows, [](const FairnessRow& row) { return row.maxP; }));
    painter.restore();

    if (chart.nearlyFair) {
        const QColor green(40, 130, 40);
        drawMark(painter, frame, chart.nearlyFair->first, green,
                 QStringLiteral("%1 本からほぼ公平").arg(chart.nearlyFair->first),
                 plot.bottom() - u * 3.2, u);
        if (chart.nearlyFair->last < last) {
            drawMark(painter, frame, chart.nearlyFair->last, green,
                     QStringLiteral("%1 本まで").arg(chart.nearlyFair->last),
                     plot.bottom() - u * 1.6, u);
        }
    }
    if (chart.chosen && *chart.chosen >= first && *chart.chosen <= last) {
        drawMark(painter, frame, *chart.chosen, chartColours::kChosen,
                 QStringLiteral("いまの本数：%1 本").arg(*chart.chosen), plot.top() + u * 0.2, u);
    }
    drawRungAxis(painter, frame, first, last, u);
    painter.restore();
}

bool saveFairnessChart(const QString& path, const FairnessChart& chart) {
    return saveChart(path, QSize(1200, 600), QStringLiteral("横線の本数と公平さ"),
                     [&chart](QPainter& painter, const QRectF& area) {
                         paintFairnessChart(painter, area, chart);
                     });
}

}  // namespace tanabashigo
