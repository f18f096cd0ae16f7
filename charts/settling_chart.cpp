#include "settling_chart.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "chance_text.h"
#include "chart_frame.h"
#include "number_text.h"

namespace tanabashigo {

namespace {

constexpr double kTitleLines = 2.0;
constexpr double kLegendLines = 1.6;
constexpr double kAxisLines = 3.0;
constexpr std::size_t kMostPoints = 800;  ///< points of a line, however many landings

/// The columns the chart draws.
std::vector<int> drawnColumns(const SettlingChart& chart) {
    if (chart.column >= 1 && chart.column <= kLineCount) {
        return {chart.column};
    }
    std::vector<int> columns(kLineCount);
    for (int column = 1; column <= kLineCount; ++column) {
        columns[static_cast<std::size_t>(column - 1)] = column;
    }
    return columns;
}

/// A step of 1, 2 or 5 times a power of ten that cuts `span` into at most `most` parts.
double tickStep(double span, int most) {
    double step = 1.0;
    for (int k = 0; span / step > most; ++k) {
        step *= k % 3 == 1 ? 2.5 : 2.0;
    }
    return step;
}

void drawTrialAxis(SvgDocument& svg, const ChartFrame& frame, double trials, double u) {
    const Box& plot = frame.plot();
    const double step = tickStep(trials, 8);
    for (double n = 0.0; n <= trials + 0.5; n += step) {
        const double x = frame.x(n);
        svg.line({x, plot.bottom()}, {x, plot.bottom() + 0.4 * u}, chartColours::kText, 1.0);
        svg.text({x, baselineFor(plot.bottom() + 1.0 * u, u * 0.9)},
                 groupedDigits(static_cast<std::uint64_t>(n)), u * 0.9, chartColours::kText,
                 Anchor::Middle);
    }
    svg.text({plot.left + plot.width / 2.0, baselineFor(plot.bottom() + 2.3 * u, u)},
             "何回目まで（回数）", u, chartColours::kText, Anchor::Middle);
}

}  // namespace

Box settlingChartPlot(const Box& area) {
    const double u = chartTextSize(area);
    const double top = (kTitleLines + kLegendLines + 0.8) * u;
    return {area.left + 4.6 * u, area.top + top, area.width - 10.0 * u,
            area.height - top - kAxisLines * u};
}

Colour columnColour(int column) {
    static constexpr std::array<Colour, kLineCount> kColours{{{78, 121, 167},
                                                              {242, 142, 43},
                                                              {225, 87, 89},
                                                              {60, 150, 145},
                                                              {89, 161, 79},
                                                              {190, 160, 20},
                                                              {176, 122, 161},
                                                              {230, 110, 150},
                                                              {156, 117, 95},
                                                              {60, 60, 60}}};
    return kColours[static_cast<std::size_t>(std::clamp(column, 1, kLineCount) - 1)];
}

std::vector<double> runningShare(const std::vector<std::uint8_t>& landings, int column) {
    std::vector<double> shares;
    shares.reserve(landings.size());
    std::uint64_t hits = 0;
    for (std::size_t n = 0; n < landings.size(); ++n) {
        hits += landings[n] == column ? 1 : 0;
        shares.push_back(static_cast<double>(hits) / static_cast<double>(n + 1));
    }
    return shares;
}

double largestGap(const SettlingChart& chart, std::size_t n) {
    double gap = 0.0;
    for (const int column : drawnColumns(chart)) {
        const auto hits = std::count(chart.landings.begin(),
                                     chart.landings.begin() + static_cast<std::ptrdiff_t>(n),
                                     static_cast<std::uint8_t>(column));
        gap = std::max(
            gap, std::abs(static_cast<double>(hits) / static_cast<double>(n) - chart.law[column]));
    }
    return gap;
}

std::string settlingChartSvg(const SettlingChart& chart, const Box& area) {
    SvgDocument svg(area.width, area.height, "回数と割合（大数の法則）");
    const double u = chartTextSize(area);
    drawChartBackground(svg, area,
                        "横線 " + std::to_string(chart.rungs) + " 本・" +
                            std::to_string(chart.start) + " 本目から：回数がふえると割合は…",
                        kTitleLines * u);
    const std::vector<int> columns = drawnColumns(chart);
    const std::size_t trials = chart.landings.size();
    // The first few shares swing widely: the axis is scaled to those after a tenth of the
    // landings (at least ten), the earlier ones cut at the top.
    double top = 0.1;
    std::vector<std::vector<double>> shares;
    for (const int column : columns) {
        top = std::max(top, chart.law[column]);
        shares.push_back(runningShare(chart.landings, column));
        for (std::size_t n = std::max<std::size_t>(10, trials / 10); n < trials; ++n) {
            top = std::max(top, shares.back()[n]);
        }
    }
    const double span = static_cast<double>(std::max<std::size_t>(trials, 10));
    const ChartFrame frame(settlingChartPlot(area), 0.0, span, percentAxisTop(top));
    const Box& plot = frame.plot();
    drawLegend(svg, plot.left, area.top + (kTitleLines + kLegendLines / 2.0) * u,
               area.right() - plot.left,
               {{chartColours::kText,
                 "実線：" + chart.name + "の割合（" + groupedDigits(trials) + " 回）"},
                {chartColours::kText, "点線：理論（正確な確率）", true}},
               u);
    drawPercentAxis(svg, frame, u);
    drawTrialAxis(svg, frame, span, u);
    const std::size_t step = std::max<std::size_t>(1, (trials + kMostPoints - 1) / kMostPoints);
    std::vector<std::pair<double, int>> labels;  // the exact chance's height, by column
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const int column = columns[k];
        const Colour colour = columnColour(column);
        const double exactY = frame.y(chart.law[column]);
        svg.line({plot.left, exactY}, {plot.right(), exactY}, colour, std::max(1.5, u / 9.0), true);
        std::vector<Point> points;
        for (std::size_t n = 0; n < trials; n += step) {
            points.push_back({frame.x(static_cast<double>(n + 1)), frame.y(shares[k][n])});
        }
        if (trials > 0 && (trials - 1) % step != 0) {
            points.push_back({frame.x(static_cast<double>(trials)), frame.y(shares[k].back())});
        }
        for (const std::vector<Point>& part : clippedLine(points, plot)) {
            svg.polyline(part, colour, std::max(2.0, u / 6.0));
        }
        labels.emplace_back(exactY, column);
    }
    // Each column's name and exact chance at the right, pushed apart where they would overlap.
    std::sort(labels.begin(), labels.end());
    double lastY = -1e9;
    for (const auto& [y, column] : labels) {
        const double at = std::max(y, lastY + u * 0.95);
        lastY = at;
        svg.text({plot.right() + 0.4 * u, baselineFor(at, u * 0.85)},
                 std::to_string(column) + " 列 " + percentText(chart.law[column]), u * 0.85,
                 columnColour(column), Anchor::Start, true);
    }
    return svg.finished();
}

}  // namespace tanabashigo
