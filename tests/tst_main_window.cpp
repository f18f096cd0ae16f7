#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialogs.h"
#include "form1_fixture.h"
#include "picturebox.h"
#include "tracer.h"

using namespace tanabashigo;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(0xFF, 0, 0);

/// Pixel column of ladder line k, pixel row of ladder height y, in the surface's client area.
int pixelX(int k) {
    return 49 * lineX(k);
}
int pixelY(double y) {
    return qRound(y * 67.95 / 15.0);
}

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

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:

    void aTrialDrawsTheLadderAndThePathAndCountsOneLanding() {
        RandomSource random(2026);
        ScriptedDialogs dialogs;
        dialogs.answers << QStringLiteral("12");
        RecordedSounds sounds;
        Form1 form(random, dialogs, sounds, onTestClock());
        form.Form_Activate();
        form.Command1_Click();
        QStringList labels;
        while (form.model().isRunning(WindowTimer::Ladder)) {
            tick(form);
            if (labels.isEmpty() || labels.last() != form.Label1->text()) {
                labels << form.Label1->text();
            }
        }
        QCOMPARE(labels.join(QLatin1Char(' ')), QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12"));

        const Ladder ladder = form.experiment().ladder();
        QImage image = form.Picture1->image();
        for (int k = 1; k <= kLineCount; ++k) {
            for (int y = pixelY(kTopY); y <= pixelY(kBottomY); ++y) {
                QCOMPARE(image.pixel(pixelX(k), y), kBlack);
            }
            QVERIFY(image.pixel(pixelX(k), pixelY(kTopY) - 1) != kBlack);
            QVERIFY(image.pixel(pixelX(k), pixelY(kBottomY) + 1) != kBlack);
        }
        for (int i = 1; i <= ladder.rungCount(); ++i) {
            const Segment rung = ladder.rungLine(i);
            QCOMPARE(image.pixel(pixelX(rung.x1 - 1) + 24, pixelY(rung.y1)), kBlack);
        }

        tracePath(form);
        image = form.Picture1->image();
        Tracer tracer;
        TraceTick tick;
        do {
            tick = tracer.tick(ladder);
            QCOMPARE(
                image.pixel(pixelX(tick.down.x1 - 1), pixelY((tick.down.y1 + tick.down.y2) / 2.0)),
                kRed);
            if (tick.kind == TraceTick::Kind::Moved) {
                QCOMPARE(image.pixel(pixelX(tick.across.x1 - 1) + 24, pixelY(tick.across.y1)),
                         kRed);
            }
        } while (tick.kind == TraceTick::Kind::Moved);
        QCOMPARE(image.pixel(pixelX(tick.column), pixelY(kBottomY)), kRed);

        for (int k = 1; k <= kLineCount; ++k) {
            QCOMPARE(visibleMarkers(form, k), k == tick.column ? QList<int>{1} : QList<int>{});
        }
        // What the surface shows on screen: its picture inside the edge, the marker on top.
        const QImage shot = form.Picture1->grab().toImage();
        const QPoint origin = form.Picture1->contentsRect().topLeft();
        for (int y = pixelY(kTopY); y <= pixelY(kBottomY); y += 7) {
            for (int x = 0; x < image.width(); ++x) {
                QCOMPARE(shot.pixel(origin + QPoint(x, y)), image.pixel(x, y));
            }
        }
        const QRect marker = form.o(tick.column)[1]->geometry();
        QCOMPARE(shot.pixel(marker.center()), kRed);
        QVERIFY(shot.pixel(marker.center() - QPoint(0, 8)) != kRed);
        QVERIFY(form.Picture1->accessibleDescription().contains(
            QStringLiteral("%1列目 1").arg(tick.column)));
    }

    void asksThroughTheRealBoxes_data() {
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

    void asksThroughTheRealBoxes() {
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
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
