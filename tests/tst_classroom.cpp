#include <QTemporaryDir>
#include <QTest>

#include "form1_fixture.h"
#include "form2.h"
#include "picturebox.h"
#include "record_file.h"
#include "record_line.h"
#include "record_writer.h"
#include "twips.h"
#include "window_flow.h"

using namespace tanabashigo;

namespace {

/// A main window with scripted boxes, activated with 30 rungs, on the test clock.
struct Rig {
    RandomSource random{11};
    ScriptedDialogs dialogs;
    RecordedSounds sounds;
    Form1 form;
    Rig() : form(random, dialogs, sounds, onTestClock(60)) {
        form.Form_Activate();
        form.Command1_Click();
    }
};

/// Each experiment of a record file as "number: counts of columns 1..10[ end]"; none when the
/// file is refused.
QStringList recordedExperiments(const QString& path) {
    const auto read = readRecordFile(path.toStdString());
    QStringList experiments;
    for (const RecordedExperiment& e : std::holds_alternative<RecordError>(read)
                                           ? std::vector<RecordedExperiment>()
                                           : std::get<0>(read).experiments) {
        QString counts = QString::number(e.experiment) + ':';
        for (const std::uint64_t count : e.counts) {
            counts += ' ' + QString::number(count);
        }
        experiments << counts + (e.ended ? " end" : "");
    }
    return experiments;
}

/// Runs up to `trials` trials to their landings, stops, and gives the markers shown per column
/// as record lines count them, with experiment number `experiment`.
QString runTrials(Form1& form, int trials, int experiment) {
    for (int n = 0; n < trials && !form.experiment().isFinished(); ++n) {
        form.Command1_Click();
        buildLadder(form);
        tracePath(form);
    }
    form.Command5_Click();
    QString counts = QString::number(experiment) + ':';
    for (int k = 1; k <= kLineCount; ++k) {
        counts += ' ' + QString::number(visibleMarkers(form, k).size());
    }
    return counts + (form.experiment().isFinished() ? " end" : "");
}

}  // namespace

class ClassroomTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setLayoutZoom(1.0); }

    void zoomKeepsLinesEvenAndHelpLinesWhole_data() {
        QTest::addColumn<double>("zoom");
        for (double zoom : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.3, 4.0}) {
            QTest::newRow(qPrintable(QString::number(zoom))) << zoom;
        }
    }
    void zoomKeepsLinesEvenAndHelpLinesWhole() {
        QFETCH(double, zoom);
        setLayoutZoom(zoom);
        Rig rig;  // the empty ladder stands, no rung yet
        const QImage ladder = rig.form.Picture1->image();
        QString shades;  // '#' for each dark pixel along eight rows across the ladder
        for (int row = 12; row < 60; row += 6) {
            for (int x = 0; x < ladder.width(); ++x) {
                shades += qGray(ladder.pixel(x, ladder.height() * row / 100)) < 64 ? '#' : ' ';
            }
            shades += ' ';
        }
        const QStringList lines = shades.split(' ', Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty() && lines[0].size() >= int(zoom));
        QCOMPARE(lines, QStringList(8 * kLineCount, lines[0]));
        Form2 help;
        help.Form_Activate();
        const QImage text = help.Picture1->image();
        for (int y = 0; y < text.height(); ++y) {
            QCOMPARE(text.pixel(text.width() - 1, y), qRgb(255, 255, 255));
        }
    }

    void enterPressesTheFocusedButton() {
        Rig rig;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(rig.form.Command5, key);
            QVERIFY(!rig.form.model().isRunning(WindowTimer::NextTrial));
            QTest::keyClick(rig.form.Command1, key);
            QVERIFY(rig.form.model().isRunning(WindowTimer::NextTrial));
        }
    }

    void theRecordKeepsEveryLandingShown() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("class.csv"));
        QFile earlier(path);  // an earlier lesson's, without a line end
        QVERIFY(earlier.open(QIODevice::WriteOnly) &&
                earlier.write(QByteArray(recordHeader().data(), recordHeader().size()) +
                              "\n2026-12-06T10:00:00+09:00,4,1,30,3,4,1,landing") > 0);
        earlier.close();
        auto opened =
            RecordWriter::open(path.toStdString(), [] { return "2026-12-07T09:15:02+09:00"; });
        RecordWriter& recorder = *std::get<0>(opened);
        RandomSource random(3);
        ScriptedDialogs dialogs;
        RecordedSounds sounds;
        WindowFlow flow(random, dialogs, sounds, onTestClock(3, &recorder));
        const auto form = [&flow] { return qobject_cast<Form1*>(flow.currentWindow()); };
        flow.showMainWindow();
        QTRY_COMPARE(dialogs.prompts, 1);
        QStringList shown{"4: 0 0 0 1 0 0 0 0 0 0"};
        shown << runTrials(*form(), 12, 5);
        form()->Command4_Click();  // 初期化: the markers go, their lines stay
        shown << runTrials(*form(), 7, 6);
        form()->Command6_Click();  // HELP, and back to a fresh window
        qobject_cast<Form2*>(flow.currentWindow())->Command1_Click();
        QTRY_COMPARE(dialogs.prompts, 3);
        shown << runTrials(*form(), 1000, 7);
        QVERIFY(shown.back().endsWith(" end"));
        QCOMPARE(recordedExperiments(path), shown);
    }
};

QTEST_MAIN(ClassroomTest)
#include "tst_classroom.moc"
