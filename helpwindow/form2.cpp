#include "form2.h"

#include <QFrame>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "fonts.h"
#include "help_text.h"
#include "picturebox.h"
#include "twips.h"

namespace tanabashigo {

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Window),
      command1_(new QPushButton(QStringLiteral("閉じる"), this)),
      line1_(new QFrame(this)),
      picture1_(new PictureBox(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral(" たなばしご＿ヘルプ（設問と操作方法）"));
    resize(twips(9255), twips(4455));

    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(twipsRect(8400, 0, 735, 375));
    command1_->setAccessibleName(QStringLiteral("ヘルプを閉じる"));
    command1_->setAccessibleDescription(QStringLiteral("ヘルプを閉じて、実験の画面に戻ります。"));
    connect(command1_, &QPushButton::clicked, this, &Form2::Command1_Click);

    // A plain one-pixel rule from x = 120 to x = 9120 twips (both ends drawn) at y = 360,
    // drawn in the window-text colour. It lies on the window's face, under the controls: its
    // right end runs beneath the bottom edge of the close button.
    line1_->setObjectName(QStringLiteral("Line1"));
    line1_->setFrameShape(QFrame::HLine);
    line1_->setFrameShadow(QFrame::Plain);
    line1_->setLineWidth(1);
    line1_->setGeometry(twips(120), twips(360), twips(9120 - 120) + 1, 1);
    line1_->setAccessibleName(QStringLiteral("区切り線"));
    line1_->lower();

    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setFont(msPGothic(11.25, false));
    picture1_->place(twipsRect(120, 480, 9015, 3855));
    picture1_->setBackground(Qt::white);
    picture1_->setFocusPolicy(Qt::TabFocus);
    picture1_->setAccessibleName(QStringLiteral("設問と操作方法"));
    picture1_->setAccessibleDescription(helpLines().join(QLatin1Char('\n')).trimmed());

    setTabOrder(command1_, picture1_);
}

void Form2::Form_Activate() {
    picture1_->clear();
    for (const QString& line : helpLines()) {
        picture1_->printLine(line);
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
