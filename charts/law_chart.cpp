#include "law_chart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "chance_text.h"
#include "chart_export.h"
#include "chart_frame.h"

namespace tanabashigo {

namespace {

constexpr double kTitleLines = 2.0;
constexpr double kLegendLines = 1.6;
constexpr double kLabelLines = 2.8;
constexpr double kAxisLines = 4.2;

/// The largest value of `law`.
double largest(const ColumnLaw& law) {
    return *std::max_element(law.begin(), law.end());
}

/// The font for the labels over the bars: the base size, or smaller where the longest label
/// would not fit its column.
QFont labelFont(const ColumnLaw& law, double textSize, double columnWidth) {
    QFont font = chartFont(textSize * 0.85);
    double widest = 0.0;
    const QFontMetricsF metrics(font);
    for (const double p : law) {
        widest = std::max({widest, metrics.horizontalAdvance(onceInText(p)),
                           metrics.horizontalAdvance(percentText(p))});
    }
    if (widest > columnWidth * 0.96) {
        font = chartFont(std::max(6.0, textSize * 0.85 * columnWidth * 0.96 / widest));
    }
    return font;
}

/// The bar of probability `p` from `left`, `width` wide.
QRectF bar(const ChartFrame& frame, double left, double width, double p) {
    const double top = frame.y(p);
    return QRectF(left, top, width, frame.plot().bottom() - top);
}

void drawColumnAxis(QPainter& painter, const ChartFrame& frame, int start, double textSize) {
    const QRectF& plot = frame.plot();
    const double width = plot.width() / kLineCount;
    painter.setFont(chartFont(textSize));
    for (int column = 1; column <= kLineCount; ++column) {
        const QRectF cell(plot.left() + (column - 1) * width, plot.bottom() + textSize * 0.2, width,
                          textSize * 1.4);
        painter.setPen(chartColours::kText);
        painter.drawText(cell, Qt::AlignCenter, QString::number(column));
        if (column == start) {
            painter.setPen(chartColours::kFair);
            painter.drawText(cell.translated(0.0, textSize * 1.3), Qt::AlignCenter,
                             QStringLiteral("スタート"));
        }
    }
    painter.setPen(chartColours::kText);
    painter.drawText(
        QRectF(plot.left(), plot.bottom() + textSize * 2.8, plot.width(), textSize * 1.4),
        Qt::AlignCenter, QStringLiteral("着く列"));
}

}  // namespace

ColumnLaw sharesOf(const ColumnCounts& counts) {
    std::uint64_t total = 0;
    for (const std::uint64_t count : counts) {
        total += count;
    }
    ColumnLaw shares{};
    auto share = shares.begin();
    for (const std::uint64_t count : counts) {
        *share++ = total == 0 ? 0.0 : static_cast<double>(count) / static_cast<double>(total);
    }
    return shares;
}

QRectF lawChartPlot(const QRectF& area, bool withComparison) {
    const double u = chartTextSize(area);
    const double top = (kTitleLines + (withComparison ? kLegendLines : 0.0) + kLabelLines) * u;
    return QRectF(area.left() + 4.6 * u, area.top() + top, area.width() - 5.6 * u,
                  area.height() - top - kAxisLines * u);
}

void paintLawChart(QPainter& painter, const QRectF& area, const LawChart& chart) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double u = chartTextSize(area);
    const bool compared = chart.compared.has_value();
    drawChartBackground(painter, area,
                        QStringLiteral("横線 %1 本・%2 本目からスタート：着く列の確率")
                            .arg(chart.rungs)
                            .arg(chart.start),
                        kTitleLines * u);
    const double top = std::max(largest(chart.law), compared ? largest(*chart.compared) : 0.0);
    const ChartFrame frame(lawChartPlot(area, compared), 0.0, kLineCount, percentAxisTop(top));
    const QRectF& plot = frame.plot();
    if (compared) {
        drawLegend(painter, plot.left(), area.top() + (kTitleLines + kLegendLines / 2.0) * u,
                   {{chartColours::kExact, QStringLiteral("理論（正確な確率）")},
                    {chartColours::kCompared, chart.comparedName}},
                   u);
    }
    drawPercentAxis(painter, frame, u);

    const double width = plot.width() / kLineCount;
    const QFont labels = labelFont(chart.law, u, width);
    const double labelLine = QFontMetricsF(labels).height();
    int column = 1;
    auto comparedShare = compared ? chart.compared->begin() : chart.law.begin();
    for (const double p : chart.law) {
        const double left = plot.left() + (column - 1) * width;
        double groupTop = frame.y(p);
        if (compared) {
            painter.fillRect(bar(frame, left + 0.08 * width, 0.40 * width, p),
                             chartColours::kExact);
            const QRectF other = bar(frame, left + 0.52 * width, 0.40 * width, *comparedShare);
            painter.fillRect(other, chartColours::kCompared);
            groupTop = std::min(groupTop, other.top());
            ++comparedShare;
        } else {
            painter.fillRect(bar(frame, left + 0.2 * width, 0.6 * width, p), chartColours::kExact);
        }
        painter.setFont(labels);
        painter.setPen(chartColours::kText);
        const QRectF label(left, groupTop - 2.0 * labelLine - u * 0.2, width, labelLine);
        painter.drawText(label, Qt::AlignCenter, percentText(p));
        painter.drawText(label.translated(0.0, labelLine), Qt::AlignCenter, onceInText(p));
        ++column;
    }
    drawFairLine(painter, frame, u);
    drawColumnAxis(painter, frame, chart.start, u);
    painter.restore();
}

bool saveLawChart(const QString& path, const LawChart& chart) {
    return saveChart(
        path, QSize(1200, 720), QStringLiteral("着く列の確率"),
        [&chart](QPainter& painter, const QRectF& area) { paintLawChart(painter, area, chart); });
}

}  // namespace tanabashigo
