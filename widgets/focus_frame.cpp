#include "focus_frame.h"

#include <QPainter>

namespace tanabashigo {

void drawFocusMark(QWidget& widget, const QRect& area) {
    if (!widget.hasFocus()) {
        return;
    }
    QPainter painter(&widget);
    painter.setPen(QPen(widget.palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

void FocusFrame::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    drawFocusMark(*this, contentsRect());
}

}  // namespace tanabashigo
