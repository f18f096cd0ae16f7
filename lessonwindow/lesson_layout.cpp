#include "lesson_layout.h"

#include <algorithm>
#include <cmath>

#include "geometry.h"

namespace tanabashigo {

namespace {

/// A band of the surface between two fractions of its height.
QRectF band(QSizeF size, double top, double bottom) {
    return {0, size.height() * top, size.width(), size.height() * (bottom - top)};
}

constexpr int kMarkerRows = 10;

}  // namespace

LessonLayout::LessonLayout(QSizeF size)
    : header(band(size, 0.0, 0.08)),
      startMark(band(size, 0.08, 0.12)),
      ladder(band(size, 0.13, 0.50)),
      numbers(band(size, 0.51, 0.58)),
      counts(band(size, 0.585, 0.645)),
      stacks(band(size, 0.655, 0.995)),
      columnWidth_(size.width() / kLineCount) {
    lineWidth = std::max(3.0, std::round(size.height() / 200));
    markerSize = std::floor(std::min(stacks.height() / kMarkerRows * 0.88, columnWidth_ * 0.4));
    textPixels =
        std::max(1, static_cast<int>(std::min(numbers.height(), columnWidth_ * 0.9) * 0.8));
    const double buttonSide = std::min(ladder.height() * 0.2, columnWidth_ * 0.44);
    predictionCaption = ladder.adjusted(0, 0, 0, -ladder.height() * 0.72);
    handsButtons = QRectF(0, ladder.bottom() - buttonSide, size.width(), buttonSide);
    predictionBars = QRectF(0, predictionCaption.bottom(), size.width(),
                            handsButtons.top() - predictionCaption.bottom() - buttonSide * 0.15);
}

QPointF LessonLayout::point(double x, double y) const {
    return {columnWidth_ * (x - 1.5),
            ladder.top() + ladder.height() * (y - kTopY) / (kBottomY - kTopY)};
}

double LessonLayout::unitPx() const {
    return ladder.height() / (kBottomY - kTopY);
}

QRectF LessonLayout::marker(int column, int index) const {
    const int row = (index - 1) / 2;
    const bool right = (index - 1) % 2 == 1;
    const double gap = markerSize * 0.15;
    const double rowHeight = stacks.height() / kMarkerRows;
    const double x = right ? lineX(column) + gap / 2 : lineX(column) - gap / 2 - markerSize;
    return {x, stacks.bottom() - rowHeight * (row + 1), markerSize, markerSize};
}

QRectF LessonLayout::cell(const QRectF& band, int line) const {
    return {lineX(line) - columnWidth_ / 2, band.top(), columnWidth_, band.height()};
}

QRectF LessonLayout::handsButton(int column, bool more) const {
    const double side = handsButtons.height();
    const double gap = columnWidth_ * 0.04;
    return {more ? lineX(column) + gap / 2 : lineX(column) - gap / 2 - side, handsButtons.top(),
            side, side};
}

}  // namespace tanabashigo
