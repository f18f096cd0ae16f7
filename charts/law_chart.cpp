#include "law_chart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "chance_text.h"
#include "chart_frame.h"
#include "number_text.h"

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

/// The bar of probability `p` from `left`, `width` wide.
Box bar(const ChartFrame& frame, double left, double width, double p) {
    const double top = frame.y(p);
    return {left, top, width, frame.plot().bottom() - top};
}

/// Labels over a bar, centred on `middle`, the last line's bottom at `bottom`; each line
/// shrinks where it would be wider than `width`.
void drawLabels(SvgDocument& svg, double middle, double bottom, double width,
                const std::vector<std::string>& lines, double size, Colour colour) {
    double baseline = bottom - size * 0.25;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const double wide = textWidth(*line, size);
        const double fitted = wide <= width ? size : std::max(6.0, size * width / wide);
        svg.text({middle, baseline}, *line, fitted, colour, Anchor::Middle);
        baseline -= size * 1.2;
    }
}

void drawColumnAxis(SvgDocument& svg, const ChartFrame& frame, int start, double textSize) {
    const Box& plot = frame.plot();
    const double width = plot.width / kLineCount;
    for (int column = 1; column <= kLineCount; ++column) {
        const double middle = plot.left + (column - 0.5) * width;
        const double y = baselineFor(plot.bottom() + textSize * 0.9, textSize);
        svg.text({middle, y}, std::to_string(column), textSize, chartColours::kText,
                 Anchor::Middle);
        if (column == start) {
            svg.text({middle, y + textSize * 1.3}, "スタート", textSize, chartColours::kFair,
                     Anchor::Middle);
        }
    }
    svg.text({plot.left + plot.width / 2.0, baselineFor(plot.bottom() + textSize * 3.5, textSize)},
             "着く列", textSize, chartColours::kText, Anchor::Middle);
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

ColumnLaw sharesOf(const ClassPrediction& prediction) {
    ColumnCounts hands{};
    for (int column = 1; column <= kLineCount; ++column) {
        hands[column] = static_cast<std::uint64_t>(prediction.hands[column]);
    }
    return sharesOf(hands);
}

Box lawChartPlot(const Box& area) {
    const double u = chartTextSize(area);
    const double top = (kTitleLines + kLegendLines + kLabelLines) * u;
    return {area.left + 4.6 * u, area.top + top, area.width - 5.6 * u,
            area.height - top - kAxisLines * u};
}

std::string lawChartSvg(const LawChart& chart, const Box& area) {
    SvgDocument svg(area.width, area.height, "着く列の確率");
    drawLawChart(svg, chart, area);
    return svg.finished();
}

void drawLawChart(SvgDocument& svg, const LawChart& chart, const Box& area) {
    const double u = chartTextSize(area);
    const std::string ladder = "横線 " + std::to_string(chart.rungs) + " 本・" +
                               std::to_string(chart.start) + " 本目からスタート：";
    const bool blank = !chart.showLaw && !chart.compared;
    drawChartBackground(
        svg, area,
        ladder + (blank ? "着いた列の相対度数（棒グラフをかきましょう）" : "着く列の確率"),
        kTitleLines * u);
    const std::optional<ColumnLaw> compared =
        chart.compared ? std::optional(sharesOf(*chart.compared)) : std::nullopt;
    const std::optional<ColumnLaw> predicted =
        chart.prediction.empty() ? std::nullopt : std::optional(sharesOf(chart.prediction));
    // Left for the class to find, the law still sets the axis, with room for their shares.
    const double top = chart.showLaw
                           ? std::max({largest(chart.law), compared ? largest(*compared) : 0.0,
                                       predicted ? largest(*predicted) : 0.0})
                           : std::max(0.2, std::min(1.0, largest(chart.law) * 1.3));
    const ChartFrame frame(lawChartPlot(area), 0.0, kLineCount, percentAxisTop(top));
    const Box& plot = frame.plot();
    std::vector<LegendEntry> legend;
    if (chart.showLaw) {
        legend.push_back({chartColours::kExact, "理論（正確な確率）"});
    }
    if (chart.compared) {
        std::uint64_t landings = 0;
        for (const std::uint64_t count : *chart.compared) {
            landings += count;
        }
        legend.push_back({chartColours::kCompared,
                          chart.comparedName + "：着地 " + groupedDigits(landings) + " 回"});
    }
    if (predicted) {
        legend.push_back(
            {chartColours::kPredicted,
             "クラスの予想：手 " + groupedDigits(std::uint64_t(chart.prediction.total())) + " 人"});
    }
    legend.push_back(fairLineEntry());
    drawLegend(svg, plot.left, area.top + (kTitleLines + kLegendLines / 2.0) * u,
               area.right() - plot.left, legend, u);
    drawPercentAxis(svg, frame, u);

    const double width = plot.width / kLineCount;
    const double labelSize = u * 0.85;
    for (int column = 1; column <= kLineCount; ++column) {
        const double p = chart.law[column];
        const double left = plot.left + (column - 1) * width;
        if (chart.showLaw && (compared || predicted)) {
            // Each bar carries its own share, right above it, in its own colour.
            std::vector<std::tuple<double, Colour, Colour>> bars{
                {p, chartColours::kExact, chartColours::kExactText}};
            if (compared) {
                bars.emplace_back((*compared)[column], chartColours::kCompared,
                                  chartColours::kComparedText);
            }
            if (predicted) {
                bars.emplace_back((*predicted)[column], chartColours::kPredicted,
                                  chartColours::kPredicted);
            }
            const double each = 0.92 / double(bars.size());
            for (std::size_t i = 0; i < bars.size(); ++i) {
                const auto [share, fill, text] = bars[i];
                const Box drawn = bar(frame, left + (0.06 + each * double(i)) * width,
                                      (each - 0.04) * width, share);
                svg.fillRect(drawn, fill);
                drawLabels(svg, drawn.left + drawn.width / 2.0, drawn.top,
                           drawn.width + 0.04 * width, {percentText(share)}, labelSize, text);
            }
        } else if (chart.showLaw) {
            const Box exact = bar(frame, left + 0.2 * width, 0.6 * width, p);
            svg.fillRect(exact, chartColours::kExact);
            drawLabels(svg, left + width / 2.0, exact.top, width * 0.92,
                       {percentText(p), onceInText(p)}, labelSize, chartColours::kText);
        }
    }
    drawFairLine(svg, frame, u);
    drawColumnAxis(svg, frame, chart.start, u);
}

}  // namespace tanabashigo
