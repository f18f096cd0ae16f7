#include <QTest>

#include "lesson.h"
#include "lesson_key_table.h"
#include "lesson_keys.h"
#include "lesson_look.h"
#include "sorted_ladder.h"

#include <random>
#include <tuple>

using namespace tanabashigo;
using Kind = LessonEvent::Kind;

namespace {

/// A move of an experiment that is never stopped: what it shows, and its wait in pace units.
struct ScriptedMove {
    LessonEvent event;
    double units = 1;
    double LessonPace::*unit = &LessonPace::rungMs;
};

/// Every move of one experiment, built from the engine's parts without a clock; each landing
/// is checked against the analysis's own tracer. Trial k starts from `line`, from line
/// ((k - 1) mod 10) + 1 in turn, or at random from a line drawn just before its ladder.
std::vector<ScriptedMove> script(std::uint32_t seed, int rungs, int line, StartLineChoice choice) {
    RandomSource random(seed);
    Experiment experiment(random);
    experiment.load();
    experiment.setRungCount(rungs);
    std::vector<ScriptedMove> moves;
    for (int trial = 1; !experiment.isFinished(); ++trial) {
        const int start = choice == StartLineChoice::InTurn     ? (trial - 1) % kLineCount + 1
                          : choice == StartLineChoice::AtRandom ? random.nextBelow(kLineCount) + 1
                                                                : line;
        experiment.setStartLine(start);
        experiment.startTrial();
        moves.push_back({{.kind = Kind::TrialStarted, .trial = trial}, 1, &LessonPace::landingMs});
        for (LadderTick tick = experiment.ladderTick(); tick.kind != LadderTick::Kind::Complete;
             tick = experiment.ladderTick()) {
            if (tick.kind == LadderTick::Kind::Placed) {
                moves.push_back(
                    {{Kind::RungPlaced, 0, trial, tick.label, tick.rung.x1, tick.rung.y1}});
            }
        }
        const int column = SortedLadder(experiment.ladder()).landingColumn(start);
        for (bool landed = false; !landed;) {
            const auto [move, landing, entry] = experiment.traceTick();
            landed = move.kind == TraceTick::Kind::Landed;
            const bool full = landing.kind == Landing::Kind::ColumnWasFull;
            const Kind kind = !landed ? Kind::PathMoved : full ? Kind::Ended : Kind::Landed;
            const int units = move.down.y2 - move.down.y1 + (landed ? 0 : 1);
            const LandingEntry kept =
                landed ? LandingEntry{rungs, start, column, full ? 20 : landing.marker, full}
                       : LandingEntry{};
            moves.push_back({{kind, 0, trial, 0, 0, 0, move.down, move.across, landed ? column : 0,
                              full ? 21 : landing.marker, kept},
                             double(units),
                             &LessonPace::pathUnitMs});
        }
    }
    return moves;
}

/// The lesson as a reference model: it counts the time waited instead of keeping due times.
struct Model {
    std::vector<ScriptedMove> moves;
    std::size_t next = 0;
    bool running = false, paused = false;
    int speed = kDefaultSpeed;
    double waited = 0, now = 0;

    bool finished() const { return next == moves.size(); }
    double wait() const { return moves[next].units * (lessonPace(speed).*moves[next].unit); }
    void pass(double to) {
        waited += running && !paused ? to - now : 0;
        now = to;
    }
    void play(double at, std::vector<LessonEvent>& out) {
        out.push_back(moves[next++].event);
        out.back().atMs = at;
        running = running && !finished();
        paused = paused && running;
    }
    std::vector<LessonEvent> advance(double to) {
        pass(to);
        std::vector<LessonEvent> out;
        if (running && !paused && waited - wait() > Lesson::kMostCatchUpMs) {
            waited = wait();
        }
        while (running && !paused && waited >= wait()) {
            waited -= wait();
            play(now - waited, out);
            if (out.back().kind == Kind::Landed) {
                break;  // as the lesson hands each landing back before what follows it
            }
        }
        return out;
    }
    std::vector<LessonEvent> step(double to) {
        pass(to);
        std::vector<LessonEvent> out;
        if (!finished()) {
            running = paused = true;
            if (moves[next].event.kind == Kind::TrialStarted) {
                play(now, out);
            }
            play(now, out);
            waited = 0;
        }
        return out;
    }
    std::vector<LessonEvent> start(double to) {
        std::vector<LessonEvent> out;
        if (paused) {
            togglePause(to);
        } else if (pass(to), !running && !finished()) {
            running = true;
            play(now, out);
            waited = 0;
        }
        return out;
    }
    /// Freezes or thaws the wait, never past its end.
    void togglePause(double to) {
        pass(to);
        waited = std::min(waited, finished() ? 0 : wait());
        paused = running && !paused;
    }
};

}  // namespace

class LessonTest : public QObject {
    Q_OBJECT
private slots:
    void followsTheModelThroughPausesStepsAndSpeeds_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("choice");  // a StartLineChoice
        for (const auto& [rungs, start, choice] : {std::tuple{0, 1, 0},
                                                   {1, 10, 0},
                                                   {10, 3, 0},
                                                   {50, 7, 0},
                                                   {225, 5, 0},
                                                   {0, 3, 1},
                                                   {30, 9, 1},
                                                   {0, 3, 2},
                                                   {40, 8, 2}}) {
            QTest::addRow("%d rungs from %d, choice %d", rungs, start, choice)
                << rungs << start << choice;
        }
    }

    void followsTheModelThroughPausesStepsAndSpeeds() {
        QFETCH(int, rungs);
        QFETCH(int, start);
        QFETCH(int, choice);
        const auto seed = static_cast<std::uint32_t>(rungs * 10 + start);
        Model model{script(seed, rungs, start, StartLineChoice(choice))};
        Lesson lesson(seed);
        lesson.setRungCount(rungs);
        lesson.setStartLine(start);
        lesson.setStartLineChoice(StartLineChoice(choice));
        std::mt19937 ops(seed);
        std::vector<Rung> placed;
        std::vector<Segment> path;
        std::vector<int> counts(kLineCount);
        int trial = 0;
        double now = 0;
        for (int i = 0; i < 20000 && !model.finished(); ++i) {
            const int op = static_cast<int>(ops() % 100);
            now += op < 2 ? 3.6e6 : op < 6 ? 4000 : ops() % 40;
            std::vector<LessonEvent> expected, actual;
            if (op < 80) {
                expected = model.advance(now), actual = lesson.advance(now);
            } else if (op < 85) {
                expected = model.step(now), actual = lesson.step(now);
            } else if (op < 90) {
                expected = model.start(now), actual = lesson.start(now);
            } else if (op < 95) {
                lesson.isPaused() ? lesson.resume(now) : lesson.pause(now);
                model.togglePause(now);
            } else {
                model.pass(now);
                model.speed = kSlowestSpeed + static_cast<int>(ops() % kFastestSpeed);
                lesson.setSpeed(model.speed);
            }
            QCOMPARE(actual, expected);
            for (const LessonEvent& e : actual) {
                trial = e.trial;
                placed = e.kind == Kind::TrialStarted ? std::vector<Rung>{} : placed;
                path = e.kind == Kind::TrialStarted ? std::vector<Segment>{} : path;
                if (e.kind == Kind::RungPlaced) {
                    placed.push_back({e.gap, e.height});
                } else if (e.kind != Kind::TrialStarted) {
                    path.push_back(e.down);
                    if (e.kind == Kind::PathMoved) {
                        path.push_back(e.across);
                    } else if (e.kind == Kind::Landed) {
                        counts[e.column - 1] = e.count;
                    }
                }
            }
            QCOMPARE(lesson.rungs(), placed);
            QCOMPARE(lesson.path(), path);
            QCOMPARE(lesson.counts(), counts);
            QCOMPARE(lesson.trial(), trial);
            QCOMPARE(lesson.isPaused(), model.paused);
            const bool due = model.running && !model.paused;
            QCOMPARE(lesson.nextDueMs(),
                     due ? now - model.waited + model.wait() : Lesson::kNothingDue);
        }
        QCOMPARE(lesson.isFinished(), model.finished());
        QCOMPARE(lesson.endColumn(), model.finished() ? model.moves.back().event.column : 0);
    }

    // The time between trial starts on the lesson's own clock is what the texts say.
    void trialsTakeTheirMeanTime() {
        for (const auto& [speed, rungs] : {std::pair{1, 0}, {2, 200}, {2, 30}, {3, 225}, {5, 10}}) {
            double took = 0, trials = 0, lastStart = 0;
            for (std::uint32_t seed = 1; trials < 400; ++seed) {
                Lesson lesson(seed);
                lesson.setSpeed(speed), lesson.setRungCount(rungs);
                lesson.setStartLine(int(seed % 10) + 1), lesson.start(0);
                while (!lesson.isFinished()) {
                    for (const LessonEvent& e : lesson.advance(lesson.nextDueMs())) {
                        lastStart = e.kind == Kind::TrialStarted ? e.atMs : lastStart;
                    }
                }
                took += lastStart, trials += lesson.trial() - 1;
            }
            QVERIFY2(std::abs(took / trials / meanTrialMs(speed, rungs) - 1) < 0.02,
                     qPrintable(QString::number(took / trials)));
        }
    }

    // The path narrows only where the rungs crowd, its end disc stays wider than it, and the
    // note comes past the rungs the ladder shows apart. Units are those of a 1024×768 window,
    // a small window's, and a phone's.
    void pathKeepsTheNextRungInView() {
        for (const auto& [unitPx, lineWidth, rungs, width, crowded] :
             std::initializer_list<std::tuple<double, double, int, double, bool>>{
                 {5.37, 4, 50, 8, false},
                 {5.37, 4, 200, 4.0825, false},
                 {5.37, 4, 225, 4, true},
                 {3.5, 3, 175, 3, false},
                 {2, 3, 101, 3, true}}) {
            const PathLook look = pathLook(unitPx, lineWidth, rungs);
            const std::string note = crowdedRungsNote(rungs, look.legibleRungs);
            QCOMPARE(look.pathWidth, width);
            QVERIFY(look.endDiameter >= 3 * look.pathWidth);
            QCOMPARE(note.find(std::to_string(look.legibleRungs)) != std::string::npos, crowded);
        }
        // The disc trails the end that moves, whichever way round a step across is stored.
        const Segment down{4, 10, 4, 20}, right{4, 20, 5, 20}, left{3, 20, 4, 20};
        for (const auto& [path, x, y, backX, backY] :
             std::initializer_list<std::tuple<std::vector<Segment>, int, int, double, double>>{
                 {{down}, 4, 20, 0, -1},
                 {{down, right}, 5, 20, -1, 0},
                 {{down, left, {3, 20, 3, 30}}, 3, 30, 0, -1}}) {
            const PathEnd end = pathEnd(path);
            QCOMPARE(std::tuple(end.x, end.y, end.backX, end.backY),
                     std::tuple(x, y, backX, backY));
        }
    }

    // Each choice keeps graphics contrast against the black rungs and both backgrounds in
    // every vision, but today's red in three places. The figures anchor the sums (WCAG's white
    // on black, the 3.3:1 a protanope sees between the red path and black
    // rungs) and name those three.
    void coloursStandApartInEveryVision() {
        constexpr Colour kBlack{}, kWhite{0xFF, 0xFF, 0xFF};
        using V = Vision;
        for (const auto& [a, b, vision, ratio] :
             std::initializer_list<std::tuple<Colour, Colour, Vision, double>>{
                 {kWhite, kBlack, V::Normal, 21.0},
                 {{0xFF, 0, 0}, kBlack, V::Protanopia, 3.29},
                 {{0xFF, 0, 0}, kPageBackground, V::Deuteranopia, 2.90},
                 {{0xFF, 0x30, 0x30}, kPageBackground, V::Deuteranopia, 2.73},
                 {{0xE0, 0, 0}, kBlack, V::Protanopia, 2.70}}) {
            QVERIFY(std::abs(contrastRatio(a, b, vision) - ratio) < 0.01);
        }
        std::vector<int> falls;
        for (const PathColours& choice : kPathColours) {
            falls.push_back(0);
            for (const Colour colour : {choice.path, choice.pagePath, choice.marker}) {
                for (const Colour against : {kBlack, kWindowBackground, kPageBackground}) {
                    for (const Vision vision : {V::Normal, V::Protanopia, V::Deuteranopia}) {
                        falls.back() += contrastRatio(colour, against, vision) < kGraphicsContrast;
                    }
                }
            }
        }
        QCOMPARE(falls, (std::vector<int>{3, 0, 0}));
    }

    // The one table both editions' keys follow.
    void keysGoToTheLessonByFocusAndFront() {
        const QStringList focuses{"none", "button", "spinbox", "textfield", "slider", "choice"};
        const QStringList keys{"enter", "space", "right"};
        QCOMPARE(lessonKeyTable().size(), 63);
        for (const LessonKeyRow& row : lessonKeyTable()) {
            QCOMPARE(keyGoesToLesson(LessonKey(keys.indexOf(row.key)),
                                     FocusKind(focuses.indexOf(row.focus)), row.front != "none"),
                     row.acts);
        }
    }
};

QTEST_GUILESS_MAIN(LessonTest)
#include "tst_lesson.moc"
