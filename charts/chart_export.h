#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QPainter;
class QRectF;

namespace tanabashigo {

/// Draws a chart into a rectangle of any painter.
using ChartPainter = std::function<void(QPainter&, const QRectF&)>;

/// The picture formats a chart is saved in.
enum class ChartFormat { Png, Svg };

/// The format a file name asks for by its ending (.png or .svg, any case), or nothing.
std::optional<ChartFormat> chartFormatOf(const QString& path);

/// The chart drawn on a white image of `size` pixels.
QImage chartImage(const QSize& size, const ChartPainter& paint);

/// Saves the chart, `size` pixels, in the format `path` ends in; false when it cannot be
/// written (the file is then left as it was).
bool saveChart(const QString& path, const QSize& size, const QString& title,
               const ChartPainter& paint);

}  // namespace tanabashigo
