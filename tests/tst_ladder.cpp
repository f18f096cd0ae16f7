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
    void clearRungsZeroesOnlyTheRungsInUse();
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
    RandomSource random(static_cast<std::uint32_t>(rungs));
    int rejectedOverall = 0;
    for (int n = 0; n < ladders; ++n) {
        Ladder ladder;
        ladder.RungCount = static_cast<Int16>(rungs);
        std::set<std::pair<int, int>> placed;
        int ticks = 0;
        int rejected = 0;
        int lastLabel = 0;
        for (;;) {
            const int before = ladder.RungNo;
            const LadderTick tick = ladder.tick(random);
            ++ticks;
            if (tick.kind == LadderTick::Kind::Complete) {
                break;
            }
            QCOMPARE(tick.label, before);
            QVERIFY(tick.label == lastLabel || tick.label == lastLabel + 1);
            lastLabel = tick.label;
            const int gap = ladder.RungLeft[before];
            const int height = ladder.heightOf(before);
            QVERIFY(gap >= 2 && gap <= 10);
            QVERIFY(height > kTopY && height < kBottomY);
            QCOMPARE(height % 2 != 0, gap % 2 == 0);
            const bool fresh = placed.insert({gap, height}).second;
            if (tick.kind == LadderTick::Kind::Rejected) {
                QVERIFY(!fresh);
                QCOMPARE(int(ladder.RungNo), before);
                ++rejected;
            } else {
                QVERIFY(fresh);
                QCOMPARE(int(ladder.RungNo), before + 1);
                QCOMPARE(tick.rung, (Segment{gap, height, gap + 1, height}));
            }
        }
        QCOMPARE(int(placed.size()), rungs);
        QCOMPARE(ticks, rungs + 1 + rejected);
        QCOMPARE(ladder.tick(random).kind, LadderTick::Kind::Complete);
        rejectedOverall += rejected;
    }
    // Among 225 slots, ladders of this many rungs repeat a slot now and then.
    QVERIFY(rejectedOverall > 0);
}

void LadderTest::clockReseedsStillDrawFreshRungs() {
    ManualClock clock;
    clock.seconds = 45296.25;  // the clock does not move during the whole ladder
    RandomSource random(7, clock);
    Ladder ladder;
    ladder.RungCount = kMaxRungs;
    int ticks = 0;
    while (ladder.tick(random).kind != LadderTick::Kind::Complete) {
        QVERIFY2(++ticks < 400, "a frozen clock must not make every rung a duplicate");
    }
}

void LadderTest::clearRungsZeroesOnlyTheRungsInUse() {
    RandomSource random(3);
    Ladder ladder;
    ladder.RungCount = 20;
    while (ladder.tick(random).kind != LadderTick::Kind::Complete) {
    }
    ladder.RungLeft[21] = 5;
    ladder.clearRungs();
    for (int i = 1; i <= 20; ++i) {
        QCOMPARE(ladder.RungLeft[i] | ladder.RungYEven[i] | ladder.RungYOdd[i], 0);
    }
    QCOMPARE(int(ladder.RungLeft[21]), 5);
}

void LadderTest::sameSeedAndClockBuildTheSameLadder() {
    ManualClock clockA;
    ManualClock clockB;
    RandomSource a(99, clockA);
    RandomSource b(99, clockB);
    Ladder first;
    Ladder second;
    first.RungCount = second.RungCount = 40;
    for (int t = 0; t < 200; ++t) {
        clockA.seconds = clockB.seconds = 100.0 + t * 0.003;
        QCOMPARE(first.tick(a), second.tick(b));
    }
    QCOMPARE(first.RungLeft, second.RungLeft);
}

void LadderTest::experimentResetsAndCounts() {
    RandomSource random(11);
    Experiment experiment(random);
    experiment.load();
    experiment.setRungCount(10);
    for (int trial = 1; trial <= 3; ++trial) {
        experiment.startTrial();
        QCOMPARE(int(experiment.ladder().RungNo), 1);
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
        QCOMPARE(int(experiment.ladder().RungLeft[i]), 0);
    }
}

QTEST_APPLESS_MAIN(LadderTest)
#include "tst_ladder.moc"
