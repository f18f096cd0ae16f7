#include <QTest>

#include "engine_fixture.h"
#include "ladder_notation.h"
#include "sorted_ladder.h"

#include <set>
#include <utility>

using namespace tanabashigo;

namespace {

/// The rungs of `ladder` in the test notation.
QString notationOf(const Ladder& ladder) {
    QStringList pairs;
    for (int i = 1; i <= ladder.rungCount(); ++i) {
        pairs << QStringLiteral("%1:%2").arg(ladder.rung(i).gap).arg(ladder.rung(i).height);
    }
    return pairs.join(QLatin1Char(' '));
}

}  // namespace

class EngineTest : public QObject {
    Q_OBJECT
private slots:

    void followsTheRuleDrawByDraw_data() {
        QTest::addColumn<int>("rungs");
        QTest::newRow("10 rungs") << 10;
        QTest::newRow("100 rungs") << 100;
    }

    // The twin draws the same values, and the rule is applied to them here by hand: gap
    // Int(r × 9) + 2, height step Int(r' × 25), a repeat of an earlier rung is drawn again. On
    // each finished ladder the analysis's one-pass tracer lands where the window's tracer does.
    void followsTheRuleDrawByDraw() {
        QFETCH(int, rungs);
        RandomSource random(static_cast<std::uint32_t>(rungs));
        RandomSource twin(static_cast<std::uint32_t>(rungs));
        int rejected = 0;
        for (int n = 0; n < 200; ++n) {
            Ladder ladder;
            ladder.setRungCount(rungs);
            std::set<std::pair<int, int>> placed;
            for (LadderTick tick = ladder.tick(random); tick.kind != LadderTick::Kind::Complete;
                 tick = ladder.tick(random)) {
                const int gap = static_cast<int>(static_cast<double>(twin.next()) * 9) + 2;
                const int step = static_cast<int>(static_cast<double>(twin.next()) * 25);
                const int height = 2 * step + (gap % 2 == 0 ? 11 : 12);
                const bool fresh = placed.insert({gap, height}).second;
                QCOMPARE(tick.label, int(placed.size()) + (fresh ? 0 : 1));
                QCOMPARE(tick.kind, fresh ? LadderTick::Kind::Placed : LadderTick::Kind::Rejected);
                if (fresh) {
                    QCOMPARE(tick.rung, (Segment{gap, height, gap + 1, height}));
                }
                rejected += fresh ? 0 : 1;
            }
            QCOMPARE(int(placed.size()), rungs);
            for (int start = 1; start <= kLineCount; ++start) {
                QCOMPARE(SortedLadder(ladder).landingColumn(start), traceFrom(ladder, start));
            }
        }
        QVERIFY(rejected > 0);
    }

    void aSeedBuildsTheLaddersItAlwaysBuilt_data() {
        QTest::addColumn<uint>("seed");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("1") << 1u << "5:48 4:17 10:23 10:33 3:54 3:58 9:32 9:56 5:22 2:15"
                           << "2:29 8:39 4:35 2:21 10:19 6:37 7:42 5:36 8:11 5:32";
        QTest::newRow("2026") << 2026u << "6:31 2:49 6:43 10:35 5:52 4:21 5:48 7:46 3:12 4:47"
                              << "8:17 4:49 5:58 2:49 4:21 9:30 4:33 7:30 3:60 10:11";
        QTest::newRow("4294967295")
            << 4294967295u << "5:46 5:24 9:56 6:51 5:48 8:27 8:51 3:28 5:40 7:34"
            << "7:24 9:30 5:44 8:39 9:56 2:21 10:11 5:26 3:40 5:52";
    }

    // A class that runs `tanabashigo --seed N` must see the ladders another class saw.
    void aSeedBuildsTheLaddersItAlwaysBuilt() {
        QFETCH(uint, seed);
        QFETCH(QString, first);
        QFETCH(QString, second);
        RandomSource random(seed);
        Ladder ladder;
        ladder.setRungCount(10);
        completeLadder(ladder, random);
        QCOMPARE(notationOf(ladder), first);
        ladder.restart();
        completeLadder(ladder, random);
        QCOMPARE(notationOf(ladder), second);
    }

    void aFrozenClockStillDrawsFreshRungs() {
        ManualClock clock;
        clock.seconds = 45296.25;
        RandomSource random(7, clock);
        Ladder ladder;
        ladder.setRungCount(kMaxRungs);
        int ticks = 0;
        while (ladder.tick(random).kind != LadderTick::Kind::Complete) {
            QVERIFY2(++ticks < 400, "a frozen clock must not make every rung a repeat");
        }
    }

    void tracesHandMadeLadders_data() {
        QTest::addColumn<QString>("ladder");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("path");  // the points the path visits from the top of line 3
        QTest::newRow("no rung at all") << "" << 3 << "4,10>4,61";
        QTest::newRow("no rung on line 3") << "6:11 8:21 2:33 5:40" << 3 << "4,10>4,61";
        QTest::newRow("one rung right") << "4:21" << 4 << "4,10>4,21>5,21>5,61";
        QTest::newRow("one rung left") << "3:20" << 2 << "4,10>4,20>3,20>3,61";
        QTest::newRow("left nearer than right") << "4:21 3:20" << 2 << "4,10>4,20>3,20>3,61";
        QTest::newRow("candidates out of order")
            << "4:41 4:21 3:30" << 3 << "4,10>4,21>5,21>5,41>4,41>4,61";
        QTest::newRow("staircase to the right") << "4:11 5:12 6:13 7:14 8:15 9:16 10:17" << 10
                                                << "4,10>4,11>5,11>5,12>6,12>6,13>7,13>7,14>8,14>8,"
                                                   "15>9,15>9,16>10,16>10,17>11,17>11,61";
        QTest::newRow("staircase to the left")
            << "3:12 2:13" << 1 << "4,10>4,12>3,12>3,13>2,13>2,61";
        QTest::newRow("rung just above the bottom") << "4:59" << 4 << "4,10>4,59>5,59>5,61";
    }

    // The window's tracer draws the path rung by rung; the analysis's one-pass tracer must land
    // where it lands, from every start, on the same ladders.
    void tracesHandMadeLadders() {
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
};

QTEST_APPLESS_MAIN(EngineTest)
#include "tst_engine.moc"
