#include "lesson_surface.h"

#include <QPainter>
#include <QPainterPath>

#include "lesson.h"
#include "lesson_layout.h"
#include "lesson_look.h"

namespace tanabashigo {

namespace {

QColor qColour(Colour colour) {
    return {colour.red, colour.green, colour.blue};
}

const QColor kPauseOrange(0xC0, 0x50, 0x00);
const QColor kBannerYellow(0xFF, 0xF0, 0x80);

QFont pixelFont(const QFont& base, int pixels, bool bold) {
    QFont font = base;
    font.setPixelSize(std::max(1, pixels));
    font.setBold(bold);
    return font;
}

}  // namespace

LessonSurface::LessonSurface(const Lesson& lesson, QWidget* parent)
    : QWidget(parent), lesson_(lesson), colours_(&pathColours(0)) {
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, qColour(kWindowBackground));
    setPalette(white);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
}

int LessonSurface::markedLine() const {
    return lesson_.markedStartLine();
}

int LessonSurface::shownRungCount() const {
    return lesson_.trial() > 0 ? lesson_.trialRungCount() : lesson_.rungCount();
}

void LessonSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const LessonLayout layout(size());
    paintHeader(painter, layout);
    paintLadder(painter, layout);
    paintColumns(painter, layout);
    if (lesson_.isFinished() && heldColumn_ == 0) {
        paintBanner(painter, layout);
    }
}

void LessonSurface::setColours(int choice) {
    colours_ = &pathColours(choice);
    update();
}

void LessonSurface::holdBack(int column) {
    heldColumn_ = column;
    update();
}

void LessonSurface::paintHeader(QPainter& painter, const LessonLayout& layout) const {
    const QRectF text =
        layout.header.adjusted(layout.header.height() * 0.4, 0, -layout.header.height() * 0.4, 0);
    const QFont font = pixelFont(this->font(), int(layout.header.height() * 0.6), true);
    const QFontMetricsF metrics(font);
    const QString trial = QStringLiteral("%1 回目").arg(lesson_.trial());
    const QString label =
        QStringLiteral("横線 %1 / %2 本").arg(lesson_.rungs().size()).arg(shownRungCount());
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, trial);
    painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, label);
    if (lesson_.isPaused()) {
        // Centred in the room the two texts leave, smaller where that room is narrow.
        const QString note = QStringLiteral("一時停止中");
        const QRectF room = text.adjusted(metrics.horizontalAdvance(trial) + font.pixelSize(), 0,
                                          -metrics.horizontalAdvance(label) - font.pixelSize(), 0);
        const double scale = std::min(1.0, room.width() / metrics.horizontalAdvance(note));
        painter.setFont(pixelFont(font, int(font.pixelSize() * scale), true));
        painter.setPen(kPauseOrange);
        painter.drawText(room, Qt::AlignCenter, note);
    }
    const QRectF mark = layout.cell(layout.startMark, markedLine());
    const double half = mark.height() * 0.45;
    QPainterPath triangle;
    triangle.moveTo(mark.center().x() - half, mark.top());
    triangle.lineTo(mark.center().x() + half, mark.top());
    triangle.lineTo(mark.center().x(), mark.bottom());
    triangle.closeSubpath();
    painter.fillPath(triangle, qColour(colours_->path));
}

void LessonSurface::paintLadder(QPainter& painter, const LessonLayout& layout) const {
    painter.setRenderHint(QPainter::Antialiasing, false);  // crisp lines of the full width
    painter.setPen(QPen(Qt::black, layout.lineWidth, Qt::SolidLine, Qt::FlatCap));
    for (const Segment& line : emptyLadder()) {
        painter.drawLine(layout.point(line.x1, line.y1), layout.point(line.x2, line.y2));
    }
    for (const Rung& rung : lesson_.rungs()) {
        painter.drawLine(layout.point(rung.gap, rung.height),
                         layout.point(rung.gap + 1, rung.height));
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const PathLook look = pathLook(layout.unitPx(), layout.lineWidth, shownRungCount());
    painter.setPen(
        QPen(qColour(colours_->path), look.pathWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const Segment& part : lesson_.path()) {
        painter.drawLine(layout.point(part.x1, part.y1), layout.point(part.x2, part.y2));
    }
    if (!lesson_.path().empty()) {
        paintPathEnd(painter, layout, look);
    }
}

void LessonSurface::paintPathEnd(QPainter& painter, const LessonLayout& layout,
                                 const PathLook& look) const {
    const PathEnd end = pathEnd(lesson_.path());
    const double radius = look.endDiameter / 2;
    const double outer = radius + look.endOutline * 1.5;
    const QPointF centre = layout.point(end.x, end.y) + QPointF(end.backX, end.backY) * outer;
    painter.setPen(Qt::NoPen);
    const auto disc = [&](const QColor& colour, double r) {
        painter.setBrush(colour);
        painter.drawEllipse(centre, r, r);
    };
    disc(Qt::black, outer);
    disc(Qt::white, radius + look.endOutline);
    disc(qColour(colours_->path), radius);
}

void LessonSurface::paintColumns(QPainter& painter, const LessonLayout& layout) const {
    const QFont numberFont = pixelFont(font(), layout.textPixels, true);
    for (int column = 1; column <= kLineCount; ++column) {
        const bool start = column == markedLine();
        const QRectF number = layout.cell(layout.numbers, column);
        if (start) {
            const double side = number.height() * 0.95;
            painter.setBrush(qColour(colours_->path));
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(
                QRectF(0, 0, side, side).translated(number.center() - QPointF(side / 2, side / 2)));
        }
        painter.setFont(numberFont);
        painter.setPen(start ? Qt::white : Qt::black);
        painter.drawText(number, Qt::AlignCenter, QString::number(column));
        const int shown =
            lesson_.count(column) - (column == heldColumn_ && !lesson_.isFinished() ? 1 : 0);
        painter.setPen(qColour(colours_->marker));
        painter.drawText(layout.cell(layout.counts, column), Qt::AlignCenter,
                         QString::number(shown));
        for (int i = 1; i <= shown; ++i) {
            painter.fillRect(layout.marker(column, i), qColour(colours_->marker));
        }
    }
}

void LessonSurface::paintBanner(QPainter& painter, const LessonLayout& layout) const {
    const QString text = QStringLiteral("%1 の列に %2 回目が来たので終わり")
                             .arg(lesson_.endColumn())
                             .arg(Tally::kColumnCapacity + 1);
    QFont font = pixelFont(this->font(), layout.textPixels, true);
    const double room = layout.ladder.width() * 0.9;
    const double wide = QFontMetricsF(font).horizontalAdvance(text);
    if (wide > room) {
        font.setPixelSize(std::max(1, int(layout.textPixels * room / wide)));
    }
    painter.setFont(font);
    const QRectF box = QFontMetricsF(font).boundingRect(text).adjusted(-24, -16, 24, 16);
    const QRectF banner = box.translated(layout.ladder.center() - box.center());
    painter.setPen(QPen(Qt::black, layout.lineWidth));
    painter.setBrush(kBannerYellow);
    painter.drawRoundedRect(banner, 12, 12);
    painter.drawText(banner, Qt::AlignCenter, text);
}

}  // namespace tanabashigo
