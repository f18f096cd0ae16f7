#include "chart_frame.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "fonts.h"

namespace tanabashigo {

ChartFrame::ChartFrame(const QRectF& plot, double xMin, double xMax, double yMax)
    : plot_(plot), xMin_(xMin), xMax_(xMax > xMin ? xMax : xMin + 1.0), yMax_(yMax) {}

double ChartFrame::x(double value) const {
    return plot_.left() + (value - xMin_) / (xMax_ - xMin_) * plot_.width();
}

double ChartFrame::y(double value) const {
    return plot_.bottom() - value / yMax_ * plot_.height();
}

double percentAxisTop(double largest) {
    static constexpr std::array<double, 9> kTops{0.15, 0.2, 0.25, 0.3, 0.4, 0.5, 0.6, 0.8, 1.0};
    for (const double top : kTops) {
        if (largest * 1.04 <= top) {
            return top;
        }
    }
    return 1.0;
}

double chartTextSize(const QRectF& area) {
    return std::clamp(std::min(area.width() / 64.0, area.height() / 34.0), 9.0, 24.0);
}

QFont chartFont(double pixels, bool bold) {
    QFont font = msPGothic(10.0, bold);
    // The family found here, by name, so a saved SVG names a font that exists.
    font.setFamilies({QFontInfo(font).family()});
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    return font;
}

void drawChartBackground(QPainter& painter, const QRectF& area, const QString& title,
                         double height) {
    painter.fillRect(area, chartColours::kBackground);
    painter.setFont(chartFont(height * 0.62, true));
    painter.setPen(chartColours::kText);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), height), Qt::AlignCenter, title);
}

void drawPercentAxis(QPainter& painter, const ChartFrame& frame, double textSize) {
    const double top = frame.yMax();
    const double step = top <= 0.3 + 1e-9 ? 0.05 : top <= 0.6 + 1e-9 ? 0.1 : 0.2;
    const QRectF& plot = frame.plot();
    painter.setFont(chartFont(textSize));
    for (int i = 0; i * step <= top + 1e-9; ++i) {
        const double y = frame.y(i * step);
        painter.setPen(QPen(chartColours::kGrid, 1.0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(chartColours::kText);
        painter.drawText(
            QRectF(plot.left() - textSize * 4.0, y - textSize, textSize * 3.6, textSize * 2.0),
            Qt::AlignRight | Qt::AlignVCenter,
            QStringLiteral("%1%").arg(std::lround(i * step * 100.0)));
    }
    painter.setPen(QPen(chartColours::kText, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
}

namespace {

QPen fairPen(double textSize) {
    return QPen(chartColours::kFair, std::max(1.5, textSize / 7.0), Qt::DashLine);
}

}  // namespace

void drawFairLine(QPainter& painter, const ChartFrame& frame, double textSize) {
    const QRectF& plot = frame.plot();
    const double y = frame.y(0.1);
    painter.setPen(fairPen(textSize));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
}

LegendEntry fairLineEntry() {
    return {chartColours::kFair, QStringLiteral("公平（どの列も 10%）"), true};
}

void drawLegend(QPainter& painter, double left, double middleY,
                const std::vector<LegendEntry>& entries, double textSize) {
    const QFont font = chartFont(textSize * 0.95);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    double x = left;
    for (const LegendEntry& entry : entries) {
        if (entry.dashedLine) {
            painter.setPen(fairPen(textSize));
            painter.drawLine(QPointF(x, middleY), QPointF(x + textSize * 2.0, middleY));
            x += textSize * 2.4;
        } else {
            painter.fillRect(QRectF(x, middleY - textSize * 0.45, textSize * 0.9, textSize * 0.9),
                             entry.colour);
            x += textSize * 1.3;
        }
        painter.setPen(chartColours::kText);
        const double width = metrics.horizontalAdvance(entry.text);
        painter.drawText(QRectF(x, middleY - textSize, width + 2.0, textSize * 2.0),
                         Qt::AlignLeft | Qt::AlignVCenter, entry.text);
        x += width + textSize * 2.0;
    }
}

}  // namespace tanabashigo
