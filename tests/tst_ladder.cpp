#include <QTest>

#include "engine_fixture.h"

#include <set>
#include <utility>

#include "experiment.h"
#include "ladder.h"

using namespace tanabashigo;

class LadderTest : public QObject {
    Q_OBJECT
private slots:
    void buildsLaddersByTheRules_data();
    void buildsLaddersByTheRules();
    void clockReseedsStillDrawFreshRungs();
    void sameSeedAndClockBuildTheSameLadder();
    void experimentResetsAndCounts();
};

void LadderTest::buildsLaddersByTheRules_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("ladders");
    QTest::newRow("10 rungs") << 10 << 400;
    QTest::newRow("30 rungs") << 30 << 200;
    QTest::newRow("50 rungs") << 50 << 200;
}

void LadderTest::buildsLaddersByTheRules() {
    QFETCH(int, rungs);
    QFETCH(int, ladders);
    // The twin draws the same values; the rule is applied to them here by hand.
    RandomSource random(static_cast<std::uint32_t>(rungs));
    RandomSource twin(static_cast<std::uint32_t>(rungs));
    int rejectedOverall = 0;
    for (int n = 0; n < ladders; ++n) {
        Ladder ladder;
        ladder.setRungCount(rungs);
        std::set<std::pair<int, int>> placed;
        int label = 1;
        for (LadderTick tick = ladder.tick(random); tick.kind != LadderTick::Kind::Complete;
             tick = ladder.tick(random)) {
            const int gap = static_cast<int>(static_cast<double>(twin.next()) * 9) + 2;
            const int step = static_cast<int>(static_cast<double>(twin.next()) * 25);
            const int height = 2 * step + (gap % 2 == 0 ? 11 : 12);
            const bool fresh = placed.insert({gap, height}).second;
            QCOMPARE(tick.label, label);
            QCOMPARE(tick.kind, fresh ? LadderTick::Kind::Placed : LadderTick::Kind::Rejected);
            if (fresh) {
                QCOMPARE(tick.rung, (Segment{gap, height, gap + 1, height}));
                QCOMPARE(ladder.rung(label), (Rung{gap, height}));
                ++label;
            }
            rejectedOverall += fresh ? 0 : 1;
        }
        QCOMPARE(int(placed.size()), rungs);
        QCOMPARE(ladder.rungNo(), rungs + 1);
    }
    // Among 225 slots, ladders of this many rungs repeat a slot now and then.
    QVERIFY(rejectedOverall > 0);
}

void LadderTest::clockReseedsStillDrawFreshRungs() {
    ManualClock clock;
    clock.seconds = 45296.25;  // the clock does not move during the whole ladder
    RandomSource random(7, clock);
    Ladder ladder;
    ladder.setRungCount(kMaxRungs);
    int ticks = 0;
    while (ladder.tick(random).kind != LadderTick::Kind::Complete) {
        QVERIFY2(++ticks < 400, "a frozen clock must not make every rung a duplicate");
    }
}

void LadderTest::sameSeedAndClockBuildTheSameLadder() {
    ManualClock clockA;
    ManualClock clockB;
    RandomSource a(99, clockA);
    RandomSource b(99, clockB);
    Ladder first;
    Ladder second;
    first.setRungCount(40);
    second.setRungCount(40);
    for (int t = 0; t < 200; ++t) {
        clockA.seconds = clockB.seconds = 100.0 + t * 0.003;
        QCOMPARE(first.tick(a), second.tick(b));
    }
    for (int i = 1; i <= 40; ++i) {
        QCOMPARE(first.rung(i), second.rung(i));
    }
}

void LadderTest::experimentResetsAndCounts() {
    RandomSource random(11);
    Experiment experiment(random);
    experiment.load();
    experiment.setRungCount(10);
    for (int trial = 1; trial <= 3; ++trial) {
        experiment.startTrial();
        QCOMPARE(int(experiment.ladder().rungNo()), 1);
        QCOMPARE(int(experiment.tracer().TracerX), 4);
        QCOMPARE(int(experiment.tracer().TracerY), kTopY);
        while (experiment.ladderTick().kind != LadderTick::Kind::Complete) {
        }
        Experiment::TraceStep step;
        do {
            step = experiment.traceTick();
        } while (step.move.kind == TraceTick::Kind::Moved);
        QCOMPARE(step.landing.kind, Landing::Kind::Counted);
        QCOMPARE(experiment.tally().total(), trial);
        QCOMPARE(step.landing.marker, experiment.tally()(step.move.column));
    }
    experiment.initialise();
    QCOMPARE(experiment.tally().total(), 0);
    for (int i = 1; i <= 10; ++i) {
        QCOMPARE(experiment.ladder().rung(i), Rung{});
    }
}

QTEST_APPLESS_MAIN(LadderTest)
#include "tst_ladder.moc"
