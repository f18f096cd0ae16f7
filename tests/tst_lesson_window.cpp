#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "form1_fixture.h"
#include "landing_recorder.h"
#include "lesson_key_table.h"
#include "lesson_surface.h"
#include "lesson_window.h"
#include "theory_dialogs.h"
#include "theory_window.h"

using namespace tanabashigo;

namespace {

/// Landings kept in memory, with the experiments they were told of.
class KeptLandings final : public LandingRecorder {
public:
    std::vector<LandingEntry> landings;
    int experiments = 0;
    QList<bool> refusals;  ///< the next tries refused: true for a file another program holds
    QList<ClassPrediction> predictions;  ///< as given before each landing
    void startExperiment() override { ++experiments; }
    void predict(const ClassPrediction& prediction) override { predictions << prediction; }
    std::optional<RecordFault> recordLanding(const LandingEntry& landing) override {
        if (!refusals.isEmpty()) {
            const bool busy = refusals.takeFirst();
            return RecordFault{"class.csv", "ディスクがいっぱいです。", "the disk is full", 0,
                               busy};
        }
        landings.push_back(landing);
        return std::nullopt;
    }
};

/// A file chooser that answers `path`, running `whileOpen` before it answers.
class FileChooser final : public TheoryDialogs {
public:
    QString path;
    std::function<void()> whileOpen;
    QStringList openRecordFiles(QWidget*) override { return {}; }
    QString saveFile(QWidget*, const QString&, const QString&, const QStringList&) override {
        whileOpen();
        return path;
    }
    void warn(QWidget*, const QString&, const QString&) override {}
};

/// A lesson window on a clock the test moves.
struct Classroom {
    ScriptedDialogs dialogs;
    KeptLandings record;
    FileChooser files;
    double clock = 0;
    QTemporaryDir folder;
    QStringList cues;  ///< the cue files played, in order
    LessonWindow window{dialogs, options()};

    LessonOptions options() {
        LessonOptions options;
        options.rungs = 12;
        options.startLine = 6;
        options.seed = 5;
        options.speed = kFastestSpeed;
        options.recorder = &record;
        options.fileDialogs = &files;
        options.clockMs = [this] { return clock; };
        options.settingsFile = folder.filePath("room.ini");
        options.playCue = [this](const QString& file) { cues << file; };
        return options;
    }

    /// Moves the clock on by `ms`, waking the window whenever a move is due.
    void run(double ms) {
        const double until = clock + ms;
        for (double due = window.lesson().nextDueMs(); due >= 0 && due <= until;
             due = window.lesson().nextDueMs()) {
            clock = std::max(clock, due);
            window.onDue();
        }
        clock = until;
    }
    void show() {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window.surface(), Qt::Key(key), modifiers);
    }
    int markers() const {
        const std::vector<int> counts = window.lesson().counts();
        return std::accumulate(counts.begin(), counts.end(), 0);
    }
};

}  // namespace

class LessonWindowTest : public QObject {
    Q_OBJECT
private slots:
    void nothingIsLostWithoutAQuestion_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("landed");  // markers on the tally before the action
        QTest::addColumn<bool>("yes");     // the answer to any question
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("kept");  // the markers are still there afterwards
        QTest::addColumn<bool>("open");
        for (const bool yes : {false, true}) {
            QTest::addRow("close, empty, %d", yes) << "close" << false << yes << 0 << true << false;
            QTest::addRow("close, %d", yes) << "close" << true << yes << 1 << true << !yes;
            QTest::addRow("initialise, %d", yes)
                << "initialise" << true << yes << 1 << !yes << true;
            QTest::addRow("rungs, %d", yes) << "rungs" << true << yes << 1 << !yes << true;
            QTest::addRow("help and back, %d", yes) << "help" << true << yes << 0 << true << true;
        }
        QTest::newRow("worksheet") << "worksheet" << true << true << 0 << true << true;
    }

    // Every landing goes to the record as it lands; a tally with markers is only cleared or
    // closed after a yes, and HELP and the worksheet leave it alone; the worksheet counts every
    // landing of the record.
    void nothingIsLostWithoutAQuestion() {
        QFETCH(QString, action);
        QFETCH(bool, landed);
        QFETCH(bool, yes);
        Classroom room;
        room.show();
        room.key(landed ? Qt::Key_Return : Qt::Key_Right);
        room.run(landed ? 20'000 : 0);
        const int markers = room.markers();
        QCOMPARE(markers > 0, landed);
        QCOMPARE(int(room.record.landings.size()),
                 markers + (room.window.lesson().isFinished() ? 1 : 0));
        for (const LandingEntry& landing : room.record.landings) {
            QCOMPARE(std::pair(landing.rungs, landing.start), std::pair(12, 6));
        }
        room.dialogs.replies = {yes};
        // No trial lands while a question is open, however long it stays.
        const std::size_t kept = room.record.landings.size();
        const bool running = room.window.lesson().isRunning() && !room.window.lesson().isPaused();
        room.dialogs.whileAsked = [&room] { room.run(5'000); };
        if (action == "close") {
            room.window.close();
        } else if (action == "initialise") {
            room.window.onInitialise();
        } else if (action == "rungs") {
            room.window.onRungsChosen(40);
            QCOMPARE(room.window.lesson().rungCount(), yes ? 40 : 12);
        } else if (action == "worksheet") {
            const QTemporaryDir folder;
            room.files.path = folder.filePath("w.pdf");
            room.files.whileOpen = room.dialogs.whileAsked;
            room.window.onSaveWorksheet();
            QFile pdf(room.files.path);
            QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
            ColumnCounts landed{};
            for (const LandingEntry& landing : room.record.landings) {
                ++landed[landing.column];
            }
            QVERIFY(room.window.worksheet()->counts == landed);
        } else {
            room.window.onHelp();
            QWidget* help = QApplication::activeModalWidget();
            QVERIFY(help != nullptr);
            room.run(5'000);
            help->close();
        }
        QCOMPARE(room.record.landings.size(), kept);
        // A kept tally goes on where it was; a cleared one waits for 開始.
        QCOMPARE(room.window.lesson().isRunning() && !room.window.lesson().isPaused(),
                 running && room.markers() == markers && room.window.isVisible());
        QTEST(room.dialogs.questions, "questions");
        QTEST(room.markers() == markers, "kept");
        QTEST(room.window.isVisible(), "open");
        QCOMPARE(room.record.experiments, room.markers() == markers ? 1 : 2);
    }

    void noMarkerShowsWithoutItsLine_data() {
        QTest::addColumn<int>("busyTries");  // tries answered "held by another program"
        QTest::addColumn<bool>("fails");     // then one try refused outright
        QTest::addColumn<int>("warnings");   // before the trials start again
        QTest::newRow("write fails") << 0 << true << 1;
        QTest::newRow("held briefly") << 10 << false << 0;
        QTest::newRow("held too long") << 60 << false << 1;
    }
    // A landing that cannot be written holds its marker back and pauses the trials; a file
    // held by another program is tried again without waiting, and refused after about 2 s; the
    // landing is written when the trials start again.
    void noMarkerShowsWithoutItsLine() {
        QFETCH(int, busyTries);
        QFETCH(bool, fails);
        Classroom room;
        room.show();
        room.window.onSoundChosen(true);
        for (int n = 0; n < busyTries; ++n) {
            room.record.refusals << true;
        }
        if (fails) {
            room.record.refusals << false;
        }
        room.key(Qt::Key_Return);
        for (int n = 0; n < 20'000 && room.window.lesson().trial() < 2 &&
                        room.window.surface()->heldColumn() == 0;
             ++n) {
            room.run(10);
        }
        QVERIFY(room.window.surface()->heldColumn() > 0 || busyTries == 0);
        for (int n = 0;
             n < 100 && room.window.surface()->heldColumn() > 0 && room.dialogs.warnings.isEmpty();
             ++n) {
            room.clock += RecordGate::kRetryMs;
            room.window.onRetry();
        }
        QTEST(int(room.dialogs.warnings.size()), "warnings");
        // No chime sounds before its line is written, as no marker shows.
        QCOMPARE(room.cues.count("pinpon.wav"),
                 room.markers() - int(room.window.surface()->heldColumn() > 0));
        QCOMPARE(room.window.surface()->heldColumn() > 0, !room.dialogs.warnings.isEmpty());
        QCOMPARE(room.window.lesson().isPaused(), !room.dialogs.warnings.isEmpty());
        QCOMPARE(room.record.landings.empty(), !room.dialogs.warnings.isEmpty());
        room.record.refusals.clear();
        if (room.record.landings.empty()) {
            room.key(Qt::Key_Return);  // the held landing is written first
            QCOMPARE(room.record.landings.size(), std::size_t(1));
            QVERIFY(!room.window.lesson().isPaused());
        }
        QCOMPARE(room.window.surface()->heldColumn(), 0);
        QCOMPARE(room.cues.count("pinpon.wav"), room.markers());
        QCOMPARE(room.record.landings[0].count,
                 room.window.lesson().count(room.record.landings[0].column));
    }

    // Enter, Space and → follow the shared table for every focus and view in front the window
    // can have: its picture or a spin box; a question, the help or 理論と実験.
    void keysFollowFocusAndFront() {
        const std::map<QString, int> keys{
            {"enter", Qt::Key_Return}, {"space", Qt::Key_Space}, {"right", Qt::Key_Right}};
        int checked = 0;
        for (const LessonKeyRow& row : lessonKeyTable()) {
            if (row.focus != "none" && row.focus != "spinbox") {
                continue;  // the window's buttons and slider take no focus
            }
            Classroom room;
            room.show();
            if (row.key == "space") {
                room.window.onStart();
            }
            QWidget* focus = room.window.surface();
            if (row.focus == "spinbox") {
                focus = room.window.findChildren<QSpinBox*>()[checked % 2];
            }
            QTest::mouseClick(focus, Qt::LeftButton);
            QMessageBox box;
            if (row.front == "box") {
                box.setWindowModality(Qt::ApplicationModal);
                box.show();
            } else if (row.front == "help") {
                room.window.onHelp();
            } else if (row.front == "theory") {
                room.window.onTheory();
                room.window.theoryWindow()->activateWindow();
                QTRY_COMPARE(QApplication::activeWindow(), room.window.theoryWindow());
            }
            const Lesson& lesson = room.window.lesson();
            const auto state = [&lesson] {
                return std::tuple(lesson.isRunning(), lesson.isPaused(), lesson.trial(),
                                  lesson.rungs().size() + lesson.path().size());
            };
            const auto before = state();
            QTest::keyClick(focus, Qt::Key(keys.at(row.key)));
            QVERIFY2((state() != before) == row.acts, qPrintable(row.focus + row.front + row.key));
            ++checked;
        }
        QCOMPARE(checked, 6 + 3 * 6);
    }

    void theClassPredictsBeforeTheFirstTrial_data() {
        QTest::addColumn<QString>("taps");    // "3+" presses ＋ under column 3, "3-" its −
        QTest::addColumn<QString>("action");  // what the teacher does next, then "3+" again
        QTest::addColumn<QString>("hands");   // the prediction at last, columns 1..10
        QTest::newRow("entered, kept with the first landing") << "3+ 3+ 3+ 3- 5+ 1- 10+"
                                                              << "land"
                                                              << "0 0 2 0 1 0 0 0 0 1";
        QTest::newRow("locked by a step") << "3+ 4+"
                                          << "step"
                                          << "0 0 1 1 0 0 0 0 0 0";
        QTest::newRow("kept through a new rung count") << "3+ 4+"
                                                       << "rungs"
                                                       << "0 0 2 1 0 0 0 0 0 0";
        QTest::newRow("初期化 before a landing keeps it") << "6+ 6+"
                                                          << "initialise"
                                                          << "0 0 1 0 0 2 0 0 0 0";
        QTest::newRow("初期化 after landings clears it") << "6+ 6+"
                                                         << "land, initialise"
                                                         << "0 0 1 0 0 0 0 0 0 0";
    }
    // The teacher's taps change the prediction only before the first trial, leave the keys
    // with the lesson, and the record is given the prediction with the first landing.
    void theClassPredictsBeforeTheFirstTrial() {
        QFETCH(QString, taps);
        QFETCH(QString, action);
        Classroom room;
        room.show();
        const auto tap = [&room](const QString& what) {
            const QString name =
                QString("%1 の列の予想を 1 人%2")
                    .arg(what.chopped(1), what.endsWith('+') ? "ふやす" : "へらす");
            for (QPushButton* button : room.window.surface()->findChildren<QPushButton*>()) {
                if (button->accessibleName() == name && button->isVisible()) {
                    QTest::mouseClick(button, Qt::LeftButton);
                }
            }
        };
        for (const QString& what : taps.split(' ')) {
            tap(what);
        }
        QCOMPARE(QApplication::focusWidget(), room.window.surface());
        const ClassPrediction entered = room.window.lesson().prediction();
        if (action.startsWith("land")) {
            room.key(Qt::Key_Return);
            room.run(20'000);
            QVERIFY(!room.record.predictions.isEmpty());
            QCOMPARE(room.record.predictions.front(), entered);
        }
        room.dialogs.replies = {true};
        if (action == "step") {
            room.key(Qt::Key_Right);
        } else if (action == "rungs") {
            room.window.onRungsChosen(40);
        } else if (action.endsWith("initialise")) {
            room.window.onInitialise();
        }
        tap("3+");
        QStringList hands;
        for (const int raised : room.window.lesson().prediction().hands) {
            hands << QString::number(raised);
        }
        QTEST(hands.join(' '), "hands");
    }

    // Space holds every pixel however long the class thinks; → moves exactly one rung or one
    // step of the path; Ctrl+T shows the theory at the lesson's rung count and start line.
    void theTeacherPacesIt() {
        Classroom room;
        room.show();
        room.key(Qt::Key_Return);
        room.run(700);
        room.key(Qt::Key_Space);
        const QImage paused = room.window.surface()->grab().toImage();
        room.run(10'000);
        QCOMPARE(room.window.surface()->grab().toImage(), paused);
        for (int press = 0; press < 40; ++press) {
            const std::size_t moves =
                room.window.lesson().rungs().size() + room.window.lesson().path().size();
            room.key(Qt::Key_Right);
            const std::size_t after =
                room.window.lesson().rungs().size() + room.window.lesson().path().size();
            QVERIFY(after == moves + 1 || after == moves + 2 || after <= 1);
        }
        room.key(Qt::Key_T, Qt::ControlModifier);
        QVERIFY(room.window.theoryWindow() != nullptr);
        QCOMPARE(room.window.theoryWindow()->model().rungs(), 12);
        QCOMPARE(room.window.theoryWindow()->model().start(), 6);
    }

    // Chimes sound only where the teacher turned them on and the room is not quiet; quiet mode
    // runs at the slowest speed behind a folded panel, and leaving it gives both back. The
    // sound and colours outlast the window; a room without them starts as it always has.
    void theRoomDecidesTheSound() {
        for (const auto& [sound, quiet] : {std::pair{false, false}, {true, false}, {true, true}}) {
            Classroom room;
            QCOMPARE(room.window.findChild<QComboBox*>("pathColours")->currentIndex(), 0);
            QVERIFY(!room.window.findChild<QCheckBox*>()->isChecked());
            room.show();
            room.window.onSoundChosen(sound);
            room.window.onColoursChosen(2);
            room.window.onQuietChosen(quiet);
            QCOMPARE(std::pair(room.window.lesson().speed(),
                               room.window.findChild<QSlider*>()->isVisible()),
                     std::pair(quiet ? kSlowestSpeed : kFastestSpeed, !quiet));
            room.key(Qt::Key_Return);
            room.run(60'000);
            QVERIFY(room.markers() > 0);
            QCOMPARE(room.cues.count("pinpon.wav"), sound && !quiet ? room.markers() : 0);
            QCOMPARE(room.cues.count("endpinpon.wav"),
                     int(sound && room.window.lesson().isFinished()));
            room.window.onQuietChosen(false);
            QCOMPARE(std::pair(room.window.lesson().speed(),
                               room.window.findChild<QSlider*>()->isVisible()),
                     std::pair(kFastestSpeed, true));
            LessonWindow again(room.dialogs, room.options());
            QCOMPARE(again.findChild<QComboBox*>("pathColours")->currentIndex(), 2);
            QCOMPARE(again.findChild<QCheckBox*>()->isChecked(), sound);
        }
    }

    // At a 1024×768 projector with 200 rungs the path's end still shows in a picture shrunk to
    // a quarter, as a block of the path's red no path alone leaves; no note says they crowd.
    void theBackRowSeesThePathsEnd() {
        Classroom room;
        room.window.onRungsChosen(200);
        room.window.resize(1024, 768);
        room.show();
        room.key(Qt::Key_Return);
        while (room.window.lesson().path().size() < 4) {
            room.run(1);
        }
        room.key(Qt::Key_Space);
        const QImage quarter = room.window.surface()->grab().toImage().scaled(
            room.window.surface()->size() / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const auto red = [&quarter](int x, int y) {
            const QColor c = quarter.pixelColor(x, y);
            return c.red() > 200 && c.green() < 50 && c.blue() < 50;
        };
        int blocks = 0;
        for (int y = int(quarter.height() * 0.14); y < quarter.height() / 2; ++y) {
            for (int x = 0; x + 1 < quarter.width(); ++x) {
                blocks += red(x, y) && red(x + 1, y) && red(x, y + 1) && red(x + 1, y + 1);
            }
        }
        QVERIFY(blocks > 0);
        QVERIFY(!room.window.findChild<QLabel*>("crowdedNote")->isVisible());
    }
};

QTEST_MAIN(LessonWindowTest)
#include "tst_lesson_window.moc"
