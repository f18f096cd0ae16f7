#include "picturebox.h"

#include <QPainter>

#include "twips.h"

namespace tanabashigo {

PictureBox::PictureBox(QWidget* parent) : FocusFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    background_ = palette().color(QPalette::Window);
}

void PictureBox::place(const QRect& outer) {
    setGeometry(outer);
    setFixedSize(outer.size());
    clear();
}

void PictureBox::setBackground(const QColor& colour) {
    background_ = colour;
    clear();
}

void PictureBox::setUserScale(double left, double top, double unitWidthTwips,
                              double unitHeightTwips) {
    left_ = left;
    top_ = top;
    unitWidth_ = unitWidthTwips;
    unitHeight_ = unitHeightTwips;
}

void PictureBox::clear() {
    const qreal ratio = devicePixelRatioF();
    surface_ = QImage(contentsRect().size() * ratio, QImage::Format_RGB32);
    surface_.setDevicePixelRatio(ratio);
    surface_.fill(background_);
    printY_ = 0;
    printed_.clear();
    update();
}

QPoint PictureBox::toPixel(double x, double y) const {
    return {twips((x - left_) * unitWidth_), twips((y - top_) * unitHeight_)};
}

void PictureBox::drawLine(double x1, double y1, double x2, double y2, const QColor& colour) {
    QPainter painter(&surface_);
    painter.setPen(QPen(colour, strokeWidth(), Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(toPixel(x1, y1), toPixel(x2, y2));
    update();
}

void PictureBox::printLine(const QString& text) {
    QPainter painter(&surface_);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::ButtonText));
    const QFontMetrics metrics(font());
    painter.drawText(QPoint(0, printY_ + metrics.ascent()), text);
    printY_ += metrics.lineSpacing();
    printed_ << text;
    update();
}

QImage PictureBox::image() const {
    return surface_.scaled(contentsRect().size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    {
        QPainter painter(this);
        painter.drawImage(contentsRect().topLeft(), surface_);
    }
    drawFocusMark(*this, contentsRect());
}

}  // namespace tanabashigo
