#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "command_line.h"
#include "form1_fixture.h"
#include "form2.h"
#include "landing_recorder.h"
#include "picturebox.h"
#include "record_line.h"
#include "twips.h"
#include "window_flow.h"

using namespace tanabashigo;

namespace {

/// A paced main window with 50 rungs on a clock the test moves by hand.
struct PacedRig {
    std::int64_t now = 0;
    RandomSource random{11};
    ScriptedDialogs dialogs;
    RecordedSounds sounds;
    Form1 form;

    explicit PacedRig(bool paced)
        : form(random, dialogs, sounds, {60, paced, nullptr, [this] { return now; }}) {
        dialogs.answers << QStringLiteral("50");
        form.Form_Activate();
        form.Command1_Click();
    }
    bool aTrialJustStarted() const { return form.experiment().ladder().rungNo() == 1; }
};

/// Widths of the dark runs along row y of an image.
QList<int> darkRuns(const QImage& image, int y) {
    QList<int> runs;
    int run = 0;
    for (int x = 0; x <= image.width(); ++x) {
        if (x < image.width() && qGray(image.pixel(x, y)) < 64) {
            ++run;
        } else if (run > 0) {
            runs << run;
            run = 0;
        }
    }
    return runs;
}

/// The well-formed record lines of a file's text; fails the test on any other line.
QList<RecordLine> recordLines(const QByteArray& text) {
    QList<RecordLine> lines;
    for (const QByteArray& line : text.split('\n')) {
        if (line.isEmpty() || line == QByteArray(recordHeader().data())) {
            continue;
        }
        const auto parsed = parseRecordLine(line.toStdString());
        if (!parsed) {
            qWarning() << "malformed record line" << line;
            return {};
        }
        lines << *parsed;
    }
    return lines;
}

/// Whether the lines of `experiment` number its trials 1, 2, ..., count each column as the
/// window does, and add up to the markers it shows now.
bool recordMatchesMarkers(const QList<RecordLine>& lines, int experiment, const Form1& form) {
    std::array<int, kLineCount + 1> counts{};
    int trial = 0;
    for (const RecordLine& line : lines) {
        if (line.experiment != experiment) {
            continue;
        }
        counts[line.column] += line.endsExperiment ? 0 : 1;
        if (line.trial != ++trial || line.count != counts[line.column] || line.rungs != 30 ||
            line.start != 3) {
            return false;
        }
    }
    for (int k = 1; k <= kLineCount; ++k) {
        if (visibleMarkers(form, k).size() != counts[k]) {
            return false;
        }
    }
    return trial > 0;
}

/// Runs `trials` trials of the window to their landings, or fewer when the experiment ends.
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
    void windowOptions_data();
    void windowOptions();
    void aSlowTickNeverCutsATrialShort_data();
    void aSlowTickNeverCutsATrialShort();
    void zoomToFitKeepsTheWholeWindowOnScreen_data();
    void zoomToFitKeepsTheWholeWindowOnScreen();
    void ladderLinesKeepOneWidthAtAnyZoom_data();
    void ladderLinesKeepOneWidthAtAnyZoom();
    void everyHelpLineShowsWhole_data();
    void everyHelpLineShowsWhole();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void theRecordKeepsEveryLandingShown();
};

void ClassroomTest::windowOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("tick");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<bool>("fit");
    const auto row = [](const char* name, QStringList args, int status, int tick = 0,
                        double zoom = 1.0, bool fit = false) {
        QTest::newRow(name) << args << status << tick << zoom << fit;
    };
    row("no option", {}, 0);
    row("slowest tick", {"--tick", "200"}, 0, 200);
    row("fastest tick", {"--tick", "3"}, 0, 3);
    row("tick too fast", {"--tick", "2"}, 2);
    row("tick too slow", {"--tick", "201"}, 2);
    row("tick with a fraction", {"--tick", "60.5"}, 2);
    row("decimal zoom", {"--zoom", "1.5"}, 0, 0, 1.5);
    row("largest zoom", {"--zoom", "4"}, 0, 0, 4.0);
    row("zoom to fit", {"--zoom", "fit"}, 0, 0, 1.0, true);
    row("zoom below 1", {"--zoom", "0.9"}, 2);
    row("zoom above 4", {"--zoom", "4.01"}, 2);
    row("zoom with a comma", {"--zoom", "1,5"}, 2);
    row("zoom as a word", {"--zoom", "big"}, 2);
    row("record to nowhere", {"--record", ""}, 2);
    row("window option with analyse", {"--analyse", "--tick", "60"}, 2);
}

void ClassroomTest::windowOptions() {
    QFETCH(QStringList, arguments);
    arguments.prepend(QStringLiteral("tanabashigo"));
    std::vector<QByteArray> bytes;
    std::vector<char*> argv;
    for (const QString& argument : arguments) {
        bytes.push_back(argument.toUtf8());
    }
    for (QByteArray& argument : bytes) {
        argv.push_back(argument.data());
    }
    const CommandLine line = parseCommandLine(int(argv.size()), argv.data());
    QFETCH(int, status);
    QFETCH(int, tick);
    QFETCH(double, zoom);
    QFETCH(bool, fit);
    QCOMPARE(line.mode == CommandLine::Mode::Exit ? line.exitStatus : 0, status);
    if (status == 0) {
        QCOMPARE(line.tickMs.value_or(0), tick);
        QCOMPARE(line.zoom, zoom);
        QCOMPARE(line.zoomToFit, fit);
    }
}

void ClassroomTest::aSlowTickNeverCutsATrialShort_data() {
    QTest::addColumn<bool>("paced");
    QTest::addColumn<int>("buildTicks");  ///< ladder ticks before Timer3 fires; -1: after landing
    QTest::addColumn<int>("sinceLanding");
    QTest::addColumn<bool>("startsAtOnce");
    QTest::addColumn<int>("heldFor");  ///< the wait from the landing or the due time
    QTest::newRow("unpaced, mid ladder") << false << 20 << 0 << true << 0;
    QTest::newRow("paced, mid ladder") << true << 20 << 0 << false << 2000;
    QTest::newRow("paced, ladder just done") << true << 1000 << 0 << false << 2000;
    QTest::newRow("paced, landed 0.5 s ago") << true << -1 << 500 << false << 1500;
    QTest::newRow("paced, landed 1.999 s ago") << true << -1 << 1999 << false << 1;
    QTest::newRow("paced, landed 2 s ago") << true << -1 << 2000 << true << 0;
    QTest::newRow("unpaced, landed 0.5 s ago") << false << -1 << 500 << true << 0;
}

void ClassroomTest::aSlowTickNeverCutsATrialShort() {
    QFETCH(bool, paced);
    QFETCH(int, buildTicks);
    QFETCH(int, sinceLanding);
    QFETCH(bool, startsAtOnce);
    QFETCH(int, heldFor);
    PacedRig rig(paced);
    Form1& form = rig.form;
    for (int tick = 0; form.Timer1.isActive() && (buildTicks < 0 || tick < buildTicks); ++tick) {
        form.Timer1_Timer();
    }
    const bool landedBefore = buildTicks < 0;
    if (landedBefore) {
        rig.now = 4000;
        tracePath(form);
        rig.now += sinceLanding;
    }
    const int landingsBefore = form.experiment().tally().total();
    form.Timer3_Timer();
    QCOMPARE(rig.aTrialJustStarted(), startsAtOnce);
    if (startsAtOnce) {
        return;
    }
    QCOMPARE(form.Timer3.isActive(), false);
    if (!landedBefore) {
        QVERIFY(!form.NextTrial.isActive());
        buildLadder(form);
        tracePath(form);
        QCOMPARE(form.experiment().tally().total(), landingsBefore + 1);
    }
    QVERIFY(form.NextTrial.isActive());
    QCOMPARE(form.NextTrial.interval(), heldFor);
    form.NextTrial_Timer();
    QVERIFY(rig.aTrialJustStarted());
    QVERIFY(form.Timer3.isActive());
}

void ClassroomTest::zoomToFitKeepsTheWholeWindowOnScreen_data() {
    QTest::addColumn<QSize>("available");
    QTest::addColumn<double>("zoom");
    QTest::newRow("1024x768 projector") << QSize(1024, 768) << 1.25;
    QTest::newRow("wide screen, height decides") << QSize(1920, 1080) << 1.8;
    QTest::newRow("tall screen, width decides") << QSize(1000, 2000) << 1.45;
    QTest::newRow("too small for the design") << QSize(640, 480) << 1.0;
    QTest::newRow("huge screen") << QSize(8000, 8000) << 4.0;
}

void ClassroomTest::zoomToFitKeepsTheWholeWindowOnScreen() {
    QFETCH(QSize, available);
    QFETCH(double, zoom);
    QCOMPARE(Form1::zoomToFit(available, QSize(16, 48)), zoom);
}

void ClassroomTest::ladderLinesKeepOneWidthAtAnyZoom_data() {
    QTest::addColumn<double>("zoom");
    for (double zoom : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.3, 4.0}) {
        QTest::newRow(qPrintable(QString::number(zoom))) << zoom;
    }
}

void ClassroomTest::ladderLinesKeepOneWidthAtAnyZoom() {
    QFETCH(double, zoom);
    setLayoutZoom(zoom);
    RandomSource random(5);
    ScriptedDialogs dialogs;
    RecordedSounds sounds;
    Form1 form(random, dialogs, sounds);
    form.Form_Activate();
    const QImage image = form.Picture1->image();
    QSet<int> widths;
    for (int row = 0; row < 8; ++row) {
        const QList<int> runs = darkRuns(image, image.height() * (12 + 5 * row) / 100);
        QCOMPARE(runs.size(), kLineCount);
        widths.unite(QSet<int>(runs.begin(), runs.end()));
    }
    QCOMPARE(widths.size(), 1);
    QVERIFY(*widths.begin() >= int(zoom));
}

void ClassroomTest::everyHelpLineShowsWhole_data() {
    QTest::addColumn<double>("zoom");
    QTest::newRow("1") << 1.0;
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("2") << 2.0;
}

void ClassroomTest::everyHelpLineShowsWhole() {
    QFETCH(double, zoom);
    setLayoutZoom(zoom);
    Form2 form;
    form.Form_Activate();
    const QImage image = form.Picture1->image();
    for (int y = 0; y < image.height(); ++y) {
        QCOMPARE(image.pixel(image.width() - 1, y), qRgb(255, 255, 255));
    }
    QVERIFY(form.Command1->geometry().right() < form.width());
}

void ClassroomTest::enterPressesTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

void ClassroomTest::enterPressesTheFocusedButton() {
    QFETCH(int, key);
    PacedRig rig(false);
    rig.form.Command5_Click();
    QTest::keyClick(rig.form.Command1, Qt::Key(key));
    QVERIFY(rig.form.Timer3.isActive());
    QTest::keyClick(rig.form.Command5, Qt::Key(key));
    QVERIFY(!rig.form.Timer3.isActive());
    Form2 help;
    QSignalSpy closing(&help, &Form2::mainWindowRequested);
    QTest::keyClick(help.Command1, Qt::Key(key));
    QCOMPARE(closing.size(), 1);
}

void ClassroomTest::theRecordKeepsEveryLandingShown() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("class.csv"));
    QVERIFY(!AppendFile::open(dir.path().toStdString()));
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write(QByteArray(recordHeader().data()) +
                  "\n2026-12-06T10:00:00+09:00,4,1,30,3,4,1,landing");
    earlier.close();
    const auto file = AppendFile::open(path.toStdString());
    QVERIFY(file);
    CsvLandingRecorder recorder(*file, [] { return std::string("2026-12-07T09:15:02+09:00"); });
    RandomSource random(3);
    ScriptedDialogs dialogs;
    RecordedSounds sounds;
    WindowFlow flow(random, dialogs, sounds, {3, false, &recorder, {}});
    const auto mainWindow = [&flow] { return qobject_cast<Form1*>(flow.currentWindow()); };
    const auto fileLines = [&] {
        QFile saved(path);
        return saved.open(QIODevice::ReadOnly) ? recordLines(saved.readAll()) : QList<RecordLine>();
    };

    flow.showMainWindow();
    QTRY_COMPARE(dialogs.prompts, 1);
    runTrials(*mainWindow(), 12);
    QVERIFY(recordMatchesMarkers(fileLines(), 5, *mainWindow()));
    mainWindow()->Command4_Click();  // 初期化: the markers go, their lines stay
    runTrials(*mainWindow(), 7);
    QVERIFY(recordMatchesMarkers(fileLines(), 6, *mainWindow()));
    mainWindow()->Command6_Click();  // HELP, and back to a fresh window
    QTRY_VERIFY(qobject_cast<Form2*>(flow.currentWindow()));
    qobject_cast<Form2*>(flow.currentWindow())->Command1_Click();
    QTRY_COMPARE(dialogs.prompts, 3);
    runTrials(*mainWindow(), 1000);
    const QList<RecordLine> lines = fileLines();
    QVERIFY(recordMatchesMarkers(lines, 7, *mainWindow()));
    QCOMPARE(lines.size(), 1 + 12 + 7 + mainWindow()->experiment().tally().total() + 1);
    QVERIFY(lines.back().endsExperiment && lines.back().count == 20);
    QCOMPARE(lines.first().experiment, 4);
}

QTEST_MAIN(ClassroomTest)
#include "tst_classroom.moc"
