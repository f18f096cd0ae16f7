#include <QTest>

#include "engine_fixture.h"
#include "ladder_notation.h"
#include "sorted_ladder.h"
#include "tally.h"
#include "tracer.h"

using namespace tanabashigo;

namespace {

/// The points a path visits, written "x,y>x,y>...", from the segments a tracer draws.
QString pathOf(const QList<Segment>& segments) {
    QStringList points;
    for (const Segment& s : segments) {
        const QString from = QStringLiteral("%1,%2").arg(s.x1).arg(s.y1);
        const QString to = QStringLiteral("%1,%2").arg(s.x2).arg(s.y2);
        if (points.isEmpty() || points.last() != from) {
            points << from;
        }
        points << to;
    }
    return points.join(QLatin1Char('>'));
}

}  // namespace

class TracerTest : public QObject {
    Q_OBJECT
private slots:
    void tracesHandMadeLadders_data();
    void tracesHandMadeLadders();
    void everyPathEndsAtTheBottomWithinRungCountPlusOneTicks();
    void tallyFillsAColumnAndRefusesTheTwentyFirst();
    void otherColumnsCountWhileNoneOverflows();
};

void TracerTest::tracesHandMadeLadders_data() {
    QTest::addColumn<QString>("ladder");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("column");

    QTest::newRow("no rung at all") << ""
                                    << "4,10>4,61" << 3;
    QTest::newRow("no rung on line 3") << "6:11 8:21 2:33 5:40"
                                       << "4,10>4,61" << 3;
    QTest::newRow("one rung right") << "4:21"
                                    << "4,10>4,21>5,21>5,61" << 4;
    QTest::newRow("one rung left") << "3:20"
                                   << "4,10>4,20>3,20>3,61" << 2;
    QTest::newRow("right nearer than left") << "3:30 4:21"
                                            << "4,10>4,21>5,21>5,61" << 4;
    QTest::newRow("left nearer than right") << "4:21 3:20"
                                            << "4,10>4,20>3,20>3,61" << 2;
    QTest::newRow("candidates out of order") << "4:41 4:21 3:30"
                                             << "4,10>4,21>5,21>5,41>4,41>4,61" << 3;
    QTest::newRow("staircase to the right") << "4:11 5:12 6:13 7:14 8:15 9:16 10:17"
                                            << "4,10>4,11>5,11>5,12>6,12>6,13>7,13>7,14>"
                                               "8,14>8,15>9,15>9,16>10,16>10,17>11,17>11,61"
                                            << 10;
    QTest::newRow("staircase to the left") << "3:12 2:13"
                                           << "4,10>4,12>3,12>3,13>2,13>2,61" << 1;
    QTest::newRow("rung just above the bottom") << "4:59"
                                                << "4,10>4,59>5,59>5,61" << 4;
    QTest::newRow("rung just below the top") << "3:12"
                                             << "4,10>4,12>3,12>3,61" << 2;
}

void TracerTest::tracesHandMadeLadders() {
    QFETCH(QString, ladder);
    QFETCH(QString, path);
    QFETCH(int, column);

    const Ladder built = ladderFrom(ladder);
    Tracer tracer;
    QList<Segment> drawn;
    TraceTick tick;
    int ticks = 0;
    do {
        tick = tracer.tick(built);
        drawn << tick.down;
        if (tick.kind == TraceTick::Kind::Moved) {
            // The rung is drawn from its left end to its right end.
            QVERIFY(tick.across.x1 < tick.across.x2);
            drawn << (tick.across.x1 == tick.down.x2 ? tick.across
                                                     : Segment{tick.across.x2, tick.across.y2,
                                                               tick.across.x1, tick.across.y1});
        }
        QVERIFY(++ticks <= built.rungCount() + 1);
    } while (tick.kind == TraceTick::Kind::Moved);

    QCOMPARE(pathOf(drawn), path);
    QCOMPARE(tick.column, column);
    QCOMPARE(tick.down.y2, kBottomY);
    // The analysis's one-pass tracer reads the same ladder, from every start.
    for (int start = 1; start <= kLineCount; ++start) {
        QCOMPARE(SortedLadder(built).landingColumn(start), traceFrom(built, start));
    }
}

void TracerTest::everyPathEndsAtTheBottomWithinRungCountPlusOneTicks() {
    RandomSource random(2024);
    for (int trial = 0; trial < 300; ++trial) {
        Ladder ladder;
        ladder.setRungCount(kMinRungs + trial % (kMaxRungs - kMinRungs + 1));
        while (ladder.tick(random).kind != LadderTick::Kind::Complete) {
        }
        Tracer tracer;
        int ticks = 0;
        int lastY = kTopY;
        TraceTick tick;
        do {
            tick = tracer.tick(ladder);
            ++ticks;
            QVERIFY(tick.down.y2 > lastY);
            lastY = tick.down.y2;
            QVERIFY(tracer.TracerX >= lineX(1) && tracer.TracerX <= lineX(kLineCount));
            for (int i = 1; i <= ladder.rungCount(); ++i) {
                QCOMPARE(tracer.CandY[i], Tracer::kEmpty);
            }
        } while (tick.kind == TraceTick::Kind::Moved);
        QVERIFY(ticks <= ladder.rungCount() + 1);
        QCOMPARE(tick.down.y2, kBottomY);
        QVERIFY(tick.column >= 1 && tick.column <= kLineCount);
    }
}

void TracerTest::tallyFillsAColumnAndRefusesTheTwentyFirst() {
    Tally tally;
    for (int i = 1; i <= Tally::kColumnCapacity; ++i) {
        QCOMPARE(tally.record(7), (Landing{Landing::Kind::Counted, 7, i}));
    }
    QCOMPARE(tally.record(7), (Landing{Landing::Kind::ColumnWasFull, 7, 0}));
    QCOMPARE(tally(7), Tally::kColumnCapacity);
    QCOMPARE(tally.total(), Tally::kColumnCapacity);
    tally.clear();
    QCOMPARE(tally.total(), 0);
    QCOMPARE(tally.record(7).marker, 1);
}

void TracerTest::otherColumnsCountWhileNoneOverflows() {
    Tally tally;
    for (int i = 0; i < Tally::kColumnCapacity; ++i) {
        tally.record(1);
    }
    for (int column = 2; column <= kLineCount; ++column) {
        for (int i = 1; i <= Tally::kColumnCapacity; ++i) {
            QCOMPARE(tally.record(column).kind, Landing::Kind::Counted);
        }
    }
    QCOMPARE(tally.total(), kLineCount * Tally::kColumnCapacity);
    QCOMPARE(tally.record(10).kind, Landing::Kind::ColumnWasFull);
}

QTEST_APPLESS_MAIN(TracerTest)
#include "tst_tracer.moc"
