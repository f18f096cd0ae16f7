#include "rule.h"

#include <QPainter>

#include "twips.h"

namespace tanabashigo {

HorizontalRule::HorizontalRule(QWidget* parent, int left, int y, int right) : QWidget(parent) {
    setGeometry(std::min(left, right), y, std::abs(right - left) + 1, strokeWidth());
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void HorizontalRule::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
}

}  // namespace tanabashigo
