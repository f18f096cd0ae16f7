#pragma once

#include <QFrame>

namespace tanabashigo {

/// Draws a dotted rectangle just inside `area` of `widget` while it has the keyboard focus.
void drawFocusMark(QWidget& widget, const QRect& area);

/// A frame that shows a dotted focus rectangle inside its edge while it has the focus.
class FocusFrame : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tanabashigo
