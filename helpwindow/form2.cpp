#include "form2.h"

#include <QFontMetrics>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "enter_key.h"
#include "fonts.h"
#include "help_text.h"
#include "picturebox.h"
#include "rule.h"
#include "twips.h"
#include "utf8_text.h"
#include "window_texts.h"

namespace tanabashigo {

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Window),
      Command1(new QPushButton(fromUtf8(texts::kClose), this)),
      Line1(new HorizontalRule(this, twips(120), twips(360), twips(9120))),
      Picture1(new PictureBox(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(fromUtf8(texts::kHelpTitle));
    resize(twips(9255), twips(4455));

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(8400, 0, 735, 375));
    Command1->setAccessibleName(QStringLiteral("ヘルプを閉じる"));
    Command1->setAccessibleDescription(QStringLiteral("ヘルプを閉じて、実験の画面に戻ります。"));
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);

    // The rule lies on the window's face, under the controls: its right end runs beneath the
    // bottom edge of the close button.
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setAccessibleName(QStringLiteral("区切り線"));
    Line1->lower();

    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFont(msPGothic(11.25, false));
    Picture1->place(twipsRect(120, 480, 9015, 3855));
    Picture1->setBackground(Qt::white);
    Picture1->setFocusPolicy(Qt::TabFocus);
    Picture1->setAccessibleName(QStringLiteral("設問と操作方法"));
    Picture1->setAccessibleDescription(helpLines().join(QLatin1Char('\n')).trimmed());

    setTabOrder(Command1, Picture1);
    widenForTheLongestLine();
    pressButtonsOnEnter(this);
}

void Form2::widenForTheLongestLine() {
    const QFontMetrics metrics(Picture1->font());
    int longest = 0;
    for (const QString& line : helpLines()) {
        longest = std::max(longest, metrics.horizontalAdvance(line));
    }
    // A pixel or two clear of the edge, so the last character is whole.
    const int extra = longest + std::max(1, twips(15)) - Picture1->contentsRect().width();
    if (extra <= 0) {
        return;
    }
    Picture1->place(Picture1->geometry().adjusted(0, 0, extra, 0));
    Line1->setGeometry(Line1->geometry().adjusted(0, 0, extra, 0));
    Command1->move(Command1->x() + extra, Command1->y());
    resize(width() + extra, height());
}

void Form2::Form_Activate() {
    Picture1->clear();
    for (const QString& line : helpLines()) {
        Picture1->printLine(line);
    }
}

void Form2::Command1_Click() {
    // The new main window must exist before this one goes, or the program would end here.
    const QPointer<Form2> self(this);
    emit mainWindowRequested();
    if (self) {
        close();
    }
}

void Form2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!activationScheduled_) {
        activationScheduled_ = true;
        QTimer::singleShot(0, this, &Form2::Form_Activate);
    }
}

}  // namespace tanabashigo
