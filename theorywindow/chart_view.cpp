#include "chart_view.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

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

namespace {

QStringView at(const QXmlStreamAttributes& attributes, const char* name) {
    return attributes.value(QLatin1String(name));
}

double number(const QXmlStreamAttributes& attributes, const char* name) {
    return at(attributes, name).toDouble();
}

QColor colour(const QXmlStreamAttributes& attributes, const char* name) {
    const QStringView value = at(attributes, name);
    return value.isEmpty() || value == u"none" ? QColor() : QColor(value);
}

/// The stroke an element asks for, dashed as its stroke-dasharray says; none without one.
QPen strokeOf(const QXmlStreamAttributes& attributes, Qt::PenCapStyle cap) {
    const QColor stroke = colour(attributes, "stroke");
    if (!stroke.isValid()) {
        return Qt::NoPen;
    }
    const double width = number(attributes, "stroke-width");
    QPen pen(stroke, width, Qt::SolidLine, cap,
             cap == Qt::RoundCap ? Qt::RoundJoin : Qt::MiterJoin);
    const QList<QStringView> dashes = at(attributes, "stroke-dasharray").split(u',');
    if (dashes.size() == 2 && width > 0.0) {
        pen.setDashPattern({dashes[0].toDouble() / width, dashes[1].toDouble() / width});
    }
    return pen;
}

/// Paints one element of a chart document as it stands.
void paintElement(QPainter& painter, QXmlStreamReader& reader, const QString& family) {
    const QXmlStreamAttributes a = reader.attributes();
    const QStringView name = reader.name();
    if (name == u"rect") {
        painter.setPen(strokeOf(a, Qt::SquareCap));
        const QColor fill = colour(a, "fill");
        painter.setBrush(fill.isValid() ? QBrush(fill) : QBrush());
        painter.drawRect(
            QRectF(number(a, "x"), number(a, "y"), number(a, "width"), number(a, "height")));
    } else if (name == u"line") {
        painter.setPen(strokeOf(a, Qt::FlatCap));
        painter.drawLine(QPointF(number(a, "x1"), number(a, "y1")),
                         QPointF(number(a, "x2"), number(a, "y2")));
    } else if (name == u"polyline") {
        QPolygonF points;
        for (const QStringView point : at(a, "points").split(u' ', Qt::SkipEmptyParts)) {
            const QList<QStringView> xy = point.split(u',');
            points << QPointF(xy.value(0).toDouble(), xy.value(1).toDouble());
        }
        painter.setPen(strokeOf(a, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(points);
    } else if (name == u"circle") {
        const double r = number(a, "r");
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour(a, "fill"));
        painter.drawEllipse(QPointF(number(a, "cx"), number(a, "cy")), r, r);
    } else if (name == u"text") {
        QFont font(family);
        // At the writer's 96 dots to the inch, a document pixel is three quarters of a point.
        font.setPointSizeF(number(a, "font-size") * 0.75);
        font.setBold(at(a, "font-weight") == u"bold");
        const QString text = reader.readElementText();
        const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
        const QStringView anchor = at(a, "text-anchor");
        const double shift = anchor == u"middle" ? width / 2.0 : anchor == u"end" ? width : 0.0;
        painter.setFont(font);
        painter.setPen(colour(a, "fill"));
        painter.drawText(QPointF(number(a, "x") - shift, number(a, "y")), text);
    }
}

/// The document's title.
QString titleOf(const QByteArray& svg) {
    QXmlStreamReader reader(svg);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"title") {
            return reader.readElementText();
        }
    }
    return {};
}

}  // namespace

QByteArray pagePdf(const std::string& svg) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0.0, 0.0, 0.0, 0.0));
    writer.setResolution(96);
    writer.setCreator(QStringLiteral("tanabashigo"));
    const QByteArray document = QByteArray::fromStdString(svg);
    writer.setTitle(titleOf(document));
    QPainter painter;
    const QString family = installedChartFont();
    QXmlStreamReader reader(document);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (reader.name() == u"svg") {
            // The document fills the page, its text in the chart font embedded.
            const QList<QStringView> box = at(reader.attributes(), "viewBox").split(u' ');
            if (painter.isActive() || box.size() != 4) {
                continue;
            }
            if (!painter.begin(&writer)) {
                return {};
            }
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(writer.width() / box[2].toDouble(), writer.height() / box[3].toDouble());
        } else if (painter.isActive()) {
            paintElement(painter, reader, family);
        }
    }
    painter.end();
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
