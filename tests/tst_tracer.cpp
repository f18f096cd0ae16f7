#include <QTest>

#include "engine_fixture.h"
#include "ladder_notation.h"
#include "sorted_ladder.h"

using namespace tanabashigo;

class TracerTest : public QObject {
    Q_OBJECT
private slots:
    void tracesHandMadeLadders_data();
    void tracesHandMadeLadders();
};

void TracerTest::tracesHandMadeLadders_data() {
    QTest::addColumn<QString>("ladder");
    QTest::addColumn<QString>("path");  // the points the path visits from the top of line 3
    QTest::addColumn<int>("column");

    QTest::newRow("no rung at all") << ""
                                    << "4,10>4,61" << 3;
    QTest::newRow("no rung on line 3") << "6:11 8:21 2:33 5:40"
                                       << "4,10>4,61" << 3;
    QTest::newRow("one rung right") << "4:21"
                                    << "4,10>4,21>5,21>5,61" << 4;
    QTest::newRow("one rung left") << "3:20"
                                   << "4,10>4,20>3,20>3,61" << 2;
    QTest::newRow("left nearer than right") << "4:21 3:20"
                                            << "4,10>4,20>3,20>3,61" << 2;
    QTest::newRow("candidates out of order") << "4:41 4:21 3:30"
                                             << "4,10>4,21>5,21>5,41>4,41>4,61" << 3;
    QTest::newRow("staircase to the right")
        << "4:11 5:12 6:13 7:14 8:15 9:16 10:17"
        << "4,10>4,11>5,11>5,12>6,12>6,13>7,13>7,14>8,14>8,15>9,15>9,16>10,16>10,17>11,17>11,61"
        << 10;
    QTest::newRow("staircase to the left") << "3:12 2:13"
                                           << "4,10>4,12>3,12>3,13>2,13>2,61" << 1;
    QTest::newRow("rung just above the bottom") << "4:59"
                                                << "4,10>4,59>5,59>5,61" << 4;
}

// The window's tracer draws the path rung by rung; the analysis's one-pass tracer must land
// where it lands, from every start, on the same ladders.
void TracerTest::tracesHandMadeLadders() {
    QFETCH(QString, ladder);
    QFETCH(QString, path);
    QFETCH(int, column);
    const Ladder built = ladderFrom(ladder);
    Tracer tracer;
    QStringList points{QStringLiteral("4,10")};
    TraceTick tick;
    int ticks = 0;
    do {
        tick = tracer.tick(built);
        QCOMPARE(QStringLiteral("%1,%2").arg(tick.down.x1).arg(tick.down.y1), points.last());
        points << QStringLiteral("%1,%2").arg(tick.down.x2).arg(tick.down.y2);
        if (tick.kind == TraceTick::Kind::Moved) {
            QVERIFY(tick.across.x1 < tick.across.x2);  // rungs are drawn left to right
            const int to = tick.across.x1 == tick.down.x2 ? tick.across.x2 : tick.across.x1;
            points << QStringLiteral("%1,%2").arg(to).arg(tick.across.y1);
        }
        QVERIFY(++ticks <= built.rungCount() + 1);
    } while (tick.kind == TraceTick::Kind::Moved);
    QCOMPARE(points.join(QLatin1Char('>')), path);
    QCOMPARE(tick.column, column);
    for (int start = 1; start <= kLineCount; ++start) {
        QCOMPARE(SortedLadder(built).landingColumn(start), traceFrom(built, start));
    }
}

QTEST_APPLESS_MAIN(TracerTest)
#include "tst_tracer.moc"
