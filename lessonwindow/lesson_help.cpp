#include "lesson_help.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "lesson_texts.h"
#include "utf8_text.h"
#include "window_texts.h"

namespace tanabashigo {

LessonHelp::LessonHelp(QWidget* lesson) : QWidget(lesson, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(fromUtf8(texts::kLessonHelpTitle));
    QStringList lines;
    for (const std::string_view line : texts::lessonHelpLines(texts::kLessonWindow)) {
        lines << fromUtf8(line);
    }
    auto* text = new QLabel(lines.join(QLatin1Char('\n')));
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::NoTextInteraction);
    text->setAccessibleName(fromUtf8(texts::kLessonHelpTitle));
    auto* close = new QPushButton(fromUtf8(texts::kClose));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    QFont font = this->font();
    font.setPixelSize(std::max(13, lesson->height() / 36));
    setFont(font);
    const int width = std::min(lesson->width() * 9 / 10, font.pixelSize() * 46);
    text->setFixedWidth(width);
    resize(sizeHint());
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    close->setFocus();
}

void LessonHelp::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        emit closed();
    }
}

}  // namespace tanabashigo
