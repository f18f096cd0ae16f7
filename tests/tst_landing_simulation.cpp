#include <QTest>

#include "engine_fixture.h"

#include <numeric>
#include <thread>

#include "fairness_statistics.h"
#include "landing_law.h"
#include "landing_simulation.h"
#include "rung_sampler.h"
#include "sorted_ladder.h"

using namespace tanabashigo;

class LandingSimulationTest : public QObject {
    Q_OBJECT
private slots:
    void samplerBuildsTheWindowsLadders_data();
    void samplerBuildsTheWindowsLadders();
    void countsAgreeWithTheExactLaw_data();
    void countsAgreeWithTheExactLaw();
    void countsDependOnTheSeedNotTheThreads();
};

void LandingSimulationTest::samplerBuildsTheWindowsLadders_data() {
    QTest::addColumn<int>("rungs");
    QTest::newRow("10 rungs") << 10;
    QTest::newRow("50 rungs") << 50;
    QTest::newRow("100 rungs") << 100;
}

// The window builds its ladders one after another from one seeded source; the sampler, from
// the same seed, must build the same ones, and the one-pass tracer land where the window's does.
void LandingSimulationTest::samplerBuildsTheWindowsLadders() {
    QFETCH(int, rungs);
    const auto seed = static_cast<std::uint32_t>(rungs) * 7919u;
    RandomSource random(seed);
    RungSampler sampler(seed);
    Ladder ladder;
    ladder.setRungCount(rungs);
    int moved = 0;
    for (int n = 0; n < 1000; ++n) {
        ladder.restart();
        completeLadder(ladder, random);
        QCOMPARE(sampler.next(rungs), rungsByHeight(ladder));
        for (int start = 1; start <= kLineCount; ++start) {
            const int column = traceFrom(ladder, start);
            QCOMPARE(SortedLadder(ladder).landingColumn(start), column);
            moved += column != start;
        }
    }
    QVERIFY(moved > 1000);
}

void LandingSimulationTest::countsAgreeWithTheExactLaw_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("start");
    QTest::addColumn<qulonglong>("trials");
    QTest::newRow("no rung, line 5") << 0 << 5 << 1000ull;
    QTest::newRow("10 rungs, line 3") << 10 << 3 << 200'000ull;
    QTest::newRow("50 rungs, line 8") << 50 << 8 << 200'000ull;
    QTest::newRow("100 rungs, line 10") << 100 << 10 << 50'000ull;
}

void LandingSimulationTest::countsAgreeWithTheExactLaw() {
    QFETCH(int, rungs);
    QFETCH(int, start);
    QFETCH(qulonglong, trials);
    const ColumnCounts counts = simulateLandings({rungs, start, trials, 13, 2});
    QCOMPARE(std::accumulate(counts.begin(), counts.end(), std::uint64_t{0}), trials);
    const ChiSquareTest exact = chiSquareTest(counts, exactLandingLaw(rungs, start));
    QVERIFY2(exact.pValue > 1e-3, qPrintable(QString::number(exact.statistic)));
    // The run is large enough to see that the lottery is not fair.
    QVERIFY(chiSquareTest(counts, uniformLaw()).pValue < 1e-6);
}

void LandingSimulationTest::countsDependOnTheSeedNotTheThreads() {
    const std::uint64_t trials = 3 * kTrialsPerBlock + 12'345;  // a part of a fourth block
    const ColumnCounts alone = simulateLandings({20, 4, trials, 2024, 1});
    std::uint64_t reported = 0;
    for (const unsigned threads : {2u, 3u, 8u}) {
        QCOMPARE(simulateLandings({20, 4, trials, 2024, threads},
                                  [&](std::uint64_t done, std::uint64_t) { reported = done; }),
                 alone);
        QCOMPARE(reported, trials);
    }
    QVERIFY(simulateLandings({20, 4, trials, 2025, 2}) != alone);
}

QTEST_APPLESS_MAIN(LandingSimulationTest)
#include "tst_landing_simulation.moc"
