#pragma once

#include <QImage>
#include <QStringList>
#include "focus_frame.h"

namespace tanabashigo {

/// A picture box: a client area inside a sunken 2-pixel edge that keeps everything drawn
/// or printed on it in a backing image and repaints from there, so nothing is lost when
/// another window covers it.
///
/// Lines are drawn in user units (setUserScale); text is printed line by line from a print
/// position that clear() puts back at the top-left corner. A dotted rectangle shows the focus.
class PictureBox : public FocusFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    /// Fixes the box at a rectangle in its parent (logical pixels, edge included).
    void place(const QRect& outer);
    /// The colour clear() fills the client area with.
    void setBackground(const QColor& colour);
    /// User units: origin (left, top); one unit spans the given twips across and down.
    void setUserScale(double left, double top, double unitWidthTwips, double unitHeightTwips);

    /// Erases everything drawn and printed; the print position goes to the top-left corner.
    void clear();
    /// A solid line of the layout's line width between two points in user units.
    void drawLine(double x1, double y1, double x2, double y2, const QColor& colour);
    /// Prints one line of text at the print position, then moves to the next text line.
    void printLine(const QString& text);

    /// What the client area shows now, in logical pixels.
    QImage image() const;
    /// The lines printed since the last clear, in order.
    const QStringList& printedLines() const { return printed_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    /// A point in user units as a pixel of the client area.
    QPoint toPixel(double x, double y) const;

    QImage surface_;
    QColor background_;
    double left_ = 0.0;
    double top_ = 0.0;
    double unitWidth_ = 15.0;
    double unitHeight_ = 15.0;
    int printY_ = 0;
    QStringList printed_;
};

}  // namespace tanabashigo
