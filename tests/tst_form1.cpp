#include <QLabel>
#include <QSignalSpy>
#include <QTest>

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

/// A main window with scripted boxes and sound, seeded and activated with `rungs`.
struct Rig {
    RandomSource random{2026};
    ScriptedDialogs dialogs;
    RecordedSounds sounds;
    Form1 form{random, dialogs, sounds};

    explicit Rig(const QString& rungs = QStringLiteral("10")) {
        dialogs.answers << rungs;
        form.Form_Activate();
    }
    /// Runs trials to their landings until the experiment finishes; returns the trials run.
    int runToTheEnd() {
        int trials = 0;
        while (!form.experiment().isFinished() && trials < 1000) {
            form.Command1_Click();
            buildLadder(form);
            tracePath(form);
            ++trials;
        }
        return trials;
    }
};

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT
private slots:
    void controlsStandWhereTheyBelong_data();
    void controlsStandWhereTheyBelong();
    void startsAsDesigned();
    void buttonsAndTimersFollowEachEvent_data();
    void buttonsAndTimersFollowEachEvent();
    void promptAsksUntilItGetsACount_data();
    void promptAsksUntilItGetsACount();
    void aTrialDrawsTheLadderAndThePathAndCountsOneLanding();
    void theExperimentEndsAtTheFirstLandingInAFullColumn();
    void stopKeepsThePartialLadderAndStartClearsIt();
    void aNextTrialAbandonsAPathStillBeingTraced();
    void initialiseClearsTheTallyAndAsksAgain();
    void markerColumnsSitJustRightOfTheirLines();
    void quitAndHelpPlayTheirCues_data();
    void quitAndHelpPlayTheirCues();
    void activatesOnceAfterBeingShown();
};

void Form1Test::controlsStandWhereTheyBelong_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("bold");

    QTest::newRow("Command3") << "Command3" << QRect(0, 0, 57, 25) << "終了" << false;
    QTest::newRow("Label2") << "Label2" << QRect(176, 0, 313, 25) << "た　　な　　ば　　し　　ご"
                            << true;
    QTest::newRow("Command6") << "Command6" << QRect(544, 0, 57, 25) << "HELP" << false;
    QTest::newRow("Command4") << "Command4" << QRect(600, 0, 57, 25) << "初期化" << false;
    QTest::newRow("Command5") << "Command5" << QRect(72, 512, 225, 41) << "停　　　　止" << true;
    QTest::newRow("Command1") << "Command1" << QRect(360, 512, 225, 41)
                              << "たなばしご作成・抽選の開始" << true;
    QTest::newRow("Command2") << "Command2" << QRect(56, 536, 41, 25) << "抽選" << true;
    QTest::newRow("Label1") << "Label1" << QRect(8, 552, 25, 17) << "" << false;
    QTest::newRow("Picture1") << "Picture1" << QRect(8, 40, 641, 457) << "" << false;
}

void Form1Test::controlsStandWhereTheyBelong() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(bool, bold);
    RandomSource random(1);
    ScriptedDialogs dialogs;
    RecordedSounds sounds;
    Form1 form(random, dialogs, sounds);
    const std::map<QString, QWidget*> controls{
        {"Command1", form.Command1}, {"Command2", form.Command2}, {"Command3", form.Command3},
        {"Command4", form.Command4}, {"Command5", form.Command5}, {"Command6", form.Command6},
        {"Label1", form.Label1},     {"Label2", form.Label2},     {"Picture1", form.Picture1}};
    QWidget* control = controls.at(name);
    QCOMPARE(control->geometry(), geometry);
    form.resize(1200, 900);
    QCOMPARE(control->geometry(), geometry);
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->font().bold(), bold);
        QCOMPARE(button->font().pointSizeF(), 11.25);
        QVERIFY(!button->accessibleName().isEmpty());
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->font().bold(), bold);
        QCOMPARE(label->alignment(), Qt::AlignCenter);
    }
}

void Form1Test::startsAsDesigned() {
    RandomSource random(1);
    ScriptedDialogs dialogs;
    RecordedSounds sounds;
    Form1 form(random, dialogs, sounds);
    QCOMPARE(form.windowTitle(), QStringLiteral(" たなばしご"));
    QCOMPARE(form.size(), QSize(658, 569));
    QCOMPARE(buttonStates(form), QStringLiteral("111011"));
    QCOMPARE(timerStates(form), QStringLiteral("000"));
    QVERIFY(form.Command2->isHidden());
    QCOMPARE(form.Label1->text(), QString());
    QCOMPARE(form.Label2->palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
    QCOMPARE(form.Timer1.interval(), 3);
    QCOMPARE(form.Timer2.interval(), 3);
    QCOMPARE(form.Timer3.interval(), 5000);
    QCOMPARE(form.Timer1.timerType(), Qt::PreciseTimer);
    QCOMPARE(form.Picture2->geometry().translated(-form.Picture1->contentsRect().topLeft()),
             QRect(193, 32, 9, 9));
    for (int k = 1; k <= kLineCount; ++k) {
        QVERIFY(visibleMarkers(form, k).isEmpty());
    }
    QVERIFY(!form.windowIcon().isNull());
    QCOMPARE(dialogs.prompts, 0);
}

void Form1Test::buttonsAndTimersFollowEachEvent_data() {
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("buttons");  // Command1..6 enabled
    QTest::addColumn<QString>("timers");   // Timer1..3 running

    using L = QStringList;
    QTest::newRow("activated") << L{} << "101001"
                               << "000";
    QTest::newRow("started") << L{"start"} << "000010"
                             << "101";
    QTest::newRow("ladder complete") << L{"start", "ladder"} << "000010"
                                     << "011";
    QTest::newRow("landed") << L{"start", "ladder", "path"} << "000010"
                            << "001";
    QTest::newRow("next trial") << L{"start", "ladder", "path", "next"} << "000010"
                                << "101";
    QTest::newRow("stopped building") << L{"start", "stop"} << "101101"
                                      << "000";
    QTest::newRow("stopped tracing") << L{"start", "ladder", "stop"} << "101101"
                                     << "000";
    QTest::newRow("initialised") << L{"start", "stop", "initialise"} << "101001"
                                 << "000";
    QTest::newRow("restarted") << L{"start", "stop", "start"} << "000010"
                               << "101";
    QTest::newRow("finished") << L{"finish"} << "001101"
                              << "000";
    QTest::newRow("initialised after finishing") << L{"finish", "initialise"} << "101001"
                                                 << "000";
}

void Form1Test::buttonsAndTimersFollowEachEvent() {
    QFETCH(QStringList, events);
    QFETCH(QString, buttons);
    QFETCH(QString, timers);
    Rig rig;
    for (const QString& event : events) {
        if (event == QLatin1String("start")) {
            QTest::mouseClick(rig.form.Command1, Qt::LeftButton);
        } else if (event == QLatin1String("ladder")) {
            buildLadder(rig.form);
        } else if (event == QLatin1String("path")) {
            tracePath(rig.form);
        } else if (event == QLatin1String("next")) {
            rig.form.Timer3_Timer();
        } else if (event == QLatin1String("stop")) {
            QTest::mouseClick(rig.form.Command5, Qt::LeftButton);
        } else if (event == QLatin1String("initialise")) {
            QTest::mouseClick(rig.form.Command4, Qt::LeftButton);
        } else if (event == QLatin1String("finish")) {
            rig.runToTheEnd();
        }
    }
    QCOMPARE(buttonStates(rig.form), buttons);
    QCOMPARE(timerStates(rig.form), timers);
}

void Form1Test::promptAsksUntilItGetsACount_data() {
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QList<bool>>("replies");
    QTest::addColumn<int>("rungs");  // 0: the program was asked to end
    QTest::addColumn<int>("prompts");

    using L = QStringList;
    using R = QList<bool>;
    QTest::newRow("10") << L{"10"} << R{} << 10 << 1;
    QTest::newRow("50") << L{"50"} << R{} << 50 << 1;
    QTest::newRow("12.9 rounds down") << L{"12.9"} << R{} << 12 << 1;
    QTest::newRow("9.99 then 11") << L{"9.99", "11"} << R{} << 11 << 2;
    QTest::newRow("50.5 then 49") << L{"50.5", "49"} << R{} << 49 << 2;
    QTest::newRow("1 2") << L{"1 2"} << R{} << 12 << 1;
    QTest::newRow("1.5E1") << L{"1.5E1"} << R{} << 15 << 1;
    QTest::newRow("blanks only then 20") << L{"   ", "20"} << R{} << 20 << 2;
    QTest::newRow("text then 20") << L{"たくさん", "20"} << R{} << 20 << 2;
    QTest::newRow("full-width") << L{"３０"} << R{} << 30 << 1;
    QTest::newRow("full-width after a space") << L{"　３０"} << R{} << 30 << 1;
    QTest::newRow("1e400 then 25") << L{"1e400", "25"} << R{} << 25 << 2;
    QTest::newRow("cancel, no, 30") << L{"<cancel>", "30"} << R{false} << 30 << 2;
    QTest::newRow("cancel, yes") << L{"<cancel>"} << R{true} << 0 << 1;
    QTest::newRow("cancel, no, cancel, yes")
        << L{"<cancel>", "<cancel>"} << R{false, true} << 0 << 2;
}

void Form1Test::promptAsksUntilItGetsACount() {
    QFETCH(QStringList, answers);
    QFETCH(QList<bool>, replies);
    QFETCH(int, rungs);
    QFETCH(int, prompts);
    RandomSource random(1);
    ScriptedDialogs dialogs;
    dialogs.answers = answers;
    dialogs.replies = replies;
    RecordedSounds sounds;
    Form1 form(random, dialogs, sounds);
    QSignalSpy ended(&form, &Form1::endRequested);
    form.Form_Activate();

    QCOMPARE(dialogs.prompts, prompts);
    QVERIFY(dialogs.promptTitles.count(QStringLiteral(" たなば横線本数の設定")) == prompts);
    QCOMPARE(dialogs.questions.size(), replies.size());
    for (const QString& question : dialogs.questions) {
        QCOMPARE(question, QStringLiteral("確認|終了していいですか？"));
    }
    QCOMPARE(ended.count(), rungs == 0 ? 1 : 0);
    if (rungs != 0) {
        QCOMPARE(int(form.experiment().ladder().rungCount()), rungs);
        QCOMPARE(buttonStates(form), QStringLiteral("101001"));
    } else {
        QVERIFY(!form.Command1->isEnabled());
    }
}

void Form1Test::aTrialDrawsTheLadderAndThePathAndCountsOneLanding() {
    Rig rig(QStringLiteral("12"));
    Form1& form = rig.form;
    form.Command1_Click();
    QStringList labels;
    while (form.Timer1.isActive()) {
        form.Timer1_Timer();
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
        QCOMPARE(image.pixel(pixelX(tick.down.x1 - 1), pixelY((tick.down.y1 + tick.down.y2) / 2.0)),
                 kRed);
        if (tick.kind == TraceTick::Kind::Moved) {
            QCOMPARE(image.pixel(pixelX(tick.across.x1 - 1) + 24, pixelY(tick.across.y1)), kRed);
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

void Form1Test::theExperimentEndsAtTheFirstLandingInAFullColumn() {
    Rig rig;
    const int trials = rig.runToTheEnd();
    const Tally& tally = rig.form.experiment().tally();
    QVERIFY(rig.form.experiment().isFinished());
    // Every trial but the last was counted, and the last found its column full.
    QCOMPARE(tally.total(), trials - 1);
    int fullColumns = 0;
    for (int k = 1; k <= kLineCount; ++k) {
        QList<int> expected;
        for (int i = 1; i <= tally(k); ++i) {
            expected << i;
        }
        QCOMPARE(visibleMarkers(rig.form, k), expected);
        fullColumns += tally(k) == 20 ? 1 : 0;
    }
    QVERIFY(fullColumns >= 1);
    QVERIFY(!rig.form.Command1->isEnabled());
}

void Form1Test::stopKeepsThePartialLadderAndStartClearsIt() {
    Rig rig(QStringLiteral("50"));
    Form1& form = rig.form;
    form.Command1_Click();
    for (int t = 0; t < 20; ++t) {
        form.Timer1_Timer();
    }
    const QImage partial = form.Picture1->image();
    form.Command5_Click();
    QCOMPARE(form.Picture1->image(), partial);
    const int placed = form.experiment().ladder().rungNo() - 1;
    QVERIFY(placed > 0);

    form.Command1_Click();
    QCOMPARE(int(form.experiment().ladder().rungNo()), 1);
    QCOMPARE(form.Label1->text(), QString());
    // Only the ten lines are left: no black pixel between two lines.
    const QImage fresh = form.Picture1->image();
    for (int y = 0; y < fresh.height(); ++y) {
        for (int x = pixelX(1) + 1; x < pixelX(2); ++x) {
            QVERIFY(fresh.pixel(x, y) != kBlack);
        }
    }
    QVERIFY(partial != fresh);
}

void Form1Test::aNextTrialAbandonsAPathStillBeingTraced() {
    Rig rig;
    Form1& form = rig.form;
    form.Command1_Click();
    buildLadder(form);
    form.Timer2_Timer();
    form.Timer3_Timer();
    QVERIFY(!form.Timer2.isActive());
    buildLadder(form);
    tracePath(form);
    QCOMPARE(form.experiment().tally().total(), 1);
}

void Form1Test::initialiseClearsTheTallyAndAsksAgain() {
    Rig rig;
    Form1& form = rig.form;
    for (int t = 0; t < 5; ++t) {
        form.Command1_Click();
        buildLadder(form);
        tracePath(form);
    }
    form.Command5_Click();
    rig.dialogs.answers << QStringLiteral("45");
    const int promptsBefore = rig.dialogs.prompts;
    form.Command4_Click();
    QCOMPARE(rig.dialogs.prompts, promptsBefore + 1);
    QCOMPARE(rig.sounds.played, QStringList{QStringLiteral("pinpon.wav")});
    QCOMPARE(form.experiment().tally().total(), 0);
    QCOMPARE(int(form.experiment().ladder().rungCount()), 45);
    for (int k = 1; k <= kLineCount; ++k) {
        QVERIFY(visibleMarkers(form, k).isEmpty());
    }
    QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(form.Label1->text(), QString());
}

void Form1Test::markerColumnsSitJustRightOfTheirLines() {
    RandomSource random(1);
    ScriptedDialogs dialogs;
    RecordedSounds sounds;
    Form1 form(random, dialogs, sounds);
    const QPoint origin = form.Picture1->contentsRect().topLeft();
    for (int k = 1; k <= kLineCount; ++k) {
        for (int i = 1; i <= 20; ++i) {
            const QRect box = form.o(k)[i]->geometry().translated(-origin);
            QCOMPARE(box.size(), QSize(9, 9));
            const double offset = box.left() + 4.5 - pixelX(k);
            QVERIFY2(offset >= 0 && offset <= 2, qPrintable(QStringLiteral("column %1").arg(k)));
            QCOMPARE(box.top(), 432 - 8 * (i - 1));
        }
        // The full column stays clear of the line ends.
        QVERIFY(form.o(k)[20]->geometry().translated(-origin).top() > pixelY(kBottomY));
    }
}

void Form1Test::quitAndHelpPlayTheirCues_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("reply");
    QTest::addColumn<QString>("cue");
    QTest::addColumn<int>("ends");
    QTest::addColumn<int>("helps");

    QTest::newRow("quit, yes") << "quit" << true << "endpinpon.wav" << 1 << 0;
    QTest::newRow("quit, no") << "quit" << false << "endpinpon.wav" << 0 << 0;
    QTest::newRow("help") << "help" << false << "pinpon.wav" << 0 << 1;
}

void Form1Test::quitAndHelpPlayTheirCues() {
    QFETCH(QString, button);
    QFETCH(bool, reply);
    QFETCH(QString, cue);
    QFETCH(int, ends);
    QFETCH(int, helps);
    Rig rig;
    QSignalSpy ended(&rig.form, &Form1::endRequested);
    QSignalSpy helped(&rig.form, &Form1::helpRequested);
    rig.dialogs.replies << reply;
    const QString before = buttonStates(rig.form);
    QTest::mouseClick(button == QLatin1String("quit") ? rig.form.Command3 : rig.form.Command6,
                      Qt::LeftButton);
    QCOMPARE(rig.sounds.played, QStringList{cue});
    QCOMPARE(ended.count(), ends);
    QCOMPARE(helped.count(), helps);
    QCOMPARE(buttonStates(rig.form), before);
    if (button == QLatin1String("quit")) {
        QCOMPARE(rig.dialogs.questions,
                 QStringList{QStringLiteral("たなばしご|終了していいですか？")});
    }
}

void Form1Test::activatesOnceAfterBeingShown() {
    RandomSource random(1);
    ScriptedDialogs dialogs;
    RecordedSounds sounds;
    Form1 form(random, dialogs, sounds);
    form.show();
    QTRY_COMPARE(dialogs.prompts, 1);
    form.hide();
    form.show();
    form.activateWindow();
    QTest::qWait(20);
    QCOMPARE(dialogs.prompts, 1);
    QCOMPARE(buttonStates(form), QStringLiteral("101001"));
}

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
