#include "fairness_chart.h"

#include <algorithm>

#include "chart_frame.h"
#include "geometry.h"

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

/// The points of the rows' values picked by `value`.
template <class Value>
std::vector<Point> points(const ChartFrame& frame, const std::vector<FairnessRow>& rows,
                          Value value) {
    std::vector<Point> line;
    for (const FairnessRow& row : rows) {
        line.push_back({frame.x(row.rungs), frame.y(value(row))});
    }
    return line;
}

void drawRungAxis(SvgDocument& svg, const ChartFrame& frame, int first, int last, double textSize) {
    const Box& plot = frame.plot();
    const int step = tickStep(last - first);
    for (int rungs = (first + step - 1) / step * step; rungs <= last; rungs += step) {
        const double x = frame.x(rungs);
        svg.line({x, plot.bottom()}, {x, plot.bottom() + textSize * 0.3}, chartColours::kText, 1.0);
        svg.text({x, baselineFor(plot.bottom() + textSize, textSize)}, std::to_string(rungs),
                 textSize, chartColours::kText, Anchor::Middle);
    }
    svg.text({plot.left + plot.width / 2.0, baselineFor(plot.bottom() + textSize * 2.4, textSize)},
             "横線の本数", textSize, chartColours::kText, Anchor::Middle);
}

/// A dashed vertical line at `rungs` with `text` beside it, its middle at `labelMiddle`.
void drawMark(SvgDocument& svg, const ChartFrame& frame, int rungs, Colour colour,
              const std::string& text, double labelMiddle, double textSize) {
    const Box& plot = frame.plot();
    const double x = frame.x(rungs);
    svg.line({x, plot.top}, {x, plot.bottom()}, colour, std::max(1.5, textSize / 8.0), true);
    const double size = textSize * 0.9;
    const bool rightSide = x + textWidth(text, size) + textSize * 0.6 < plot.right();
    svg.text({rightSide ? x + textSize * 0.3 : x - textSize * 0.3, baselineFor(labelMiddle, size)},
             text, size, colour, rightSide ? Anchor::Start : Anchor::End, true);
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

Box fairnessChartPlot(const Box& area) {
    const double u = chartTextSize(area);
    const double top = (kTitleLines + kLegendLines) * u;
    return {area.left + 4.6 * u, area.top + top, area.width - 5.8 * u,
            area.height - top - kAxisLines * u};
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

std::string fairnessChartSvg(const FairnessChart& chart, const Box& area) {
    SvgDocument svg(area.width, area.height, "横線の本数と公平さ");
    const double u = chartTextSize(area);
    drawChartBackground(svg, area,
                        std::to_string(chart.start) + " 本目からスタート：横線の本数と公平さ",
                        kTitleLines * u);
    if (chart.rows.empty()) {
        return svg.finished();
    }
    const int first = chart.rows.front().rungs;
    const int last = chart.rows.back().rungs;
    const ChartFrame frame(fairnessChartPlot(area), first, last, fairnessChartTop(chart));
    const Box& plot = frame.plot();
    drawLegend(svg, plot.left, area.top + (kTitleLines + kLegendLines / 2.0) * u,
               area.right() - plot.left,
               {{chartColours::kMost, "いちばん着きやすい列"},
                {chartColours::kLeast, "いちばん着きにくい列"},
                {chartColours::kNearlyFair, "ほぼ公平（10% ± 1 ポイント）"},
                fairLineEntry()},
               u);
    svg.fillRect({plot.left, frame.y(0.1 + kNearlyFairGap), plot.width,
                  frame.y(0.1 - kNearlyFairGap) - frame.y(0.1 + kNearlyFairGap)},
                 chartColours::kNearlyFair);
    drawPercentAxis(svg, frame, u);
    drawFairLine(svg, frame, u);

    const double width = std::max(2.0, u / 5.0);
    const auto least = [](const FairnessRow& row) { return row.minP; };
    const auto most = [](const FairnessRow& row) { return row.maxP; };
    const Box clip{plot.left, plot.top - 1.0, plot.width, plot.height + 2.0};
    for (const auto& part : clippedLine(points(frame, chart.rows, least), clip)) {
        svg.polyline(part, chartColours::kLeast, width);
    }
    for (const auto& part : clippedLine(points(frame, chart.rows, most), clip)) {
        svg.polyline(part, chartColours::kMost, width);
    }
    for (const FairnessRow& row : chart.rows) {
        if (std::find(chart.marked.begin(), chart.marked.end(), row.rungs) == chart.marked.end()) {
            continue;
        }
        for (const auto& [value, colour] : {std::pair{row.minP, chartColours::kLeast},
                                            std::pair{row.maxP, chartColours::kMost}}) {
            const Point dot{frame.x(row.rungs), frame.y(value)};
            if (dot.y >= plot.top) {
                svg.circle(dot, width * 2.2, colour);
            }
        }
    }

    if (chart.nearlyFair) {
        drawMark(svg, frame, chart.nearlyFair->first, chartColours::kNearlyFairMark,
                 std::to_string(chart.nearlyFair->first) + " 本からほぼ公平",
                 plot.bottom() - u * 2.5, u);
        if (chart.nearlyFair->last < last) {
            drawMark(svg, frame, chart.nearlyFair->last, chartColours::kNearlyFairMark,
                     std::to_string(chart.nearlyFair->last) + " 本まで", plot.bottom() - u * 0.9,
                     u);
        }
    }
    if (chart.chosen && *chart.chosen >= first && *chart.chosen <= last) {
        drawMark(svg, frame, *chart.chosen, chartColours::kChosen,
                 "いまの本数：" + std::to_string(*chart.chosen) + " 本", plot.top + u * 0.9, u);
    }
    drawRungAxis(svg, frame, first, last, u);
    return svg.finished();
}

}  // namespace tanabashigo
