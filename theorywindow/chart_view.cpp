#include "chart_view.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPainter>
#include <QSvgRenderer>

namespace tanabashigo {

namespace {

/// The first of the chart's font families this machine has, as a browser would choose it.
QString installedChartFont() {
    const QStringList installed = QFontDatabase::families();
    for (QString family : QString::fromUtf8(kChartFontFamilies).split(u',')) {
        family = family.trimmed().remove(u'\'');
        if (installed.contains(family, Qt::CaseInsensitive)) {
            return family;
        }
    }
    return QStringLiteral("sans-serif");
}

/// Renders `svg` into `target`. The renderer takes a font-family list for one name, so the
/// list is given as the family a browser would pick from it.
void renderDocument(const std::string& svg, QPainter& painter, const QRectF& target) {
    static const QByteArray kList =
        "font-family=\"" + QByteArray(kChartFontFamilies.data(), kChartFontFamilies.size()) + '"';
    static const QByteArray kInstalled = "font-family=\"" + installedChartFont().toUtf8() + '"';
    QSvgRenderer renderer(QByteArray::fromStdString(svg).replace(kList, kInstalled));
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, target);
}

}  // namespace

QImage chartImage(const std::string& svg, const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderDocument(svg, painter, QRectF(QPointF(0.0, 0.0), size));
    return image;
}

QByteArray chartPng(const std::string& svg, const QSize& size) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    chartImage(svg, size).save(&buffer, "PNG");
    return buffer.data();
}

ChartView::ChartView(ChartDocument document, QWidget* parent)
    : QWidget(parent), document_(std::move(document)) {
    setMinimumSize(480, 280);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Box area{0.0, 0.0, static_cast<double>(width()), static_cast<double>(height())};
    renderDocument(document_(area), painter, QRectF(rect()));
}

}  // namespace tanabashigo
