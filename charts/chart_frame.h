#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace tanabashigo {

/// The colours every chart uses, so a picture reads the same on screen, on paper and in tests.
namespace chartColours {
inline const QColor kBackground{255, 255, 255};
inline const QColor kText{32, 32, 32};
inline const QColor kGrid{218, 218, 218};
inline const QColor kExact{52, 101, 164};        ///< the exact law
inline const QColor kCompared{237, 140, 40};     ///< simulated shares or the class's shares
inline const QColor kFair{204, 0, 0};            ///< the fair line at 10 %
inline const QColor kNearlyFair{214, 240, 206};  ///< the band of 10 % ± 1 point
inline const QColor kMost{52, 101, 164};         ///< the most likely column, by rung count
inline const QColor kLeast{117, 80, 123};        ///< the least likely column, by rung count
inline const QColor kChosen{90, 90, 90};         ///< the chosen rung count
}  // namespace chartColours

/// The plotting rectangle of a chart and how values map into it: x from xMin to xMax left to
/// right, y (a probability) from 0 at the bottom to yMax at the top.
class ChartFrame {
public:
    ChartFrame(const QRectF& plot, double xMin, double xMax, double yMax);
    const QRectF& plot() const { return plot_; }
    double yMax() const { return yMax_; }
    /// The pixel x of `value`.
    double x(double value) const;
    /// The pixel y of the probability `value`.
    double y(double value) const;

private:
    QRectF plot_;
    double xMin_;
    double xMax_;
    double yMax_;
};

/// The top of a percentage axis that shows `largest` (a probability) and the fair line with
/// room to spare: 15 %, 20 %, 25 %, 30 %, 40 %, 50 %, 60 %, 80 % or 100 %.
double percentAxisTop(double largest);

/// The base text size, in pixels, for a chart filling `area`.
double chartTextSize(const QRectF& area);

/// The chart font at `pixels` pixels.
QFont chartFont(double pixels, bool bold = false);

/// Fills `area` with the background and draws `title` across its top, `height` pixels tall.
void drawChartBackground(QPainter& painter, const QRectF& area, const QString& title,
                         double height);

/// Grid lines with percentage labels on the left, and the frame of the plot.
void drawPercentAxis(QPainter& painter, const ChartFrame& frame, double textSize);

/// The dashed fair line at 10 % across the plot.
void drawFairLine(QPainter& painter, const ChartFrame& frame, double textSize);

/// One entry of a legend: a swatch (or a dashed line) and what it stands for.
struct LegendEntry {
    QColor colour;
    QString text;
    bool dashedLine = false;
};

/// The legend entry of the fair line.
LegendEntry fairLineEntry();

/// The entries in a row from `left`, centred on `middleY`.
void drawLegend(QPainter& painter, double left, double middleY,
                const std::vector<LegendEntry>& entries, double textSize);

}  // namespace tanabashigo
