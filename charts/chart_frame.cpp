#include "chart_frame.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tanabashigo {

ChartFrame::ChartFrame(const Box& plot, double xMin, double xMax, double yMax)
    : plot_(plot), xMin_(xMin), xMax_(xMax > xMin ? xMax : xMin + 1.0), yMax_(yMax) {}

double ChartFrame::x(double value) const {
    return plot_.left + (value - xMin_) / (xMax_ - xMin_) * plot_.width;
}

double ChartFrame::y(double value) const {
    return plot_.bottom() - value / yMax_ * plot_.height;
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

double chartTextSize(const Box& area) {
    return std::clamp(std::min(area.width / 64.0, area.height / 34.0), 9.0, 24.0);
}

double baselineFor(double middle, double size) {
    return middle + size * 0.36;
}

void drawChartBackground(SvgDocument& svg, const Box& area, const std::string& title,
                         double height) {
    svg.fillRect(area, chartColours::kBackground);
    const double size = height * 0.62;
    svg.text({area.left + area.width / 2.0, baselineFor(area.top + height / 2.0, size)}, title,
             size, chartColours::kText, Anchor::Middle, true);
}

void drawPercentAxis(SvgDocument& svg, const ChartFrame& frame, double textSize) {
    const double top = frame.yMax();
    const double step = top <= 0.3 + 1e-9 ? 0.05 : top <= 0.6 + 1e-9 ? 0.1 : 0.2;
    const Box& plot = frame.plot();
    for (int i = 0; i * step <= top + 1e-9; ++i) {
        const double y = frame.y(i * step);
        svg.line({plot.left, y}, {plot.right(), y}, chartColours::kGrid, 1.0);
        svg.text({plot.left - textSize * 0.4, baselineFor(y, textSize)},
                 std::to_string(std::lround(i * step * 100.0)) + "%", textSize, chartColours::kText,
                 Anchor::End);
    }
    svg.line({plot.left, plot.bottom()}, {plot.right(), plot.bottom()}, chartColours::kText, 1.0);
    svg.line({plot.left, plot.bottom()}, {plot.left, plot.top}, chartColours::kText, 1.0);
}

namespace {

double fairLineWidth(double textSize) {
    return std::max(1.5, textSize / 7.0);
}

}  // namespace

void drawFairLine(SvgDocument& svg, const ChartFrame& frame, double textSize) {
    const Box& plot = frame.plot();
    const double y = frame.y(0.1);
    svg.line({plot.left, y}, {plot.right(), y}, chartColours::kFair, fairLineWidth(textSize), true);
}

LegendEntry fairLineEntry() {
    return {chartColours::kFair, "公平（どの列も 10%）", true};
}

void drawLegend(SvgDocument& svg, double left, double middleY, double width,
                const std::vector<LegendEntry>& entries, double textSize) {
    // One row: where the entries would be wider than `width`, they all shrink alike.
    const auto rowWidth = [&entries](double size) {
        double total = 0.0;
        for (const LegendEntry& entry : entries) {
            total += (entry.dashedLine ? 2.4 : 1.3) * size + textWidth(entry.text, size * 0.95) +
                     2.0 * size;
        }
        return total - 2.0 * size;
    };
    const double size = std::min(textSize, textSize * width / rowWidth(textSize));
    double x = left;
    for (const LegendEntry& entry : entries) {
        if (entry.dashedLine) {
            svg.line({x, middleY}, {x + size * 2.0, middleY}, entry.colour, fairLineWidth(size),
                     true);
            x += size * 2.4;
        } else {
            svg.fillRect({x, middleY - size * 0.45, size * 0.9, size * 0.9}, entry.colour);
            x += size * 1.3;
        }
        svg.text({x, baselineFor(middleY, size * 0.95)}, entry.text, size * 0.95,
                 chartColours::kText);
        x += textWidth(entry.text, size * 0.95) + size * 2.0;
    }
}

}  // namespace tanabashigo
