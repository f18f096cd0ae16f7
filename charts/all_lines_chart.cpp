#include "all_lines_chart.h"

#include <algorithm>
#include <array>

#include "chance_text.h"
#include "chart_frame.h"
#include "number_text.h"

namespace tanabashigo {

namespace {

constexpr double kTitleLines = 2.0;
constexpr double kLegendLines = 1.6;
constexpr double kHeaderLines = 2.6;
constexpr double kTotalLines = 1.6;
constexpr double kScaleLines = 2.4;
constexpr double kRowLabelWidth = 5.0;
constexpr double kRowTotalWidth = 4.0;
constexpr double kDeepestAt = 0.3;  ///< the chance whose cells take the full colour
constexpr double kSmallestText = 8.0;

/// `text` centred at `middle`, shrunk to `width`; left out when it would be too small.
void fittedText(SvgDocument& svg, Point middle, const std::string& text, double size, double width,
                Colour colour, bool bold = false) {
    const double fitted = std::min(size, size * width / textWidth(text, size));
    if (fitted >= kSmallestText) {
        svg.text({middle.x, baselineFor(middle.y, fitted)}, text, fitted, colour, Anchor::Middle,
                 bold);
    }
}

/// The text colour that reads on a cell of `shade`.
Colour textOn(Colour shade) {
    return shade.red + shade.green + shade.blue < 3 * 150 ? chartColours::kBackground
                                                          : chartColours::kText;
}

void drawHeaders(SvgDocument& svg, const Box& grid, double u, bool withTotals) {
    const double cellWidth = grid.width / kLineCount;
    const double cellHeight = grid.height / kLineCount;
    const double numbersY = grid.top - 0.7 * u;
    svg.text({grid.left + grid.width / 2.0, baselineFor(numbersY - 1.3 * u, u)}, "着く列", u,
             chartColours::kText, Anchor::Middle);
    svg.text({grid.left - 0.5 * u, baselineFor(numbersY, u)}, "スタート", u, chartColours::kText,
             Anchor::End);
    for (int n = 1; n <= kLineCount; ++n) {
        svg.text({grid.left + (n - 0.5) * cellWidth, baselineFor(numbersY, u * 1.1)},
                 std::to_string(n), u * 1.1, chartColours::kText, Anchor::Middle, true);
        svg.text({grid.left - 0.5 * u, baselineFor(grid.top + (n - 0.5) * cellHeight, u * 1.1)},
                 std::to_string(n) + " 本目", u * 1.1, chartColours::kText, Anchor::End, true);
    }
    if (withTotals) {
        svg.text({grid.right() + kRowTotalWidth * u / 2.0, baselineFor(numbersY, u)}, "回数", u,
                 chartColours::kComparedText, Anchor::Middle);
    }
}

void drawCell(SvgDocument& svg, const Box& cell, double p, const std::uint64_t* landings,
              double u) {
    const Colour shade = chanceShade(p);
    svg.fillRect({cell.left + 1.0, cell.top + 1.0, cell.width - 2.0, cell.height - 2.0}, shade);
    const double middleX = cell.left + cell.width / 2.0;
    const double inner = cell.width * 0.9;
    if (landings == nullptr) {
        fittedText(svg, {middleX, cell.top + cell.height / 2.0}, percentText(p),
                   std::min(1.3 * u, cell.height * 0.45), inner, textOn(shade), true);
        return;
    }
    fittedText(svg, {middleX, cell.top + cell.height * 0.33}, percentText(p),
               std::min(1.15 * u, cell.height * 0.36), inner, textOn(shade), true);
    if (*landings > 0) {
        // The class's landings on a white tab, in their own colour, so they read on any shade.
        const double size = std::min(0.95 * u, cell.height * 0.3);
        const std::string text = groupedDigits(*landings) + " 回";
        const double tab = std::min(inner, textWidth(text, size) + 0.6 * size);
        svg.fillRect({middleX - tab / 2.0, cell.top + cell.height * 0.56, tab, size * 1.25},
                     chartColours::kBackground);
        fittedText(svg, {middleX, cell.top + cell.height * 0.56 + size * 0.62}, text, size, tab,
                   chartColours::kComparedText, true);
    }
}

/// The chances 0 %..30 % as swatches in a row under the grid, each with its figure.
void drawScale(SvgDocument& svg, const Box& area, const Box& grid, double u) {
    static constexpr std::array<std::pair<double, const char*>, 4> kSteps{
        {{0.0, "0%"}, {0.1, "10%（公平）"}, {0.2, "20%"}, {0.3, "30% 以上"}}};
    const double y = area.bottom() - kScaleLines * u / 2.0;
    svg.text({grid.left - 0.5 * u, baselineFor(y, u)}, "色の濃さ：", u, chartColours::kText,
             Anchor::End);
    double x = grid.left;
    for (const auto& [p, label] : kSteps) {
        svg.fillRect({x, y - 0.6 * u, 1.2 * u, 1.2 * u}, chanceShade(p));
        svg.line({x, y - 0.6 * u}, {x + 1.2 * u, y - 0.6 * u}, chartColours::kGrid, 1.0);
        svg.line({x, y + 0.6 * u}, {x + 1.2 * u, y + 0.6 * u}, chartColours::kGrid, 1.0);
        x += 1.6 * u;
        svg.text({x, baselineFor(y, u * 0.9)}, label, u * 0.9, chartColours::kText);
        x += textWidth(label, u * 0.9) + 1.4 * u;
    }
}

}  // namespace

Box allLinesGrid(const Box& area) {
    const double u = chartTextSize(area);
    const double top = (kTitleLines + kLegendLines + kHeaderLines) * u;
    return {area.left + kRowLabelWidth * u, area.top + top,
            area.width - (kRowLabelWidth + kRowTotalWidth) * u,
            area.height - top - (kTotalLines + kScaleLines) * u};
}

Colour chanceShade(double p) {
    const double t = std::clamp(p / kDeepestAt, 0.0, 1.0);
    const auto mix = [t](std::uint8_t deep) {
        return static_cast<std::uint8_t>(255.0 + (deep - 255.0) * t + 0.5);
    };
    const Colour deep = chartColours::kExact;
    return {mix(deep.red), mix(deep.green), mix(deep.blue)};
}

std::string allLinesChartSvg(const AllLinesChart& chart, const Box& area) {
    SvgDocument svg(area.width, area.height, "どの線からスタートしても");
    const double u = chartTextSize(area);
    drawChartBackground(
        svg, area,
        "横線 " + std::to_string(chart.rungs) + " 本・どの線からスタートしても：着く列の確率",
        kTitleLines * u);
    const Box grid = allLinesGrid(area);
    std::vector<LegendEntry> legend{{chanceShade(0.25), "理論（正確な確率）：濃いほど着きやすい"}};
    if (chart.landings) {
        std::uint64_t total = 0;
        for (const ColumnCounts& row : *chart.landings) {
            total += landingsOf(row);
        }
        legend.push_back({chartColours::kCompared,
                          chart.landingsName + "：着地 " + groupedDigits(total) + " 回"});
    }
    drawLegend(svg, grid.left, area.top + (kTitleLines + kLegendLines / 2.0) * u,
               area.right() - grid.left, legend, u);
    drawHeaders(svg, grid, u, chart.landings.has_value());

    const double cellWidth = grid.width / kLineCount;
    const double cellHeight = grid.height / kLineCount;
    PerColumn<double> columnTotals{};
    for (int start = 1; start <= kLineCount; ++start) {
        const double top = grid.top + (start - 1) * cellHeight;
        for (int column = 1; column <= kLineCount; ++column) {
            const double p = chart.laws[start][column];
            columnTotals[column] += p;
            drawCell(svg, {grid.left + (column - 1) * cellWidth, top, cellWidth, cellHeight}, p,
                     chart.landings ? &(*chart.landings)[start][column] : nullptr, u);
        }
        if (chart.landings && landingsOf((*chart.landings)[start]) > 0) {
            fittedText(svg, {grid.right() + kRowTotalWidth * u / 2.0, top + cellHeight / 2.0},
                       groupedDigits(landingsOf((*chart.landings)[start])), u,
                       (kRowTotalWidth - 0.6) * u, chartColours::kComparedText, true);
        }
    }
    // Every column's chances add up to 100 %, as every row's do: one line lands in each.
    const double totalY = grid.bottom() + kTotalLines * u / 2.0;
    svg.text({grid.left - 0.5 * u, baselineFor(totalY, u * 0.9)}, "たての合計", u * 0.9,
             chartColours::kText, Anchor::End);
    for (int column = 1; column <= kLineCount; ++column) {
        fittedText(svg, {grid.left + (column - 0.5) * cellWidth, totalY},
                   fixedText(columnTotals[column] * 100.0, 0) + "%", u * 0.9, cellWidth * 0.9,
                   chartColours::kText);
    }
    drawScale(svg, area, grid, u);
    return svg.finished();
}

std::vector<FairnessRow> everyLineFairness(const std::vector<LawsByStart>& laws) {
    std::vector<FairnessRow> rows;
    for (std::size_t rungs = 0; rungs < laws.size(); ++rungs) {
        FairnessRow row{static_cast<int>(rungs), 0.0, 0, 0.0, 0, 1.0};
        for (int start = 1; start <= kLineCount; ++start) {
            const FairnessRow line = fairnessRow(row.rungs, laws[rungs][start]);
            row.tvDistance = std::max(row.tvDistance, line.tvDistance);
            if (line.maxP > row.maxP) {
                row.maxP = line.maxP;
                row.maxColumn = line.maxColumn;
            }
            if (line.minP < row.minP) {
                row.minP = line.minP;
                row.minColumn = line.minColumn;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

LandingsByStart landingsByStart(const std::vector<Comparison>& ladders, int rungs) {
    LandingsByStart landings{};
    for (const Comparison& ladder : ladders) {
        if (ladder.rungs == rungs) {
            for (int column = 1; column <= kLineCount; ++column) {
                landings[ladder.start][column] += ladder.counts[column];
            }
        }
    }
    return landings;
}

}  // namespace tanabashigo
