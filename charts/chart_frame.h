#pragma once

#include <string>
#include <vector>

#include "svg_document.h"

namespace tanabashigo {

/// The colours every chart uses, so a picture reads the same on screen, on paper and in tests.
namespace chartColours {
inline constexpr Colour kBackground{255, 255, 255};
inline constexpr Colour kText{32, 32, 32};
inline constexpr Colour kGrid{218, 218, 218};
inline constexpr Colour kExact{52, 101, 164};          ///< the exact law
inline constexpr Colour kCompared{237, 140, 40};       ///< simulated shares or the class's shares
inline constexpr Colour kExactText{32, 72, 130};       ///< the labels of the exact bars
inline constexpr Colour kComparedText{168, 84, 0};     ///< the labels of the compared bars
inline constexpr Colour kPredicted{96, 96, 96};        ///< the class's prediction, by hands raised
inline constexpr Colour kFair{204, 0, 0};              ///< the fair line at 10 %
inline constexpr Colour kNearlyFair{214, 240, 206};    ///< the band of 10 % ± 1 point
inline constexpr Colour kNearlyFairMark{40, 130, 40};  ///< where the band begins and ends
inline constexpr Colour kMost{52, 101, 164};           ///< the most likely column, by rung count
inline constexpr Colour kLeast{117, 80, 123};          ///< the least likely column, by rung count
inline constexpr Colour kChosen{90, 90, 90};           ///< the chosen rung count
}  // namespace chartColours

/// The plotting rectangle of a chart and how values map into it: x from xMin to xMax left to
/// right, y (a probability) from 0 at the bottom to yMax at the top.
class ChartFrame {
public:
    ChartFrame(const Box& plot, double xMin, double xMax, double yMax);
    const Box& plot() const { return plot_; }
    double yMax() const { return yMax_; }
    /// The pixel x of `value`.
    double x(double value) const;
    /// The pixel y of the probability `value`.
    double y(double value) const;

private:
    Box plot_;
    double xMin_;
    double xMax_;
    double yMax_;
};

/// The top of a percentage axis that shows `largest` (a probability) and the fair line with
/// room to spare: 15 %, 20 %, 25 %, 30 %, 40 %, 50 %, 60 %, 80 % or 100 %.
double percentAxisTop(double largest);

/// The base text size, in pixels, for a chart filling `area`.
double chartTextSize(const Box& area);

/// The baseline of a line of text `size` tall centred on `middle`.
double baselineFor(double middle, double size);

/// Fills `area` with the background and draws `title` across its top, `height` pixels tall.
void drawChartBackground(SvgDocument& svg, const Box& area, const std::string& title,
                         double height);

/// Grid lines with percentage labels on the left, and the frame of the plot.
void drawPercentAxis(SvgDocument& svg, const ChartFrame& frame, double textSize);

/// The dashed fair line at 10 % across the plot.
void drawFairLine(SvgDocument& svg, const ChartFrame& frame, double textSize);

/// One entry of a legend: a swatch (or a dashed line) and what it stands for.
struct LegendEntry {
    Colour colour;
    std::string text;
    bool dashedLine = false;
};

/// The legend entry of the fair line.
LegendEntry fairLineEntry();

/// The entries in a row from `left`, centred on `middleY`, smaller where they would be wider
/// than `width`.
void drawLegend(SvgDocument& svg, double left, double middleY, double width,
                const std::vector<LegendEntry>& entries, double textSize);

}  // namespace tanabashigo
