#include <QFile>
#include <QTest>

#include "window_model.h"

using namespace tanabashigo;
using Kind = WindowEvent::Kind;

namespace {

struct Outcome {
    int trials = 0;
    int endingColumn = 0;
    QList<int> tally;
    bool operator==(const Outcome&) const = default;
};

/// Runs a whole experiment of `rungs` at `seed` through the model, advancing the clock by
/// `frameMs` at a time as a browser's frames would.
Outcome runWindow(std::uint32_t seed, int rungs, std::int64_t frameMs) {
    RandomSource random(seed);
    WindowModel model(random);
    model.activate();
    model.rungCountChosen(rungs);
    Outcome outcome;
    std::int64_t now = 0;
    for (const WindowEvent& event : model.start(now)) {
        outcome.trials += event.kind == Kind::Cleared;
    }
    while (outcome.endingColumn == 0) {
        now += frameMs;
        for (auto events = model.advance(now); !events.empty(); events = model.advance(now)) {
            for (const WindowEvent& event : events) {
                outcome.trials += event.kind == Kind::Cleared;
                outcome.endingColumn = event.kind == Kind::Finished ? event.column : 0;
            }
            model.landingKept(now);
        }
    }
    for (int k = 1; k <= kLineCount; ++k) {
        outcome.tally << model.experiment().tally()(k);
    }
    return outcome;
}

/// The time of the first landing when the clock advances by `frameMs`.
std::int64_t firstLanding(std::int64_t frameMs) {
    RandomSource random(1);
    WindowModel model(random);
    model.rungCountChosen(50);
    model.start(0);
    for (std::int64_t now = frameMs;; now += frameMs) {
        for (const WindowEvent& event : model.advance(now)) {
            if (event.kind == Kind::Counted) {
                return now;
            }
        }
    }
}

/// When each trial of a run started and landed, on a clock moved to each tick as it falls due.
struct Timeline {
    QList<std::int64_t> starts;
    QList<std::int64_t> landings;  ///< -1 for a trial the next one cut short
};

Timeline runTimeline(WindowOptions options, int trials) {
    RandomSource random(7);
    WindowModel model(random, options);
    model.rungCountChosen(30);
    Timeline timeline;
    const auto take = [&](const std::vector<WindowEvent>& events, std::int64_t now) {
        for (const WindowEvent& event : events) {
            if (event.kind == Kind::Cleared) {
                if (timeline.landings.size() < timeline.starts.size()) {
                    timeline.landings << -1;
                }
                timeline.starts << now;
            } else if (event.kind == Kind::Counted) {
                QVERIFY(!model.nextDue());  // nothing moves before the landing is kept
                timeline.landings << now;
                model.landingKept(now);
            }
        }
    };
    take(model.start(0), 0);
    while (timeline.starts.size() <= trials) {
        const std::int64_t now = *model.nextDue();
        take(model.advance(now), now);
    }
    return timeline;
}

}  // namespace

class WindowModelTest : public QObject {
    Q_OBJECT
private slots:
    void endsAsTheWindowAlwaysEnded_data() {
        QTest::addColumn<uint>("seed");
        QTest::addColumn<int>("rungs");
        QTest::addColumn<QList<int>>("pinned");
        QFile file(QFINDTESTDATA("data/seeded_experiments.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        while (!file.atEnd()) {
            const QByteArray line = file.readLine().trimmed();
            if (line.isEmpty() || line.startsWith('#')) {
                continue;
            }
            QList<int> fields;
            for (const QByteArray& field : line.split(',')) {
                fields << field.toInt();
            }
            QTest::addRow("seed %d, %d rungs", fields[0], fields[1])
                << uint(fields[0]) << fields[1] << fields.mid(2);
        }
    }

    // The experiment of a seed ends on the same trial with the same tally whatever the frame
    // rate, so the browser shows what the desktop showed.
    void endsAsTheWindowAlwaysEnded() {
        QFETCH(uint, seed);
        QFETCH(int, rungs);
        QFETCH(QList<int>, pinned);
        const Outcome expected{pinned[0], pinned[1], pinned.mid(2)};
        for (const std::int64_t frameMs : {1, 17, 120}) {
            QCOMPARE(runWindow(seed, rungs, frameMs), expected);
        }
    }

    // Frames catch up every tick that is due: a landing shows in the frame that follows its
    // tick, however long the frames are, and a long absence is skipped rather than replayed.
    void ticksKeepTheirRhythm() {
        const std::int64_t exact = firstLanding(1);
        QVERIFY(exact >= (50 + 1 + 1) * 3);  // every rung, the handover and a path tick
        for (const std::int64_t frameMs : {7, 17, 50, 200}) {
            const std::int64_t shown = firstLanding(frameMs);
            QVERIFY2(shown >= exact && shown < exact + frameMs,
                     qPrintable(QString::number(frameMs)));
        }
        RandomSource random(1);
        WindowModel model(random);
        model.rungCountChosen(50);
        model.start(0);
        constexpr std::int64_t kHour = 3'600'000;
        std::size_t applied = 0;
        for (auto events = model.advance(kHour); !events.empty(); events = model.advance(kHour)) {
            applied += events.size();
            model.landingKept(kHour);
        }
        QVERIFY(applied > 0 && applied <= 2 * (WindowModel::kLongestCatchUpMs / 3 + 2));
        QVERIFY(*model.nextDue() > kHour);
    }

    void paceKeepsEveryTrialWhole_data() {
        QTest::addColumn<bool>("paced");
        QTest::addColumn<int>("tickMs");
        QTest::addColumn<bool>("slow");  ///< some trials outlast the 5 s between trials
        QTest::newRow("designed") << false << 3 << false;
        QTest::newRow("slow ticks") << false << 100 << true;
        QTest::newRow("paced, fast ticks") << true << 3 << false;
        QTest::newRow("paced, landing shown too briefly") << true << 90 << true;
        QTest::newRow("paced, trials outlast 5 s") << true << 150 << true;
    }

    // Without the pace a trial starts every 5 s and may cut the one before short. With it, no
    // trial is cut short: the next one starts 5 s after the one before, or 2 s after its
    // landing when that is later.
    void paceKeepsEveryTrialWhole() {
        QFETCH(bool, paced);
        QFETCH(int, tickMs);
        QFETCH(bool, slow);
        const Timeline t = runTimeline({tickMs, paced}, 12);
        bool outlasted = false;
        for (qsizetype n = 0; n + 1 < t.starts.size(); ++n) {
            const std::int64_t rhythm = t.starts[n] + WindowModel::kNextTrialMs;
            const std::int64_t landed = t.landings[n];
            outlasted = outlasted || landed < 0 || landed + TrialPace::kLandingShownMs > rhythm;
            const std::int64_t expected =
                paced ? std::max(rhythm, landed + TrialPace::kLandingShownMs) : rhythm;
            QVERIFY2(landed >= 0 || !paced, qPrintable(QString::number(n)));
            QCOMPARE(t.starts[n + 1], expected);
        }
        QCOMPARE(outlasted, slow);
    }

    // The buttons after each handler, as the window's table has them.
    void buttonsFollowTheWindow() {
        RandomSource random(3);
        WindowModel model(random);
        const auto controls = [&] {
            const WindowControls& c = model.controls();
            return QList<bool>{c.start, c.quit, c.initialise, c.stop, c.help};
        };
        QCOMPARE(controls(), (QList<bool>{true, true, false, true, true}));
        model.activate();
        QCOMPARE(controls(), (QList<bool>{false, false, false, false, true}));
        model.rungCountChosen(10);
        QCOMPARE(controls(), (QList<bool>{true, true, false, false, true}));
        model.start(0);
        QCOMPARE(controls(), (QList<bool>{false, false, false, true, false}));
        model.stop();
        QCOMPARE(controls(), (QList<bool>{true, true, true, false, true}));
        QVERIFY(!model.nextDue());
        model.initialise();
        QCOMPARE(controls(), (QList<bool>{false, true, false, false, true}));
        model.rungCountChosen(10);
        model.start(0);
        for (std::int64_t now = 0; model.nextDue(); now += 1000) {
            model.advance(now);
            model.landingKept(now);
        }
        QCOMPARE(controls(), (QList<bool>{false, true, true, false, true}));
    }
};

QTEST_GUILESS_MAIN(WindowModelTest)
#include "tst_window_model.moc"
