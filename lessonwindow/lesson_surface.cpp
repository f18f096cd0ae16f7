#include "lesson_surface.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

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
// Grey, so that it is never mistaken for the markers, whichever colour they are drawn in.
const QColor kPredictionGrey(0x60, 0x60, 0x60);

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
    if (showsPrediction()) {
        paintPrediction(painter, layout);
    } else {
        paintLadder(painter, layout);
    }
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
    // Over the prediction the banner keeps to the caption's upper half.
    const bool overPrediction = showsPrediction();
    const QRectF place = overPrediction ? layout.predictionCaption.adjusted(
                                              0, 0, 0, -layout.predictionCaption.height() / 2)
                                        : layout.ladder;
    if (overPrediction) {
        font.setPixelSize(std::max(1, std::min(font.pixelSize(), int(place.height() * 0.5))));
    }
    painter.setFont(font);
    const double pad = overPrediction ? font.pixelSize() * 0.25 : 16;
    const QRectF box =
        QFontMetricsF(font).boundingRect(text).adjusted(-pad * 1.5, -pad, pad * 1.5, pad);
    const QRectF banner = box.translated(place.center() - box.center());
    painter.setPen(QPen(Qt::black, layout.lineWidth));
    painter.setBrush(kBannerYellow);
    painter.drawRoundedRect(banner, 12, 12);
    painter.drawText(banner, Qt::AlignCenter, text);
}

bool LessonSurface::showsPrediction() const {
    return lesson_.predictionOpen() ||
           (lesson_.isFinished() && heldColumn_ == 0 && !lesson_.prediction().empty());
}

void LessonSurface::paintPrediction(QPainter& painter, const LessonLayout& layout) const {
    const ClassPrediction& prediction = lesson_.prediction();
    const bool open = lesson_.predictionOpen();
    const QRectF caption = layout.predictionCaption;
    const QString ask = QStringLiteral("予想：いちばん多く着くのはどの列？");
    const QString hands = open ? QStringLiteral("手をあげた人の数を − と ＋ で（いま %1 人）")
                               : QStringLiteral("灰色の棒：実験の前のクラスの予想（%1 人）");
    const auto line = [&](const QString& text, const QRectF& room, bool bold) {
        QFont font = pixelFont(this->font(), int(room.height() * 0.7), bold);
        const double wide = QFontMetricsF(font).horizontalAdvance(text);
        if (wide > room.width() * 0.94) {
            font.setPixelSize(std::max(1, int(font.pixelSize() * room.width() * 0.94 / wide)));
        }
        painter.setFont(font);
        painter.drawText(room, Qt::AlignCenter, text);
    };
    const QRectF upper = caption.adjusted(0, 0, 0, -caption.height() / 2);
    const QRectF lower = caption.adjusted(0, caption.height() / 2, 0, 0);
    painter.setPen(Qt::black);
    if (open) {
        line(ask, upper, true);
    }
    painter.setPen(kPredictionGrey);
    line(hands.arg(prediction.total()), lower, false);

    const QRectF bars = open
                            ? layout.predictionBars
                            : layout.predictionBars.adjusted(0, 0, 0, layout.handsButtons.height());
    const int most =
        std::max(1, *std::max_element(prediction.hands.begin(), prediction.hands.end()));
    const double numberHeight = std::min(bars.height() * 0.3, double(layout.textPixels));
    const QFont numberFont = pixelFont(font(), int(numberHeight * 0.85), true);
    painter.setFont(numberFont);
    painter.setPen(QPen(Qt::gray, 1));
    painter.drawLine(QPointF(0, bars.bottom()), QPointF(width(), bars.bottom()));
    for (int column = 1; column <= kLineCount; ++column) {
        const QRectF cell = layout.cell(bars, column);
        const double tall = (bars.height() - numberHeight) * prediction.hands[column] / most;
        const QRectF bar(cell.center().x() - cell.width() * 0.22, bars.bottom() - tall,
                         cell.width() * 0.44, tall);
        painter.fillRect(bar, kPredictionGrey);
        painter.setPen(kPredictionGrey);
        painter.drawText(QRectF(cell.left(), bar.top() - numberHeight, cell.width(), numberHeight),
                         Qt::AlignCenter, QString::number(prediction.hands[column]));
    }
}

}  // namespace tanabashigo
