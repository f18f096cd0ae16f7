#include <QTemporaryDir>
#include <QTest>

#include "form1_fixture.h"
#include "form2.h"
#include "landing_recorder.h"
#include "picturebox.h"
#include "record_line.h"
#include "twips.h"
#include "window_flow.h"

using namespace tanabashigo;

namespace {

/// A main window with scripted boxes, activated with 30 rungs, on a clock moved by hand.
struct Rig {
    std::int64_t now = 0;
    RandomSource random{11};
    ScriptedDialogs dialogs;
    RecordedSounds sounds;
    Form1 form;
    explicit Rig(bool paced)
        : form(random, dialogs, sounds, {60, paced, nullptr, [this] { return now; }}) {
        form.Form_Activate();
        form.Command1_Click();
    }
};

/// Widths of the dark runs along row y of an image.
QList<int> darkRuns(const QImage& image, int y) {
    QList<int> runs{0};
    for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) < 64) {
            ++runs.back();
        } else if (runs.back() > 0) {
            runs.append(0);
        }
    }
    runs.removeAll(0);
    return runs;
}

/// Landings per column (1..10) of `experiment` in a record file; empty when its trials are not
/// numbered 1, 2, ... or a line's count is not its column's count after that landing.
QList<int> recordedCounts(const QString& path, int experiment) {
    QFile file(path);
    QList<int> counts(kLineCount + 1, 0);
    int trial = 0;
    for (const QByteArray& text :
         file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>()) {
        const auto line = parseRecordLine(text.toStdString());
        if (line && line->experiment == experiment) {
            counts[line->column] += line->endsExperiment ? 0 : 1;
            if (line->trial != ++trial || line->count != counts[line->column]) {
                return {};
            }
        }
    }
    return counts;
}

/// Markers shown per column (1..10).
QList<int> markerCounts(const Form1& form) {
    QList<int> counts{0};
    for (int k = 1; k <= kLineCount; ++k) {
        counts << int(visibleMarkers(form, k).size());
    }
    return counts;
}

/// Runs up to `trials` trials to their landings, then stops.
void runTrials(Form1& form, int trials) {
    for (int n = 0; n < trials && !form.experiment().isFinished(); ++n) {
        form.Command1_Click();
        buildLadder(form);
        tracePath(form);
    }
    form.Command5_Click();
}

}  // namespace

class ClassroomTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setLayoutZoom(1.0); }

    void aSlowTickNeverCutsATrialShort_data() {
        QTest::addColumn<bool>("paced");
        QTest::addColumn<int>("buildTicks");  ///< ladder ticks before Timer3 fires; -1: landed
        QTest::addColumn<int>("sinceLanding");
        QTest::addColumn<int>("heldFor");  ///< 0: the next trial starts at once
        QTest::newRow("unpaced, mid ladder") << false << 20 << 0 << 0;
        QTest::newRow("paced, mid ladder") << true << 20 << 0 << 2000;
        QTest::newRow("paced, tracing") << true << 1000 << 0 << 2000;
        QTest::newRow("paced, landed 0.5 s ago") << true << -1 << 500 << 1500;
        QTest::newRow("paced, landed 2 s ago") << true << -1 << 2000 << 0;
    }
    void aSlowTickNeverCutsATrialShort() {
        QFETCH(bool, paced);
        QFETCH(int, buildTicks);
        QFETCH(int, sinceLanding);
        QFETCH(int, heldFor);
        Rig rig(paced);
        Form1& form = rig.form;
        for (int tick = 0; form.Timer1.isActive() && (buildTicks < 0 || tick < buildTicks);
             ++tick) {
            form.Timer1_Timer();
        }
        if (buildTicks < 0) {
            rig.now = 4000;
            tracePath(form);
            rig.now += sinceLanding;
        }
        form.Timer3_Timer();
        const auto justStarted = [&form] { return form.experiment().ladder().rungNo() == 1; };
        QCOMPARE(justStarted(), heldFor == 0);
        if (heldFor == 0) {
            return;
        }
        if (buildTicks >= 0) {
            QVERIFY(!form.NextTrial.isActive());
            buildLadder(form);
            tracePath(form);
        }
        QCOMPARE(form.NextTrial.isActive() ? form.NextTrial.interval() : -1, heldFor);
        form.NextTrial_Timer();
        QVERIFY(justStarted() && form.Timer3.isActive());
    }

    void zoomKeepsLinesEvenAndHelpLinesWhole_data() {
        QTest::addColumn<double>("zoom");
        for (double zoom : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.3, 4.0}) {
            QTest::newRow(qPrintable(QString::number(zoom))) << zoom;
        }
    }
    void zoomKeepsLinesEvenAndHelpLinesWhole() {
        QFETCH(double, zoom);
        setLayoutZoom(zoom);
        Rig rig(false);  // the empty ladder stands, no rung yet
        const QImage ladder = rig.form.Picture1->image();
        QSet<int> widths;
        for (int row = 12; row < 60; row += 6) {
            const QList<int> runs = darkRuns(ladder, ladder.height() * row / 100);
            QCOMPARE(runs.size(), kLineCount);
            widths.unite(QSet<int>(runs.begin(), runs.end()));
        }
        QCOMPARE(widths.size(), 1);
        QVERIFY(*widths.begin() >= int(zoom));
        Form2 help;
        help.Form_Activate();
        const QImage text = help.Picture1->image();
        for (int y = 0; y < text.height(); ++y) {
            QCOMPARE(text.pixel(text.width() - 1, y), qRgb(255, 255, 255));
        }
    }

    void enterPressesTheFocusedButton() {
        Rig rig(false);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(rig.form.Command5, key);
            QVERIFY(!rig.form.Timer3.isActive());
            QTest::keyClick(rig.form.Command1, key);
            QVERIFY(rig.form.Timer3.isActive());
        }
    }

    void theRecordKeepsEveryLandingShown() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("class.csv"));
        QVERIFY(!AppendFile::open(dir.path().toStdString()));
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("2026-12-06T10:00:00+09:00,4,1,30,3,4,1,landing");  // no header, no line end
        earlier.close();
        const auto file = AppendFile::open(path.toStdString());
        CsvLandingRecorder recorder(*file, [] { return std::string("2026-12-07T09:15:02+09:00"); });
        RandomSource random(3);
        ScriptedDialogs dialogs;
        RecordedSounds sounds;
        WindowFlow flow(random, dialogs, sounds, {3, false, &recorder, {}});
        const auto form = [&flow] { return qobject_cast<Form1*>(flow.currentWindow()); };
        flow.showMainWindow();
        QTRY_COMPARE(dialogs.prompts, 1);
        runTrials(*form(), 12);
        QCOMPARE(recordedCounts(path, 5), markerCounts(*form()));
        form()->Command4_Click();  // 初期化: the markers go, their lines stay
        runTrials(*form(), 7);
        QCOMPARE(recordedCounts(path, 6), markerCounts(*form()));
        form()->Command6_Click();  // HELP, and back to a fresh window
        qobject_cast<Form2*>(flow.currentWindow())->Command1_Click();
        QTRY_COMPARE(dialogs.prompts, 3);
        runTrials(*form(), 1000);
        QCOMPARE(recordedCounts(path, 7), markerCounts(*form()));
        QFile saved(path);
        const QList<QByteArray> lines = saved.open(QIODevice::ReadOnly)
                                            ? saved.readAll().trimmed().split('\n')
                                            : QList<QByteArray>();
        QCOMPARE(lines.size(), 1 + 12 + 7 + form()->experiment().tally().total() + 1);
        QVERIFY(lines.back().endsWith(",20,end"));
    }
};

QTEST_MAIN(ClassroomTest)
#include "tst_classroom.moc"
