#pragma once

#include <QRectF>
#include <QSizeF>

namespace tanabashigo {

/// Where everything on the lesson surface goes at one surface size. Bands from the top: the
/// trial counter and rung label, the start mark, the ladder, the column numbers, the counts,
/// and the stacks of markers, two markers to a row, ten rows to a column.
class LessonLayout {
public:
    explicit LessonLayout(QSizeF size);

    /// The pixel position of a point in ladder units (lines at x = 2..11, y = 10..61).
    QPointF point(double x, double y) const;
    /// Pixels to one ladder unit, down the ladder.
    double unitPx() const;
    /// The x of ladder line `line` (1..10).
    double lineX(int line) const { return point(line + 1, 0).x(); }
    /// Marker `index` (1..20, 1 the lowest) of column `column`.
    QRectF marker(int column, int index) const;
    /// The box of a text centred under or over line `line` in `band`.
    QRectF cell(const QRectF& band, int line) const;
    /// The − (or, when `more`, the ＋) button under column `column`'s prediction bar.
    QRectF handsButton(int column, bool more) const;

    QRectF header;     ///< trial counter, pause note, rung label
    QRectF startMark;  ///< the mark over the start line
    QRectF ladder;     ///< the lines run from its top to its bottom
    QRectF numbers;    ///< column numbers 1..10
    QRectF counts;     ///< the count over each stack
    QRectF stacks;     ///< the markers
    // The class's prediction, shown in the ladder's place before the first trial and at the end.
    QRectF predictionCaption;  ///< what it asks, or the end banner and what the bars are
    QRectF predictionBars;     ///< a bar of the hands raised over each column
    QRectF handsButtons;       ///< the − and ＋ of each column, while the prediction is open
    double lineWidth = 1;      ///< ladder lines and rungs
    double markerSize = 1;     ///< a marker's side
    int textPixels = 1;        ///< pixel size of the numbers' font

private:
    double columnWidth_ = 1;
};

}  // namespace tanabashigo
