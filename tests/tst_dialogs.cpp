#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialogs.h"
#include "form1_fixture.h"

using namespace tanabashigo;

namespace {

using Answer = std::function<void(QWidget*)>;

/// Answers the modal boxes that open one after another, each with the next answer.
class ModalScript : public QObject {
public:
    explicit ModalScript(QList<Answer> answers) : answers_(std::move(answers)) {
        connect(&poll_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal != handled_ && !answers_.isEmpty()) {
                handled_ = modal;
                answers_.takeFirst()(modal);
            }
        });
        poll_.start(5);
    }
    bool finished() const { return answers_.isEmpty(); }

private:
    QList<Answer> answers_;
    QPointer<QWidget> handled_;
    QTimer poll_;
};

/// Checks the input box's texts, then types `text` and accepts, or cancels for a null text.
Answer typeInto(const QString& text) {
    return [text](QWidget* widget) {
        auto* box = qobject_cast<QInputDialog*>(widget);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral(" たなば横線本数の設定"));
        QCOMPARE(box->labelText(), QStringLiteral("10以上50以下の整数を入力してください．．．"));
        QCOMPARE(box->textValue(), QStringLiteral("50"));
        text.isNull() ? box->reject() : (box->setTextValue(text), box->accept());
    };
}

/// Checks the yes/no box, then presses `key`.
Answer pressOnQuestion(Qt::Key key) {
    return [key](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        QVERIFY(box);
        QCOMPARE(box->windowTitle() + u'|' + box->text(),
                 QStringLiteral("確認|終了していいですか？"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
        QCOMPARE(box->button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
        QTest::keyClick(box, key);
    };
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void mainWindowAsksThroughTheRealBoxes_data();
    void mainWindowAsksThroughTheRealBoxes();
};

void DialogsTest::mainWindowAsksThroughTheRealBoxes_data() {
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<int>("rungs");  // 0: the program was asked to end
    QTest::newRow("50") << QList<Answer>{typeInto(QStringLiteral("50"))} << 50;
    QTest::newRow("cancel, Escape says no, full-width answer")
        << QList<Answer>{typeInto(QString()), pressOnQuestion(Qt::Key_Escape),
                         typeInto(QStringLiteral("　２０本"))}
        << 20;
    QTest::newRow("cancel, Enter takes the default Yes")
        << QList<Answer>{typeInto(QString()), pressOnQuestion(Qt::Key_Return)} << 0;
}

void DialogsTest::mainWindowAsksThroughTheRealBoxes() {
    QFETCH(QList<Answer>, answers);
    QFETCH(int, rungs);
    RandomSource random(1);
    QtDialogs dialogs;
    RecordedSounds sounds;
    Form1 form(random, dialogs, sounds);
    QSignalSpy ended(&form, &Form1::endRequested);
    ModalScript script(answers);
    form.Form_Activate();
    QVERIFY(script.finished());
    QCOMPARE(ended.count(), rungs == 0 ? 1 : 0);
    if (rungs != 0) {
        QCOMPARE(form.experiment().ladder().rungCount(), rungs);
        QVERIFY(form.Command1->isEnabled());
    }
}

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
