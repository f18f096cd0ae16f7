#include "chart_view.h"

#include <QPainter>

namespace tanabashigo {

ChartView::ChartView(ChartPainter paint, QWidget* parent)
    : QWidget(parent), paint_(std::move(paint)) {
    setMinimumSize(480, 280);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint_(painter, QRectF(rect()));
}

}  // namespace tanabashigo
