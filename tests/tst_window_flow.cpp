#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "form1_fixture.h"
#include "form2.h"
#include "picturebox.h"
#include "window_flow.h"

using namespace tanabashigo;

namespace {

/// Lets closed windows finish deleting themselves.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

int visibleTopLevels() {
    int shown = 0;
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        shown += widget->isVisible() ? 1 : 0;
    }
    return shown;
}

}  // namespace

class WindowFlowTest : public QObject {
    Q_OBJECT
private slots:
    void theMainWindowComesBackWhereItStood_data() {
        QTest::addColumn<QPoint>("stood");  // per cent of the room beside and below the window
        QTest::addColumn<QPoint>("back");
        QTest::newRow("centred") << QPoint(50, 50) << QPoint(50, 50);
        QTest::newRow("off the bottom") << QPoint(20, 130) << QPoint(20, 100);
        QTest::newRow("off left and top") << QPoint(-40, -30) << QPoint(0, 0);
    }
    // After HELP and 閉じる the fresh main window stands where the one before stood, whole on
    // the screen.
    void theMainWindowComesBackWhereItStood() {
        RandomSource random(5);
        ScriptedDialogs dialogs;
        RecordedSounds sounds;
        WindowFlow flow(random, dialogs, sounds);
        flow.showMainWindow();
        auto* main = qobject_cast<Form1*>(flow.currentWindow());
        const QRect room = main->screen()->availableGeometry();
        const QSize spare = room.size() - main->frameGeometry().size();
        const auto at = [&](QPoint share) {
            return room.topLeft() +
                   QPoint(spare.width() * share.x(), spare.height() * share.y()) / 100;
        };
        QFETCH(QPoint, stood);
        main->move(at(stood));
        QTest::mouseClick(main->Command6, Qt::LeftButton);
        settle();
        qobject_cast<Form2*>(flow.currentWindow())->Command1_Click();
        settle();
        QFETCH(QPoint, back);
        QCOMPARE(flow.currentWindow()->frameGeometry().topLeft(), at(back));
        flow.currentWindow()->close();
        settle();
    }
    void helpRoundTripsLeaveOneFreshWindow() {
        RandomSource random(5);
        ScriptedDialogs dialogs;
        dialogs.fallbackAnswer = QStringLiteral("10");
        RecordedSounds sounds;
        WindowFlow flow(random, dialogs, sounds);
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        flow.showMainWindow();
        QTRY_COMPARE(dialogs.prompts, 1);
        int widgetsAfterFirstTrip = 0;
        for (int trip = 1; trip <= 30; ++trip) {
            auto* main = qobject_cast<Form1*>(flow.currentWindow());
            QVERIFY(main);
            // Leave something behind that a fresh window must not show.
            main->Command1_Click();
            buildLadder(*main);
            tracePath(*main);
            main->Command5_Click();
            QTest::mouseClick(main->Command6, Qt::LeftButton);
            settle();
            auto* help = qobject_cast<Form2*>(flow.currentWindow());
            QVERIFY(help);
            QCOMPARE(visibleTopLevels(), 1);
            QTRY_COMPARE(help->Picture1->printedLines().size(), 12);  // the help text, once
            help->Command1_Click();
            settle();
            QTRY_COMPARE(dialogs.prompts, trip + 1);
            QCOMPARE(visibleTopLevels(), 1);
            const auto* fresh = qobject_cast<Form1*>(flow.currentWindow());
            QVERIFY(fresh);
            QCOMPARE(fresh->experiment().tally().total(), 0);
            if (trip == 1) {
                widgetsAfterFirstTrip = QApplication::allWidgets().size();
            }
            QCOMPARE(QApplication::allWidgets().size(), widgetsAfterFirstTrip);
        }
        QCOMPARE(sounds.played.count(QStringLiteral("pinpon.wav")), 30);
        QCOMPARE(lastClosed.count(), 0);
        flow.currentWindow()->close();  // as the title bar does: the window is unloaded
        settle();
        QCOMPARE(flow.currentWindow(), nullptr);
    }
};

QTEST_MAIN(WindowFlowTest)
#include "tst_window_flow.moc"
