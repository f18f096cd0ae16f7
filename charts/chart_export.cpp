#include "chart_export.h"

#include <QBuffer>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace tanabashigo {

namespace {

/// The chart as SVG text.
QByteArray svgOf(const QSize& size, const QString& title, const ChartPainter& paint) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setResolution(96);  // one pixel of the chart is one CSS pixel
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(title);
    QPainter painter(&generator);
    paint(painter, QRectF(QPointF(0.0, 0.0), size));
    painter.end();
    return buffer.data();
}

/// The chart as PNG bytes.
QByteArray pngOf(const QSize& size, const ChartPainter& paint) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    chartImage(size, paint).save(&buffer, "PNG");
    return buffer.data();
}

}  // namespace

std::optional<ChartFormat> chartFormatOf(const QString& path) {
    if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        return ChartFormat::Png;
    }
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        return ChartFormat::Svg;
    }
    return std::nullopt;
}

QImage chartImage(const QSize& size, const ChartPainter& paint) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0.0, 0.0), size));
    return image;
}

bool saveChart(const QString& path, const QSize& size, const QString& title,
               const ChartPainter& paint) {
    const std::optional<ChartFormat> format = chartFormatOf(path);
    if (!format) {
        return false;
    }
    const QByteArray bytes =
        *format == ChartFormat::Png ? pngOf(size, paint) : svgOf(size, title, paint);
    QSaveFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace tanabashigo
