#include "law_chart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

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

/// The font of `pixels` pixels for `text`, or smaller where it would be wider than `width`.
QFont fittedFont(const QString& text, double pixels, double width) {
    const double wide = QFontMetricsF(chartFont(pixels)).horizontalAdvance(text);
    return chartFont(wide <= width ? pixels : std::max(6.0, std::floor(pixels * width / wide)));
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

QRectF lawChartPlot(const QRectF& area) {
    const double u = chartTextSize(area);
    const double top = (kTitleLines + kLegendLines + kLabelLines) * u;
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
    const ChartFrame frame(lawChartPlot(area), 0.0, kLineCount, percentAxisTop(top));
    const QRectF& plot = frame.plot();
    std::vector<LegendEntry> legend{{chartColours::kExact, QStringLiteral("理論（正確な確率）")}};
    if (compared) {
        legend.push_back({chartColours::kCompared, chart.comparedName});
    }
    legend.push_back(fairLineEntry());
    drawLegend(painter, plot.left(), area.top() + (kTitleLines + kLegendLines / 2.0) * u, legend,
               u);
    drawPercentAxis(painter, frame, u);

    const double width = plot.width() / kLineCount;
    const double labelLine = QFontMetricsF(chartFont(u * 0.85)).height();
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
        painter.setPen(chartColours::kText);
        const double labelTop = groupTop - 2.0 * labelLine - u * 0.2;
        const std::array<QString, 2> lines{percentText(p), onceInText(p)};
        for (std::size_t line = 0; line < lines.size(); ++line) {
            painter.setFont(fittedFont(lines[line], u * 0.85, width * 0.92));
            painter.drawText(QRectF(left, labelTop + line * labelLine, width, labelLine),
                             Qt::AlignCenter, lines[line]);
        }
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
